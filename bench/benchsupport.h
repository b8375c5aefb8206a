// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_BENCHSUPPORT_H
#define TAVIXQTBASE_BENCHSUPPORT_H

#include <benchmark/benchmark.h>

#include <cstdlib>

#include <valgrind/callgrind.h>

// Runs @p operation in the timed loop of @p state.
//
// Under callgrind (scripts/bench-callgrind.py) with TAVIXQTBASE_BENCH_CALLGRIND_ITERATIONS set,
// the operation first runs that many times on its own, after one untimed call that takes the
// one-time costs: callgrind counts the instructions of these calls alone and writes them as one
// profile part per benchmark, in the order of --benchmark_list_tests. The script runs each
// benchmark once (--benchmark_min_time=0), so that no benchmark writes a second part.
template <typename Operation> void timedLoop(benchmark::State& state, Operation operation)
{
    const char* callgrindIterations = std::getenv("TAVIXQTBASE_BENCH_CALLGRIND_ITERATIONS");
    if (RUNNING_ON_VALGRIND && callgrindIterations) {
        const long long iterations = std::atoll(callgrindIterations);
        operation();
        CALLGRIND_START_INSTRUMENTATION;
        CALLGRIND_ZERO_STATS;
        for (long long i = 0; i < iterations; ++i) {
            operation();
        }
        CALLGRIND_DUMP_STATS;
        CALLGRIND_STOP_INSTRUMENTATION;
    }
    for (auto _ : state) {
        operation();
    }
}

#endif
