// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_TESTS_FAKECLOCK_H
#define TAVIXQTBASE_TESTS_FAKECLOCK_H

#include <QtGlobal>

#include <atomic>
#include <cmath>

// A test that links fakeclock.cpp owns the wall clock: its clock_gettime() takes
// precedence over the C library's for the whole process, the library's
// StopWatch::gettime() included. Only CLOCK_REALTIME is faked, and only while a
// FakeClock exists; every other clock (QtTest and QTimer use CLOCK_MONOTONIC) is
// the real one. This keeps the library free of test hooks and checks that it
// really reads CLOCK_REALTIME.
extern std::atomic<bool> g_fakeClockActive;
extern std::atomic<qint64> g_fakeNanoseconds;
constexpr qint64 NanosecondsPerSecond = 1000000000;
// A realistic wall-clock time.
constexpr qint64 FakeEpochSeconds = 1700000000;

// Sets the wall clock while it lives; time stands still unless advanced.
struct FakeClock
{
    explicit FakeClock(qint64 startSeconds = FakeEpochSeconds)
        : now(double(startSeconds))
    {
        g_fakeNanoseconds = startSeconds * NanosecondsPerSecond;
        g_fakeClockActive = true;
    }
    ~FakeClock() { g_fakeClockActive = false; }
    Q_DISABLE_COPY_MOVE(FakeClock)
    void advance(double seconds) { g_fakeNanoseconds += std::llround(seconds * 1e9), now += seconds; }
    double now; // exact while every step lies on a binary grid such as 1/512 s
};

#endif
