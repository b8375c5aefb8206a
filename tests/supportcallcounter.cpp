#include "supportcallcounter.h"

#include <TavixQtBase/supportinfo.h>

#include <tavix/TavixVersion.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

SupportCallCounts& supportCallCounts()
{
    static SupportCallCounts counts;
    return counts;
}

template <typename Function> static Function nextDefinition(const char* name)
{
    void* symbol = dlsym(RTLD_NEXT, name);
    if (!symbol) {
        std::fprintf(stderr, "cannot find the real %s: %s\n", name, dlerror());
        std::abort();
    }
    return reinterpret_cast<Function>(symbol);
}

// The executable is built with hidden visibility; these must be visible to the dynamic linker.
#define INTERPOSED __attribute__((visibility("default")))

extern "C" INTERPOSED void GetTavixVersion(uint32_t* major, uint32_t* minor, uint32_t* subminor, uint32_t* build)
{
    using Function = void (*)(uint32_t*, uint32_t*, uint32_t*, uint32_t*);
    static const Function real = nextDefinition<Function>("GetTavixVersion");
    ++supportCallCounts().tavixVersion;
    real(major, minor, subminor, build);
}

extern "C" INTERPOSED const char* GetTavixVersionString()
{
    using Function = const char* (*)();
    static const Function real = nextDefinition<Function>("GetTavixVersionString");
    ++supportCallCounts().tavixVersionString;
    return real();
}

namespace Baselibs {

bool GetOsName(std::string& osName)
{
    using Function = bool (*)(std::string&);
    // The Itanium C++ ABI name of Baselibs::GetOsName(std::string&).
    static const Function real
        = nextDefinition<Function>("_ZN8Baselibs9GetOsNameERNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");
    ++supportCallCounts().osName;
    return real(osName);
}

} // namespace Baselibs
