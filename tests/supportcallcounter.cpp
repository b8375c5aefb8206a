// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "supportcallcounter.h"

#include <TavixQtBase/supportinfo.h>

#include <tavix/TavixVersion.h>

#include <dlfcn.h>

#include <cstdlib>

SupportCallCounts& supportCallCounts()
{
    static SupportCallCounts counts;
    return counts;
}

// The definition that this program's own one hides; aborts when there is none.
template <typename Function> static Function next(const char* name, Function)
{
    void* symbol = dlsym(RTLD_NEXT, name);
    return symbol ? reinterpret_cast<Function>(symbol) : (std::abort(), nullptr);
}

// The executable is built with hidden visibility; these must be visible to the dynamic linker.
#define INTERPOSED __attribute__((visibility("default")))

extern "C" INTERPOSED void GetTavixVersion(uint32_t* major, uint32_t* minor, uint32_t* subminor, uint32_t* build)
{
    static const auto real = next("GetTavixVersion", &GetTavixVersion);
    ++supportCallCounts().tavixVersion;
    real(major, minor, subminor, build);
}

extern "C" INTERPOSED const char* GetTavixVersionString()
{
    static const auto real = next("GetTavixVersionString", &GetTavixVersionString);
    ++supportCallCounts().tavixVersionString;
    return real();
}

// The Itanium C++ ABI name of Baselibs::GetOsName(std::string&).
INTERPOSED bool Baselibs::GetOsName(std::string& osName)
{
    static const auto real
        = next("_ZN8Baselibs9GetOsNameERNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE", &Baselibs::GetOsName);
    ++supportCallCounts().osName;
    return real(osName);
}
