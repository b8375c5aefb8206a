// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Format.formatDoubleValue() called from QML, beside the engine's own number
// formatting, Number.prototype.toLocaleString(), with the same number, locale
// and precision in the same run; both look up their function, the locale and
// their arguments at every call. Each timed iteration is one call from C++ into
// a function of Bench.qml that makes callsPerIteration calls, so that the entry
// from C++ weighs little. Bench.qml is compiled ahead of time by qmlcachegen, as
// an application's QML is.

#include "benchsupport.h"

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
    timedLoop(state, [] { benchmark::DoNotOptimize(call("toLocaleString", 1234567.891)); });
}
BENCHMARK(BM_Floor_QmlNumberToLocaleString);

void BM_QmlFormatDoubleValue(benchmark::State& state)
{
    if (call("format", 1234567.891) != call("toLocaleString", 1234567.891)) {
        state.SkipWithError("the two texts differ");
    }
    timedLoop(state, [] { benchmark::DoNotOptimize(call("format", 1234567.891)); });
    state.SetLabel("vs=BM_Floor_QmlNumberToLocaleString goal=1.3");
}
BENCHMARK(BM_QmlFormatDoubleValue);

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
