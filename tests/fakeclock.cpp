// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "fakeclock.h"

#include <dlfcn.h>
#include <time.h>

std::atomic<bool> g_fakeClockActive { false };
std::atomic<qint64> g_fakeNanoseconds { 0 };

namespace {
// With a 64-bit time_t on a 32-bit system, <time.h> binds clock_gettime() to
// the C library's 64-bit entry point: the definition below replaces that one.
#ifdef __USE_TIME_BITS64
constexpr char RealClockGettime[] = "__clock_gettime64";
#else
constexpr char RealClockGettime[] = "clock_gettime";
#endif
} // namespace

// Default visibility: the project hides symbols, and a hidden definition would
// not be found by the library.
extern "C" Q_DECL_EXPORT int clock_gettime(clockid_t clockId, timespec* now) noexcept
{
    if (clockId == CLOCK_REALTIME && g_fakeClockActive.load()) {
        const qint64 nanoseconds = g_fakeNanoseconds.load();
        now->tv_sec = time_t(nanoseconds / NanosecondsPerSecond);
        now->tv_nsec = long(nanoseconds % NanosecondsPerSecond);
        return 0;
    }
    static const auto real = reinterpret_cast<int (*)(clockid_t, timespec*)>(dlsym(RTLD_NEXT, RealClockGettime));
    return real(clockId, now);
}
