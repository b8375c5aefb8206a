// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Feeds arbitrary doubles, precisions, flag sets, multipliers and locales to
// formatDoubleValue() and formatDoubleValueAndUnits(), and checks what the
// flags promise about the text.
//
// Any int is a precision: the library counts one above 1074 as 1074, so the text
// is compared with QLocale's at that precision.

#include <TavixQtBase/stringhelpers.h>

#include <QLocale>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

const QLocale& locale(uint8_t choice)
{
    // Egyptian Arabic and Chakma write digits of their own, Chakma's beyond the Basic Multilingual Plane.
    static const QLocale locales[] = { QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::French, QLocale::France), QLocale::c(),
        QLocale(QLocale::Arabic, QLocale::Egypt), QLocale(QLocale::Chakma, QLocale::Bangladesh) };
    return locales[choice % std::size(locales)];
}

struct Input
{
    double value;
    int precision;
    uint8_t flags;
    uint8_t locale;
    uint8_t multiplier;
};

void checkFlags(const QString& text, const Input& in, const QLocale& loc)
{
    const QString expectedText
        = loc.toString(in.value, (in.flags & FormatValueGeneral) ? 'g' : 'f', std::min(in.precision, 1074));
    if (!std::isfinite(in.value)) {
        check(text == expectedText);
        return;
    }
    const QString groupSeparator(loc.groupSeparator());
    // Below 1000 the text is not searched: a value that rounds up to 1000 keeps its separator.
    if (!(in.flags & FormatValueGroupDigits) && std::fabs(in.value) >= 1000.0) {
        check(!text.contains(groupSeparator));
    }
    if (in.flags & FormatValueGeneral) {
        QString ungrouped = expectedText;
        if (!(in.flags & FormatValueGroupDigits) && std::fabs(in.value) >= 1000.0) {
            ungrouped.remove(groupSeparator);
        }
        check(text == ungrouped);
        return;
    }
    const QString decimalPoint(loc.decimalPoint());
    const qsizetype point = text.indexOf(decimalPoint);
    double whole;
    if ((in.flags & FormatValueOmitZeroFraction) && std::modf(in.value, &whole) == 0.0) {
        check(point < 0);
    }
    if ((in.flags & FormatValueTrimZeros) && point >= 0) {
        const QString zero(loc.zeroDigit());
        const qsizetype firstFractionDigit = point + decimalPoint.size();
        check(text.size() > firstFractionDigit);
        check(text.size() == firstFractionDigit + zero.size() || !text.endsWith(zero));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in;
    constexpr size_t fixedBytes = sizeof(double) + sizeof(uint32_t) + 3;
    if (size < fixedBytes) {
        return 0;
    }
    uint32_t precisionBits;
    std::memcpy(&in.value, data, sizeof in.value);
    std::memcpy(&precisionBits, data + sizeof in.value, sizeof precisionBits);
    // Offset so that the seeds' small precisions stay as they were written.
    in.precision = int(precisionBits - 200u);
    in.flags = data[12];
    in.locale = data[13];
    in.multiplier = data[14] % 32;
    const QLocale& loc = locale(in.locale);
    const FormatValueFlags flags = FormatValueFlags(QFlag(in.flags));

    const QString text = formatDoubleValue(in.value, in.precision, flags, loc);
    checkFlags(text, in, loc);

    const QString unit = QString::fromLatin1(reinterpret_cast<const char*>(data + fixedBytes), int(size - fixedBytes));
    const QString withUnit
        = formatDoubleValueAndUnits(in.value, in.precision, FormatMultiplier(in.multiplier), unit, flags, loc);
    check(unit.isEmpty() || withUnit.endsWith(unit));
    return 0;
}
