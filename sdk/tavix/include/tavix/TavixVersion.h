// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIX_TAVIXVERSION_H
#define TAVIX_TAVIXVERSION_H

#include <tavix/TavixBase.h>

#include <stdint.h>

extern "C" {

/** Stores the SDK's major, minor, subminor and build numbers; null pointers are skipped. */
TAVIXBASE_API void GetTavixVersion(uint32_t* major, uint32_t* minor, uint32_t* subminor, uint32_t* build);

/** The SDK's full version, "major.minor.subminor.build"; static storage, never null. */
TAVIXBASE_API const char* GetTavixVersionString();
}

#endif
