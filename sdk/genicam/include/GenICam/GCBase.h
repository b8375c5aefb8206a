// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Base types of the GenICam library: strings and the exception class.
#ifndef GENICAM_GCBASE_H
#define GENICAM_GCBASE_H

#include <GenICam/GCString.h>
#include <GenICam/GCException.h>

#endif
