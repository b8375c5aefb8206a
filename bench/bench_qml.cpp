// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Format.formatDoubleValue() called from QML, beside the engine's own number
// formatting, Number.prototype.toLocaleString(), with the same number, locale
// and precision in the same run; both look up their function, the locale and
// their arguments at every call. Two pairs: one Qt.locale("en_US") object given
// to both sides, and the default locale (en_US, set in main()), which Format
// takes when no locale is given and toLocaleString() from a Qt.locale() made at
// each call. Each timed iteration is one call from C++ into a function of
// Bench.qml that makes callsPerIteration calls, so that the entry from C++
// weighs little. Bench.qml is compiled ahead of time by qmlcachegen, as an
// application's QML is.

#include "benchsupport.h"

#include <QCoreApplication>
#include <QLocale>
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

constexpr double value = 1234567.891;

void timedCalls(benchmark::State& state, const char* function)
{
    timedLoop(state, [function] { benchmark::DoNotOptimize(call(function, value)); });
}

// Times function after checking that it gives the floor's text.
void timedCallsAgainstFloor(benchmark::State& state, const char* function, const char* floorFunction)
{
    if (call(function, value) != call(floorFunction, value)) {
        state.SkipWithError("the two texts differ");
    }
    timedCalls(state, function);
}

void BM_Floor_QmlNumberToLocaleString(benchmark::State& state)
{
    timedCalls(state, "toLocaleString");
}
BENCHMARK(BM_Floor_QmlNumberToLocaleString);

void BM_QmlFormatDoubleValue(benchmark::State& state)
{
    timedCallsAgainstFloor(state, "format", "toLocaleString");
    state.SetLabel("vs=BM_Floor_QmlNumberToLocaleString goal=1.3");
}
BENCHMARK(BM_QmlFormatDoubleValue);

void BM_Floor_QmlNumberToLocaleStringDefaultLocale(benchmark::State& state)
{
    timedCalls(state, "toLocaleStringInDefaultLocale");
}
BENCHMARK(BM_Floor_QmlNumberToLocaleStringDefaultLocale);

void BM_QmlFormatDoubleValueDefaultLocale(benchmark::State& state)
{
    timedCallsAgainstFloor(state, "formatInDefaultLocale", "toLocaleStringInDefaultLocale");
    state.SetLabel("vs=BM_Floor_QmlNumberToLocaleStringDefaultLocale goal=1.3");
}
BENCHMARK(BM_QmlFormatDoubleValueDefaultLocale);

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // Not the environment's locale, so that both pairs format the same text on every machine.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
