// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/stringhelpers.h>

#include "benchsupport.h"

#include <QLocale>
#include <QString>
#include <QStringView>

#include <benchmark/benchmark.h>

#include <string>

// Each formatter is measured beside the QLocale call it is built on, with the
// same value and locale in the same run; the ratio is its own overhead.
namespace {

const QLocale& english()
{
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

struct DoubleCase
{
    double value;
    int precision;
};
// A small value, and a large one whose group separators are removed.
constexpr DoubleCase doubleCases[] = { { 12.345, 3 }, { 1234567.891, 2 } };
constexpr long long integerCases[] = { 42, 1234567890123 };

const DoubleCase& doubleCase(const benchmark::State& state)
{
    return doubleCases[state.range(0)];
}

// "vs=FLOOR/CASE" and the goals: "goal=" for the time ratio, "igoal=" for the instruction ratio.
std::string floorLabel(const char* floor, const benchmark::State& state, const char* goals)
{
    return std::string("vs=") + floor + "/" + std::to_string(state.range(0)) + " " + goals;
}

void BM_Floor_LocaleToStringDouble(benchmark::State& state)
{
    const DoubleCase& c = doubleCase(state);
    timedLoop(state, [&] { benchmark::DoNotOptimize(english().toString(c.value, 'f', c.precision)); });
}
BENCHMARK(BM_Floor_LocaleToStringDouble)->DenseRange(0, 1);

// The least formatDoubleValue() costs with or without grouping: the text, and the
// group separators removed from it in the plainest way.
void BM_Floor_LocaleToStringDoubleUngrouped(benchmark::State& state)
{
    const DoubleCase& c = doubleCase(state);
    timedLoop(state, [&] {
        QString text = english().toString(c.value, 'f', c.precision);
        text.remove(english().groupSeparator());
        benchmark::DoNotOptimize(text);
    });
}
BENCHMARK(BM_Floor_LocaleToStringDoubleUngrouped)->DenseRange(0, 1);

template <FormatValueFlag... Flags> void BM_FormatDoubleValue(benchmark::State& state)
{
    const FormatValueFlags flags = (FormatValueFlags() | ... | Flags);
    const DoubleCase& c = doubleCase(state);
    timedLoop(state, [&] { benchmark::DoNotOptimize(formatDoubleValue(c.value, c.precision, flags, english())); });
    state.SetLabel(floorLabel("BM_Floor_LocaleToStringDoubleUngrouped", state, "goal=1.3 igoal=1.05"));
}
BENCHMARK(BM_FormatDoubleValue<>)->DenseRange(0, 1);
BENCHMARK_TEMPLATE(BM_FormatDoubleValue, FormatValueTrimZeros, FormatValueOmitZeroFraction)->DenseRange(0, 1);
BENCHMARK_TEMPLATE(BM_FormatDoubleValue, FormatValueGroupDigits)->DenseRange(0, 1);

// The unit variants are measured with units of 2, 100 and 10,000 characters beside the
// least they cost: the number's text with a space and the unit appended, the unit copied once.
// They scale the value back to the case's value, so that the QLocale call inside formats
// the same number as the floor.
QString unitOfLength(const benchmark::State& state)
{
    return state.range(1) == 2 ? QStringLiteral("Hz") : QString(int(state.range(1)), QLatin1Char('u'));
}

void unitArguments(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgsProduct({ { 0, 1 }, { 2, 100, 10000 } });
}

void BM_Floor_LocaleToStringDoubleWithUnit(benchmark::State& state)
{
    const DoubleCase& c = doubleCase(state);
    const QString unit = unitOfLength(state);
    timedLoop(state, [&] {
        QString text = english().toString(c.value, 'f', c.precision);
        text.reserve(text.size() + 1 + unit.size());
        text.append(QLatin1Char(' ')).append(unit);
        benchmark::DoNotOptimize(text);
    });
}
BENCHMARK(BM_Floor_LocaleToStringDoubleWithUnit)->Apply(unitArguments);

std::string unitFloorLabel(const benchmark::State& state)
{
    return "vs=BM_Floor_LocaleToStringDoubleWithUnit/" + std::to_string(state.range(0)) + "/"
        + std::to_string(state.range(1)) + " goal=1.4 igoal=1.4";
}

template <FormatValueFlag... Flags> void BM_FormatDoubleValueAndUnits(benchmark::State& state)
{
    const FormatValueFlags flags = (FormatValueShowMultiplier | ... | Flags);
    const DoubleCase& c = doubleCase(state);
    const double factor = flags.testFlag(FormatValueBinaryMultiplier) ? 1024.0 : 1000.0;
    const QString unit = unitOfLength(state);
    timedLoop(state, [&] {
        benchmark::DoNotOptimize(
            formatDoubleValueAndUnits(c.value * factor, c.precision, MultiplierKilo, unit, flags, english()));
    });
    state.SetLabel(unitFloorLabel(state));
}
BENCHMARK(BM_FormatDoubleValueAndUnits<>)->Apply(unitArguments);
BENCHMARK_TEMPLATE(BM_FormatDoubleValueAndUnits, FormatValueBinaryMultiplier, FormatValueMultiplierName)
    ->Apply(unitArguments);

void BM_FormatIntegerValueAndUnits(benchmark::State& state)
{
    const DoubleCase& c = doubleCase(state);
    const auto value = static_cast<long long>(c.value * 1000.0);
    const QString unit = unitOfLength(state);
    timedLoop(state, [&] {
        benchmark::DoNotOptimize(
            formatIntegerValueAndUnits(value, c.precision, MultiplierKilo, unit, FormatValueShowMultiplier, english()));
    });
    state.SetLabel(unitFloorLabel(state));
}
BENCHMARK(BM_FormatIntegerValueAndUnits)->Apply(unitArguments);

void BM_FormatUnsignedIntegerValueAndUnits(benchmark::State& state)
{
    const DoubleCase& c = doubleCase(state);
    const auto value = static_cast<unsigned long long>(c.value * 1000.0);
    const QString unit = unitOfLength(state);
    timedLoop(state, [&] {
        benchmark::DoNotOptimize(formatUnsignedIntegerValueAndUnits(
            value, c.precision, MultiplierKilo, unit, FormatValueShowMultiplier, english()));
    });
    state.SetLabel(unitFloorLabel(state));
}
BENCHMARK(BM_FormatUnsignedIntegerValueAndUnits)->Apply(unitArguments);

void BM_Floor_LocaleToStringLongLong(benchmark::State& state)
{
    const qlonglong value = integerCases[state.range(0)];
    timedLoop(state, [&] { benchmark::DoNotOptimize(english().toString(value)); });
}
BENCHMARK(BM_Floor_LocaleToStringLongLong)->DenseRange(0, 1);

void BM_FormatIntegerValue(benchmark::State& state)
{
    const long long value = integerCases[state.range(0)];
    timedLoop(state, [&] { benchmark::DoNotOptimize(formatIntegerValue(value, {}, english())); });
    state.SetLabel(floorLabel("BM_Floor_LocaleToStringLongLong", state, "goal=1.3"));
}
BENCHMARK(BM_FormatIntegerValue)->DenseRange(0, 1);

void BM_FormatUnsignedIntegerValue(benchmark::State& state)
{
    const auto value = static_cast<unsigned long long>(integerCases[state.range(0)]);
    timedLoop(state, [&] { benchmark::DoNotOptimize(formatUnsignedIntegerValue(value, {}, english())); });
    state.SetLabel(floorLabel("BM_Floor_LocaleToStringLongLong", state, "goal=1.3"));
}
BENCHMARK(BM_FormatUnsignedIntegerValue)->DenseRange(0, 1);

// The least a MAC address text costs: one Latin-1 conversion of the finished text.
void BM_Floor_FromLatin1MacText(benchmark::State& state)
{
    timedLoop(state, [&] { benchmark::DoNotOptimize(QString::fromLatin1("01-23-45-Ab-cD-EF")); });
}
BENCHMARK(BM_Floor_FromLatin1MacText);

void BM_FormatMACAddress(benchmark::State& state)
{
    timedLoop(state, [&] { benchmark::DoNotOptimize(formatMACAddress("012345AbcDEF")); });
    state.SetLabel("vs=BM_Floor_FromLatin1MacText");
}
BENCHMARK(BM_FormatMACAddress);

// ExtractSubString on "f0000000;f0000001;..." for the first, middle and last
// field: the time per field scanned should not grow with the number of fields.
struct FieldCase
{
    QString text;
    unsigned int index;
    qsizetype fieldEnd; // position after the wanted field
};

FieldCase fieldCase(const benchmark::State& state)
{
    const auto fields = static_cast<int>(state.range(0));
    QString text;
    for (int i = 0; i < fields; ++i) {
        if (i > 0) {
            text += QLatin1Char(';');
        }
        text += QStringLiteral("f%1").arg(i, 7, 10, QLatin1Char('0'));
    }
    const int positions[] = { 0, fields / 2, fields - 1 };
    const auto index = static_cast<unsigned int>(positions[state.range(1)]);
    const qsizetype fieldLength = 8;
    return { text, index, (fieldLength + 1) * index + fieldLength };
}

void setFieldCounters(benchmark::State& state, const FieldCase& c)
{
    const auto scanned = static_cast<int64_t>(c.fieldEnd);
    state.SetBytesProcessed(state.iterations() * scanned * int64_t(sizeof(QChar)));
    // Seconds per field up to the wanted one (shown as "12n" for 12 ns).
    state.counters["per_field"] = benchmark::Counter(
        double(c.index + 1) * double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void fieldArguments(benchmark::internal::Benchmark* benchmark)
{
    for (const int fields : { 10, 1000, 100000 }) {
        for (const int position : { 0, 1, 2 }) {
            benchmark->Args({ fields, position });
        }
    }
}

// The least a field costs: one pass over the text up to the field's end, and a copy of the field.
void BM_Floor_ScanToField(benchmark::State& state)
{
    const FieldCase c = fieldCase(state);
    const QChar separator = QLatin1Char(';');
    timedLoop(state, [&] {
        benchmark::DoNotOptimize(QStringView(c.text).left(c.fieldEnd).count(separator));
        benchmark::DoNotOptimize(c.text.mid(c.fieldEnd - 8, 8));
    });
    setFieldCounters(state, c);
}
BENCHMARK(BM_Floor_ScanToField)->Apply(fieldArguments);

void BM_ExtractSubString(benchmark::State& state)
{
    const FieldCase c = fieldCase(state);
    const QString separator = QStringLiteral(";");
    QString field;
    timedLoop(state, [&] { benchmark::DoNotOptimize(ExtractSubString(field, c.text, c.index, separator)); });
    if (field != c.text.mid(c.fieldEnd - 8, 8)) {
        state.SkipWithError("wrong field");
    }
    setFieldCounters(state, c);
    state.SetLabel("vs=BM_Floor_ScanToField/" + std::to_string(state.range(0)) + "/" + std::to_string(state.range(1))
        + " igoal=1.7");
}
BENCHMARK(BM_ExtractSubString)->Apply(fieldArguments);

} // namespace

BENCHMARK_MAIN();
