// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_SUPPORTCALLCOUNTER_H
#define TAVIXQTBASE_SUPPORTCALLCOUNTER_H

// Counts the library's calls into the SDK and into Baselibs::GetOsName. The
// program that links supportcallcounter.cpp defines these functions itself;
// the dynamic linker binds the library's calls to those definitions, which
// count and then forward to the real functions.

#include <atomic>

struct SupportCallCounts
{
    std::atomic<int> tavixVersion { 0 };
    std::atomic<int> tavixVersionString { 0 };
    std::atomic<int> osName { 0 };

    void reset() { tavixVersion = tavixVersionString = osName = 0; }
};

SupportCallCounts& supportCallCounts();

#endif
