#include <TavixQtBase/fpsstatistic.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>

// One thread feeds a statistic as fast as it can, on the real clock, while
// another one reads, cuts and resets it; run under ThreadSanitizer as well,
// where any access outside the statistic's lock is reported.
//
// A plain program with std::thread rather than a QtTest one: QtTest's watchdog
// thread and QThread synchronise inside the uninstrumented Qt library, which
// ThreadSanitizer reports as races of their own at random.

namespace {

struct Outcome
{
    int results = 0;
    int inconsistent = 0;
    std::string firstInconsistency;
};

Outcome runProducerAgainstReader(unsigned int capacity)
{
    constexpr int Reads = 2000;
    constexpr double UntouchedFps = -1.0;
    constexpr unsigned long long UntouchedAmount = 0xDEADBEEFull;

    FpsStatistic statistic(capacity);
    std::atomic<bool> stop { false };
    std::atomic<long long> added { 0 };
    std::thread producer([&] {
        while (!stop.load() && statistic.addSample(1000)) {
            added.fetch_add(1);
        }
    });
    // Let the producer fill the window before reading starts.
    while (added.load() <= 2 * (long long)capacity) {
        std::this_thread::yield();
    }

    Outcome outcome;
    for (int i = 0; i < Reads; ++i) {
        // The mutex is not fair: without this the reader could hold on to it
        // for many reads in a row and see the same window each time.
        const long long seen = added.load();
        while (added.load() < seen + 2) {
            std::this_thread::yield();
        }
        double fps = UntouchedFps;
        unsigned long long amountPerSecond = UntouchedAmount;
        const bool valid = statistic.computeResult(&fps, &amountPerSecond);
        // Every sample but a window's first carries 1000, so a positive frame
        // rate always comes with a positive amount per second.
        const bool consistent = valid ? std::isfinite(fps) && fps >= 0.0 && (fps > 0.0) == (amountPerSecond > 0)
                                      : fps == UntouchedFps && amountPerSecond == UntouchedAmount;
        if (!consistent && outcome.inconsistent++ == 0) {
            outcome.firstInconsistency = "result " + std::to_string(valid) + ", fps " + std::to_string(fps)
                + ", amount per second " + std::to_string(amountPerSecond);
        }
        outcome.results += valid ? 1 : 0;
        if (i % 64 == 63) {
            statistic.reset();
        } else if (i % 64 == 31) {
            statistic.removeAllButLastTwoSamples(nullptr);
        }
        statistic.hasRestarted();
    }
    stop.store(true);
    producer.join();
    return outcome;
}

bool passes(const char* name, unsigned int capacity)
{
    const Outcome outcome = runProducerAgainstReader(capacity);
    if (outcome.inconsistent > 0) {
        std::printf("FAIL! : %s: %d inconsistent results, the first: %s\n", name, outcome.inconsistent,
            outcome.firstInconsistency.c_str());
        return false;
    }
    if (outcome.results == 0) {
        std::printf("FAIL! : %s: the reader never saw a result\n", name);
        return false;
    }
    std::printf("PASS  : %s (%d results)\n", name, outcome.results);
    return true;
}

} // namespace

int main()
{
    int passed = 0;
    int failed = 0;
    for (const auto& [name, capacity] :
        { std::pair<const char*, unsigned int> { "ring of 4, cut and wrapped all the time", 4 },
            std::pair<const char*, unsigned int> { "ring of 1000", 1000 } }) {
        (passes(name, capacity) ? passed : failed) += 1;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
