// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIX_TAVIXBASE_H
#define TAVIX_TAVIXBASE_H

#include <GenICam/GCBase.h>

#if defined(TAVIX_BUILDING_BASE)
#define TAVIXBASE_API __attribute__((visibility("default")))
#else
#define TAVIXBASE_API
#endif

namespace Tavix {
using GenICam::gcstring;
using GenICam::GenericException;
} // namespace Tavix

#endif
