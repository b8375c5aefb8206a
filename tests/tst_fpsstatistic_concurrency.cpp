// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/fpsstatistic.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>

// One thread feeds a statistic on the real clock while another one reads, cuts and
// resets it, and some of the reads give a result; run under ThreadSanitizer as well, where any access outside the
// statistic's lock is reported.
//
// A plain program with std::thread rather than a QtTest one: QtTest's watchdog
// thread and QThread synchronise inside the uninstrumented Qt library, which
// ThreadSanitizer reports as races of their own at random.
int main()
{
    int failed = 0;
    // A ring of 4 is cut and wrapped all the time.
    for (const unsigned int capacity : { 4u, 1000u }) {
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
        int inconsistent = 0, results = 0;
        for (int i = 0; i < 2000; ++i) {
            // The mutex is not fair: without this the reader could hold on to it
            // for many reads in a row and see the same window each time.
            waitUntilAdded(added.load() + 2);
            double fps = -1.0;
            unsigned long long amountPerSecond = 0xDEADBEEFull;
            // Every sample but a window's first carries 1000, so a positive frame rate
            // always comes with a positive amount per second; without a result both
            // stay untouched.
            const bool valid = statistic.computeResult(&fps, &amountPerSecond);
            if (valid ? !std::isfinite(fps) || fps < 0.0 || (fps > 0.0) != (amountPerSecond > 0)
                      : fps != -1.0 || amountPerSecond != 0xDEADBEEFull) {
                std::printf("inconsistent: result %d, fps %g, amount per second %llu\n", valid, fps, amountPerSecond);
                ++inconsistent;
            }
            results += valid ? 1 : 0;
            if (i % 64 == 63) {
                statistic.reset();
            } else if (i % 64 == 31) {
                statistic.removeAllButLastTwoSamples(nullptr);
            }
            statistic.hasRestarted();
        }
        stop.store(true);
        producer.join();
        const bool passed = inconsistent == 0 && results > 0;
        std::printf("%s: ring of %u, %d results\n", passed ? "PASS" : "FAIL!", capacity, results);
        failed += passed ? 0 : 1;
    }
    return failed;
}
