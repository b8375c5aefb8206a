// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/fpsstatistic.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>

// One thread feeds a statistic as fast as a window of three samples still spans
// enough time for a result (see FpsStatistic::MinimumSpan), on the real clock, while
// another one reads, cuts and resets it; run under ThreadSanitizer as well,
// where any access outside the statistic's lock is reported.
//
// A plain program with std::thread rather than a QtTest one: QtTest's watchdog
// thread and QThread synchronise inside the uninstrumented Qt library, which
// ThreadSanitizer reports as races of their own at random.

namespace {

// The number of reads that gave a result, or -1 after printing the first
// inconsistent one.
int readWhileFed(unsigned int capacity)
{
    constexpr double UntouchedFps = -1.0;
    constexpr unsigned long long UntouchedAmount = 0xDEADBEEFull;

    FpsStatistic statistic(capacity);
    std::atomic<bool> stop { false };
    std::atomic<long long> added { 0 };
    // Any three samples span a quarter more than the shortest span with a result, so
    // that a window gives one also just after a cut or a reset, and when the
    // statistic restarts itself on an uneven rate (a loaded machine, a sanitizer).
    const double spacing = 1.25 * FpsStatistic::MinimumSpan / 2;
    std::thread producer([&] {
        while (!stop.load() && statistic.addSample(1000)) {
            added.fetch_add(1);
            for (const double last = StopWatch::gettime(); StopWatch::gettime() < last + spacing;) {
                std::this_thread::yield();
            }
        }
    });
    const auto waitUntilAdded = [&added](long long count) {
        while (added.load() < count) {
            std::this_thread::yield();
        }
    };
    // The producer fills the window before reading starts.
    waitUntilAdded(2 * (long long)capacity + 1);

    int results = 0;
    for (int i = 0; i < 2000 && results >= 0; ++i) {
        // The mutex is not fair: without this the reader could hold on to it
        // for many reads in a row and see the same window each time.
        waitUntilAdded(added.load() + 2);
        double fps = UntouchedFps;
        unsigned long long amountPerSecond = UntouchedAmount;
        const bool valid = statistic.computeResult(&fps, &amountPerSecond);
        // Every sample but a window's first carries 1000, so a positive frame
        // rate always comes with a positive amount per second.
        const bool consistent = valid ? std::isfinite(fps) && fps >= 0.0 && (fps > 0.0) == (amountPerSecond > 0)
                                      : fps == UntouchedFps && amountPerSecond == UntouchedAmount;
        if (!consistent) {
            std::printf("inconsistent: result %d, fps %g, amount per second %llu\n", valid, fps, amountPerSecond);
            results = -1;
        } else {
            results += valid ? 1 : 0;
        }
        if (i % 64 == 63) {
            statistic.reset();
        } else if (i % 64 == 31) {
            statistic.removeAllButLastTwoSamples(nullptr);
        }
        statistic.hasRestarted();
    }
    stop.store(true);
    producer.join();
    return results;
}

} // namespace

int main()
{
    int failed = 0;
    for (const unsigned int capacity : { 4u, 1000u }) {
        // A ring of 4 is cut and wrapped all the time.
        const int results = readWhileFed(capacity);
        std::printf("%s: ring of %u, %d results\n", results > 0 ? "PASS" : "FAIL!", capacity, results);
        failed += results > 0 ? 0 : 1;
    }
    return failed == 0 ? 0 : 1;
}
