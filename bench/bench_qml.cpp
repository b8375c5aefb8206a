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
#include <string>

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

constexpr double number = 1234567.891;

void timedCalls(benchmark::State& state, const char* function)
{
    timedLoop(state, [function] { benchmark::DoNotOptimize(call(function, number)); });
}

// A measured call and its floor: the names of their benchmarks and of their functions in Bench.qml.
struct CallAndFloor
{
    const char* name;
    const char* function;
    const char* floorName;
    const char* floorFunction;
};

constexpr CallAndFloor callsAndFloors[] = {
    { "BM_QmlFormatDoubleValue", "format", "BM_Floor_QmlNumberToLocaleString", "toLocaleString" },
    { "BM_QmlFormatDoubleValueDefaultLocale", "formatInDefaultLocale", "BM_Floor_QmlNumberToLocaleStringDefaultLocale",
        "toLocaleStringInDefaultLocale" },
};

// Registers the floor, then the call, which is timed only when it gives the floor's text.
void registerCallAndFloor(const CallAndFloor& pair)
{
    benchmark::RegisterBenchmark(
        pair.floorName, [pair](benchmark::State& state) { timedCalls(state, pair.floorFunction); });
    benchmark::RegisterBenchmark(pair.name, [pair](benchmark::State& state) {
        if (call(pair.function, number) != call(pair.floorFunction, number)) {
            state.SkipWithError("the two texts differ");
        }
        timedCalls(state, pair.function);
        state.SetLabel(std::string("vs=") + pair.floorName + " goal=1.3");
    });
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // Not the environment's locale, so that both pairs format the same text on every machine.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const CallAndFloor& pair : callsAndFloors) {
        registerCallAndFloor(pair);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
