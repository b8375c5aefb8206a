// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/stringhelpers.h>

#include <QCoreApplication>
#include <QStringView>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <iterator>
#include <type_traits>

const FormatMultiplierEntry multiplierTable[MultiplierYocto + 1] = {
    { 1.0, 1.0, L"", L"", L"", L"" },
    { 1e3, 0x1p10, L"k", L"kilo", L"Ki", L"kibi" },
    { 1e6, 0x1p20, L"M", L"mega", L"Mi", L"mebi" },
    { 1e9, 0x1p30, L"G", L"giga", L"Gi", L"gibi" },
    { 1e12, 0x1p40, L"T", L"tera", L"Ti", L"tebi" },
    { 1e15, 0x1p50, L"P", L"peta", L"Pi", L"pebi" },
    { 1e18, 0x1p60, L"E", L"exa", L"Ei", L"exbi" },
    { 1e21, 0x1p70, L"Z", L"zetta", L"Zi", L"zebi" },
    { 1e24, 0x1p80, L"Y", L"yotta", L"Yi", L"yobi" },
    // Binary multipliers end with yotta; the shrinking rows only have decimal prefixes.
    { 1e-3, 1.0, L"m", L"milli", L"", L"" },
    { 1e-6, 1.0, L"\u00b5", L"micro", L"", L"" },
    { 1e-9, 1.0, L"n", L"nano", L"", L"" },
    { 1e-12, 1.0, L"p", L"pico", L"", L"" },
    { 1e-15, 1.0, L"f", L"femto", L"", L"" },
    { 1e-18, 1.0, L"a", L"atto", L"", L"" },
    { 1e-21, 1.0, L"z", L"zepto", L"", L"" },
    { 1e-24, 1.0, L"y", L"yocto", L"", L"" },
};

namespace {

// QLocale's separators are QChar in Qt 5 and QString in Qt 6. These helpers
// take either as it comes, so that no call converts or allocates.
template <typename Separator> qsizetype lengthOf(const Separator& separator)
{
    if constexpr (std::is_same_v<Separator, QChar>) {
        return 1;
    } else {
        return separator.size();
    }
}

// Compacts the text in its own buffer.
void removeAllCharacters(QString& text, QChar c)
{
    const qsizetype first = text.indexOf(c);
    if (first < 0) {
        return;
    }
    QChar* begin = text.data();
    QChar* end = std::remove(begin + first, begin + text.size(), c);
    text.truncate(end - begin);
}

template <typename Separator> void removeAll(QString& text, const Separator& separator)
{
    if constexpr (std::is_same_v<Separator, QChar>) {
        removeAllCharacters(text, separator);
    } else if (separator.size() == 1) {
        removeAllCharacters(text, separator.at(0));
    } else if (!separator.isEmpty()) {
        text.remove(separator);
    }
}

// A one-character separator is looked for as a character, which Qt scans faster.
qsizetype findSeparator(const QString& text, const QString& separator, qsizetype from)
{
    return separator.size() == 1 ? text.indexOf(separator.at(0), from) : text.indexOf(separator, from);
}

// Where field @p index starts, or -1 when the text has fewer separators. A one-character
// separator is counted in one pass over the text rather than searched for field by field.
qsizetype fieldStart(const QString& text, const QString& separator, unsigned int index)
{
    if (index == 0) {
        return 0;
    }
    if (separator.size() == 1) {
        const char16_t wanted = separator.at(0).unicode();
        const char16_t* units = QStringView(text).utf16();
        for (qsizetype i = 0, size = text.size(); i < size; ++i) {
            if (units[i] == wanted && --index == 0) {
                return i + 1;
            }
        }
        return -1;
    }
    qsizetype start = 0;
    for (; index > 0; --index) {
        const qsizetype hit = text.indexOf(separator, start);
        if (hit < 0) {
            return -1;
        }
        start = hit + separator.size();
    }
    return start;
}

// No double has more digits after the decimal point than the smallest denormal, 2^-1074,
// nor more significant digits. A larger precision only adds zeros, which general notation
// drops again, and makes Qt's conversion work for seconds, run out of memory or abort.
constexpr int maxPrecision = 1074;

QString numberText(double value, bool general, int precision, const QLocale& locale)
{
    return locale.toString(value, general ? 'g' : 'f', std::min(precision, maxPrecision));
}

// Searched from the end, where a number's decimal point is.
template <typename Separator> qsizetype lastIndexOfSeparator(const QString& text, const Separator& separator)
{
    if constexpr (std::is_same_v<Separator, QChar>) {
        return text.lastIndexOf(separator);
    } else {
        return separator.size() == 1 ? text.lastIndexOf(separator.at(0)) : text.lastIndexOf(separator);
    }
}

// Cuts the fraction of a whole value, or drops the trailing zeros of the fraction
// but its first digit. Both start from the decimal point, of which the text holds one.
void shortenFraction(QString& text, double value, FormatValueFlags flags, const QLocale& locale)
{
    const auto decimalPoint = locale.decimalPoint();
    const qsizetype decimalPosition = lastIndexOfSeparator(text, decimalPoint);
    if (decimalPosition < 0) {
        return;
    }
    // The value decides, not its text: 2.0004 at precision 3 keeps "2.000". It is finite here.
    if (flags.testFlag(FormatValueOmitZeroFraction) && std::trunc(value) == value) {
        text.truncate(decimalPosition);
        return;
    }
    if (flags.testFlag(FormatValueTrimZeros)) {
        // The locale's own zero digit, which may be another character than '0' and,
        // in Qt 6, two UTF-16 units long.
        const auto zero = locale.zeroDigit();
        const qsizetype zeroSize = lengthOf(zero);
        const qsizetype firstFractionDigit = decimalPosition + lengthOf(decimalPoint);
        qsizetype end = text.size();
        while (end - zeroSize > firstFractionDigit && QStringView(text.constData(), end).endsWith(zero)) {
            end -= zeroSize;
        }
        text.truncate(end);
    }
}

const wchar_t* multiplierPrefix(const FormatMultiplierEntry& entry, FormatValueFlags flags)
{
    const bool name = flags.testFlag(FormatValueMultiplierName);
    if (flags.testFlag(FormatValueBinaryMultiplier)) {
        return name ? entry.binaryName : entry.binarySymbol;
    }
    return name ? entry.decimalName : entry.decimalSymbol;
}

// Numbers of fewer than four digits are never grouped.
template <typename Integer> bool mayBeGrouped(Integer value)
{
    if constexpr (std::is_signed_v<Integer>) {
        return value >= 1000 || value <= -1000;
    } else {
        return value >= 1000;
    }
}

template <typename Integer> QString formatInteger(Integer value, FormatValueFlags flags, const QLocale& locale)
{
    QString text = locale.toString(value);
    if (mayBeGrouped(value) && !flags.testFlag(FormatValueGroupDigits)) {
        removeAll(text, locale.groupSeparator());
    }
    return text;
}

} // namespace

