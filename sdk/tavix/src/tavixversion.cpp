// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <tavix/TavixVersion.h>

namespace {
constexpr uint32_t versionMajor = 5;
constexpr uint32_t versionMinor = 0;
constexpr uint32_t versionSubminor = 1;
constexpr uint32_t versionBuild = 1234;
constexpr const char versionString[] = "5.0.1.1234";

void store(uint32_t* target, uint32_t value)
{
    if (target) {
        *target = value;
    }
}
} // namespace

extern "C" void GetTavixVersion(uint32_t* major, uint32_t* minor, uint32_t* subminor, uint32_t* build)
{
    store(major, versionMajor);
    store(minor, versionMinor);
    store(subminor, versionSubminor);
    store(build, versionBuild);
}

extern "C" const char* GetTavixVersionString()
{
    return versionString;
}
