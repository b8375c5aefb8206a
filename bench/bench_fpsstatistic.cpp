// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/fpsstatistic.h>

#include "benchsupport.h"

#include <QMutex>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include <time.h>

// Counts every allocation through operator new in this process, so that a
// benchmark can report what its loop allocates.
namespace {
std::atomic<long long> g_allocations { 0 };
}

void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

constexpr const char* FloorLabel = "vs=BM_Floor_ClockAndRecursiveMutex goal=1.5";
constexpr const char* TwoFloorsLabel = "vs=BM_Floor_ClockAndRecursiveMutexTwice goal=1.5";

// What each operation cannot be faster than: one reading of the wall clock
// and one lock and unlock of a recursive mutex.
void floorOnce(QRecursiveMutex& mutex)
{
    timespec now;
    mutex.lock();
    clock_gettime(CLOCK_REALTIME, &now);
    benchmark::DoNotOptimize(now);
    mutex.unlock();
}

void BM_Floor_ClockAndRecursiveMutex(benchmark::State& state)
{
    QRecursiveMutex mutex;
    timedLoop(state, [&mutex] { floorOnce(mutex); });
}
BENCHMARK(BM_Floor_ClockAndRecursiveMutex);

void BM_Floor_ClockAndRecursiveMutexTwice(benchmark::State& state)
{
    QRecursiveMutex mutex;
    timedLoop(state, [&mutex] {
        floorOnce(mutex);
        floorOnce(mutex);
    });
}
BENCHMARK(BM_Floor_ClockAndRecursiveMutexTwice);

// Runs @p operation in the timed loop, then reports the allocations of 1000 further calls per call.
template <typename Operation> void measure(benchmark::State& state, const char* label, Operation operation)
{
    timedLoop(state, operation);
    constexpr int calls = 1000;
    const long long allocationsBefore = g_allocations.load();
    for (int i = 0; i < calls; ++i) {
        operation();
    }
    const double allocations = double(g_allocations.load() - allocationsBefore);
    state.counters["allocs_per_iter"] = benchmark::Counter(allocations / calls);
    state.SetLabel(label);
}

// A statistic whose ring is already full, so that every new sample replaces
// the oldest one. The clock advances between the samples: at today's epoch a
// double resolves about 0.24 us, and samples at the same instant would leave
// computeResult() nothing to compute. The newest two lie MinimumSpan apart, so
// that the window cut to them still gives a result.
void fill(FpsStatistic& statistic, int capacity)
{
    double last = 0.0;
    for (int i = 0; i < capacity; ++i) {
        const double gap = i + 1 < capacity ? 0.0 : FpsStatistic::MinimumSpan;
        while (StopWatch::gettime() <= last + gap) { }
        statistic.addSample(1000);
        last = StopWatch::gettime();
    }
}

void BM_AddSample(benchmark::State& state)
{
    const int capacity = int(state.range(0));
    FpsStatistic statistic { unsigned(capacity) };
    fill(statistic, capacity);
    measure(state, FloorLabel, [&statistic] { benchmark::DoNotOptimize(statistic.addSample(1000)); });
}
BENCHMARK(BM_AddSample)->Arg(4)->Arg(1000)->Arg(1000000);

// Measures computeResult() on a full ring, with or without a new sample before
// each call.
void measureComputeResult(benchmark::State& state, const char* label, bool addSampleFirst)
{
    const int capacity = int(state.range(0));
    FpsStatistic statistic { unsigned(capacity) };
    fill(statistic, capacity);
    double fps = 0.0;
    unsigned long long amountPerSecond = 0;
    measure(state, label, [&] {
        if (addSampleFirst) {
            statistic.addSample(1000);
        }
        benchmark::DoNotOptimize(statistic.computeResult(&fps, &amountPerSecond));
        benchmark::DoNotOptimize(fps);
    });
}

// A display timer asking without new samples: the first call finds the window
// late and cuts it to two samples; every later call extrapolates from them.
void BM_ComputeResult(benchmark::State& state)
{
    measureComputeResult(state, FloorLabel, false);
}
BENCHMARK(BM_ComputeResult)->Arg(4)->Arg(1000)->Arg(1000000);

// A result asked for after every sample, on the full ring: the first and the
// newest sample are read at their places in the ring.
void BM_AddSampleThenComputeResult(benchmark::State& state)
{
    measureComputeResult(state, TwoFloorsLabel, true);
}
BENCHMARK(BM_AddSampleThenComputeResult)->Arg(4)->Arg(1000)->Arg(1000000);

} // namespace

BENCHMARK_MAIN();
