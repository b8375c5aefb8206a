// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Costs that callers of the support functions rely on, each beside its floor:
// - Baselibs::GetOsName with an /etc/os-release that has PRETTY_NAME starts no
//   process (posix_spawn() is counted by interposition) and costs about as much as
//   reading that file and calling uname();
// - ReplaceStrings of a text without placeholders asks neither the SDK nor
//   Baselibs::GetOsName (counted by interposition) and costs about a QString copy
//   plus the two searches;
// - GetFeedbackUrl(true) after the first call only copies the cached QUrl.

#include <TavixQtBase/supportinfo.h>

#include "supportcallcounter.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QUrl>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <dlfcn.h>
#include <spawn.h>
#include <sys/utsname.h>

static std::atomic<int> s_spawnCalls { 0 };

// Every shell command of the library starts through posix_spawn(); count them.
extern "C" __attribute__((visibility("default"))) int posix_spawn(pid_t* pid, const char* path,
    const posix_spawn_file_actions_t* fileActions, const posix_spawnattr_t* attributes, char* const arguments[],
    char* const environment[])
{
    using Function = int (*)(
        pid_t*, const char*, const posix_spawn_file_actions_t*, const posix_spawnattr_t*, char* const[], char* const[]);
    static const Function real = reinterpret_cast<Function>(dlsym(RTLD_NEXT, "posix_spawn"));
    ++s_spawnCalls;
    return real(pid, path, fileActions, attributes, arguments, environment);
}

static void BM_ReadOsReleaseAndUname_Floor(benchmark::State& state)
{
    for (auto _ : state) {
        std::ifstream file("/etc/os-release");
        std::ostringstream contents;
        contents << file.rdbuf();
        struct utsname system;
        benchmark::DoNotOptimize(uname(&system));
        benchmark::DoNotOptimize(contents.str());
    }
}
BENCHMARK(BM_ReadOsReleaseAndUname_Floor);

static void BM_GetOsName_WithPrettyName(benchmark::State& state)
{
    state.SetLabel("vs=BM_ReadOsReleaseAndUname_Floor goal=1.5");
    s_spawnCalls = 0;
    std::string osName;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Baselibs::GetOsName(osName));
    }
    state.counters["processes"] = s_spawnCalls.load();
    if (s_spawnCalls.load() != 0) {
        state.SkipWithError("started processes: /etc/os-release has no PRETTY_NAME here");
    }
}
BENCHMARK(BM_GetOsName_WithPrettyName);

static const QString s_plainText = QStringLiteral("tavix Support Request: camera stops after 17 frames at 50 fps");

static void BM_QStringCopy_Floor(benchmark::State& state)
{
    for (auto _ : state) {
        QString copy = s_plainText;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_QStringCopy_Floor);

static void BM_QStringCopyAndTwoSearches_Floor(benchmark::State& state)
{
    for (auto _ : state) {
        QString copy = s_plainText;
        benchmark::DoNotOptimize(copy.contains(QStringLiteral("$(tavixVer)")));
        benchmark::DoNotOptimize(copy.contains(QStringLiteral("$(OSVer)")));
    }
}
BENCHMARK(BM_QStringCopyAndTwoSearches_Floor);

static void replaceStringsWithoutPlaceholders(benchmark::State& state, const char* label)
{
    state.SetLabel(label);
    supportCallCounts().reset();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReplaceStrings(s_plainText));
    }
    state.counters["sdk_calls"] = supportCallCounts().tavixVersionString.load();
    state.counters["osname_calls"] = supportCallCounts().osName.load();
    if (supportCallCounts().tavixVersionString.load() != 0 || supportCallCounts().osName.load() != 0) {
        state.SkipWithError("a text without placeholders consulted the SDK or the system");
    }
}

static void BM_ReplaceStrings_NoPlaceholders(benchmark::State& state)
{
    // No goal: against a bare reference-count copy the two substring searches dominate.
    replaceStringsWithoutPlaceholders(state, "vs=BM_QStringCopy_Floor");
}
BENCHMARK(BM_ReplaceStrings_NoPlaceholders);

static void BM_ReplaceStrings_NoPlaceholders_VsSearches(benchmark::State& state)
{
    replaceStringsWithoutPlaceholders(state, "vs=BM_QStringCopyAndTwoSearches_Floor goal=1.5");
}
BENCHMARK(BM_ReplaceStrings_NoPlaceholders_VsSearches);

static void BM_QUrlCopy_Floor(benchmark::State& state)
{
    const QUrl url = GetFeedbackUrl(true);
    for (auto _ : state) {
        QUrl copy = url;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_QUrlCopy_Floor);

static void BM_GetFeedbackUrl_WithQuery(benchmark::State& state)
{
    state.SetLabel("vs=BM_QUrlCopy_Floor goal=2");
    GetFeedbackUrl(true);
    supportCallCounts().reset();
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetFeedbackUrl(true));
    }
    state.counters["version_queries"] = supportCallCounts().tavixVersion.load();
    if (supportCallCounts().tavixVersion.load() != 0) {
        state.SkipWithError("the feedback URL was built again");
    }
}
BENCHMARK(BM_GetFeedbackUrl_WithQuery);

BENCHMARK_MAIN();