const QLocale& getSystemLocale()
{
    static const QLocale systemLocale = QLocale::system();
    return systemLocale;
}

bool ExtractSubString(QString& result, const QString& text, unsigned int index, const QString& separator)
{
    if (text.isEmpty() || separator.isEmpty()) {
        return false;
    }
    const qsizetype start = fieldStart(text, separator, index);
    if (start < 0) {
        result = QString();
        return false;
    }
    qsizetype end = findSeparator(text, separator, start);
    if (end < 0) {
        end = text.size();
    }
    result = text.mid(start, end - start);
    return true;
}

QString formatDoubleValue(double value, int precision, FormatValueFlags flags, const QLocale& locale)
{
    const bool general = flags.testFlag(FormatValueGeneral);
    QString text = numberText(value, general, precision, locale);
    if (!std::isfinite(value)) {
        return text;
    }
    // Smaller magnitudes have no group separator to remove.
    if (!flags.testFlag(FormatValueGroupDigits) && std::fabs(value) >= 1000.0) {
        removeAll(text, locale.groupSeparator());
    }
    if (!general && (flags & (FormatValueOmitZeroFraction | FormatValueTrimZeros))) {
        shortenFraction(text, value, flags, locale);
    }
    return text;
}

QString formatIntegerValue(long long value, FormatValueFlags flags, const QLocale& locale)
{
    return formatInteger(qlonglong(value), flags, locale);
}

QString formatUnsignedIntegerValue(unsigned long long value, FormatValueFlags flags, const QLocale& locale)
{
    return formatInteger(qulonglong(value), flags, locale);
}

