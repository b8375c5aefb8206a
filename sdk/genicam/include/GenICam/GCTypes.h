// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef GENICAM_GCTYPES_H
#define GENICAM_GCTYPES_H

#if defined(GENICAM_BUILDING_GCBASE)
#define GCBASE_API __attribute__((visibility("default")))
#else
#define GCBASE_API
#endif

#define GENICAM_NAMESPACE GenICam_3_0_Velnor_tavix_v5_0

namespace GenICam_3_0_Velnor_tavix_v5_0 {
}
namespace GenICam = GenICam_3_0_Velnor_tavix_v5_0;

#endif
