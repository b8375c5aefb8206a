// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Format.formatDoubleValue() called from QML, beside the engine's own number
// formatting, Number.toLocaleString(), with the same value and locale in the
// same run. Each timed iteration is one call from C++ into a function of
// Bench.qml that makes callsPerIteration calls, so that the entry from C++ weighs
// little. Bench.qml is compiled ahead of time by qmlcachegen, as an application's
// QML is.

#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int callsPerIteration = 100;

QObject* scriptObject()
{
    static QQmlEngine engine;
    static std::unique_ptr<QObject> object;
    if (!object) {
        engine.addImportPath(QStringLiteral(TAVIXQTBASE_QML_BUILD_DIR));
        QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/TavixQtBaseBench/Bench.qml")));
        object.reset(component.create());
        if (!object) {
            std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
            std::abort();
        }
    }
    return object.get();
}

QString call(const char* function, double value)
{
    QString text;
    QMetaObject::invokeMethod(
        scriptObject(), function, Q_RETURN_ARG(QString, text), Q_ARG(double, value), Q_ARG(int, callsPerIteration));
    return text;
}

void BM_Floor_QmlNumberToLocaleString(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(call("toLocaleString", 1234567.891));
    }
}
BENCHMARK(BM_Floor_QmlNumberToLocaleString);

// Arguments: 0 looks the method up at every call, 1 once per batch of calls.
void BM_QmlFormatDoubleValue(benchmark::State& state)
{
    const char* function = state.range(0) == 0 ? "format" : "formatLookedUpOnce";
    if (call(function, 1234567.891) != call("toLocaleString", 1234567.891)) {
        state.SkipWithError("the two texts differ");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(call(function, 1234567.891));
    }
    state.SetLabel("vs=BM_Floor_QmlNumberToLocaleString goal=1.3");
}
BENCHMARK(BM_QmlFormatDoubleValue)->DenseRange(0, 1);

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