QString formatDoubleValueAndUnits(double value, int precision, FormatMultiplier multiplier, const QString& unit,
    FormatValueFlags flags, const QLocale& locale)
{
    const bool binary = flags.testFlag(FormatValueBinaryMultiplier);
    const unsigned int lastValid = binary ? unsigned(MultiplierYotta) : unsigned(MultiplierYocto);
    const wchar_t* prefix = nullptr;
    if (unsigned(multiplier) <= lastValid) {
        const FormatMultiplierEntry& entry = multiplierTable[multiplier];
        value /= binary ? entry.binaryFactor : entry.decimalFactor;
        prefix = multiplierPrefix(entry, flags);
    }

    QString text = formatDoubleValue(value, precision, flags, locale);
    const bool showPrefix
        = flags.testFlag(FormatValueShowMultiplier) && multiplier != MultiplierNone && prefix && *prefix;
    if (!showPrefix && unit.isEmpty()) {
        return text;
    }
    // The space, the prefix and the unit are written straight behind the number, so that
    // the unit, which may be long, is copied once. Every prefix in the table is within the
    // Basic Multilingual Plane.
    const qsizetype prefixSize = showPrefix ? qsizetype(std::wcslen(prefix)) : 0;
    const qsizetype numberSize = text.size();
    text.resize(numberSize + 1 + prefixSize + unit.size());
    QChar* out = text.data() + numberSize;
    *out++ = QLatin1Char(' ');
    for (qsizetype i = 0; i < prefixSize; ++i) {
        *out++ = QChar(char16_t(prefix[i]));
    }
    std::copy(unit.cbegin(), unit.cend(), out);
    return text;
}

QString formatIntegerValueAndUnits(long long value, int precision, FormatMultiplier multiplier, const QString& unit,
    FormatValueFlags flags, const QLocale& locale)
{
    return formatDoubleValueAndUnits(double(value), precision, multiplier, unit, flags, locale);
}

QString formatUnsignedIntegerValueAndUnits(unsigned long long value, int precision, FormatMultiplier multiplier,
    const QString& unit, FormatValueFlags flags, const QLocale& locale)
{
    // The standard conversion keeps the magnitude of values of 2^63 and above.
    return formatDoubleValueAndUnits(double(value), precision, multiplier, unit, flags, locale);
}

QString formatImageCount(unsigned long long images, unsigned long long errors)
{
    // Unsigned, so that counts of 2^63 and above are not shown as negative.
    const QLocale defaultLocale;
    return QCoreApplication::translate("TavixQtBase", "Images: %1; Errors: %2")
        .arg(formatUnsignedIntegerValue(images, FormatValueGroupDigits, defaultLocale))
        .arg(formatUnsignedIntegerValue(errors, FormatValueGroupDigits, defaultLocale));
}

namespace {

// The multipliers in growing order, so that a step up or down is a step in this list.
constexpr FormatMultiplier multipliersByFactor[] = { MultiplierYocto, MultiplierZepto, MultiplierAtto, MultiplierFemto,
    MultiplierPico, MultiplierNano, MultiplierMicro, MultiplierMilli, MultiplierNone, MultiplierKilo, MultiplierMega,
    MultiplierGiga, MultiplierTera, MultiplierPeta, MultiplierExa, MultiplierZetta, MultiplierYotta };
constexpr int noneRank = 8;
constexpr int lastRank = int(std::size(multipliersByFactor)) - 1;

// The magnitude scaled as formatDoubleValueAndUnits() scales it.
double scaledMagnitude(double magnitude, int rank, bool binary)
{
    const FormatMultiplierEntry& entry = multiplierTable[multipliersByFactor[rank]];
    return magnitude / (binary ? entry.binaryFactor : entry.decimalFactor);
}

// Whether the number text of the scaled magnitude reaches the base once rounded.
bool roundsToBase(double scaled, int precision, bool general, double base)
{
    return scaled >= base - 1.0 && numberText(scaled, general, precision, QLocale::c()).toDouble() >= base;
}

FormatMultiplier autoMultiplier(double value, int precision, FormatValueFlags flags)
{
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0 || !std::isfinite(magnitude)) {
        return MultiplierNone;
    }
    const bool binary = flags.testFlag(FormatValueBinaryMultiplier);
    const double base = binary ? 1024.0 : 1000.0;
    const int firstRank = binary ? noneRank : 0;
    int rank = noneRank;
    while (rank < lastRank && scaledMagnitude(magnitude, rank, binary) >= base) {
        ++rank;
    }
    while (rank > firstRank && scaledMagnitude(magnitude, rank, binary) < 1.0) {
        --rank;
    }
    if (rank < lastRank
        && roundsToBase(
            scaledMagnitude(magnitude, rank, binary), precision, flags.testFlag(FormatValueGeneral), base)) {
        ++rank;
    }
    return multipliersByFactor[rank];
}

} // namespace

QString formatDoubleValueAndAutoUnits(
    double value, int precision, const QString& unit, FormatValueFlags flags, const QLocale& locale)
{
    return formatDoubleValueAndUnits(
        value, precision, autoMultiplier(value, precision, flags), unit, flags | FormatValueShowMultiplier, locale);
}
