// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/stringhelpers.h>

#include <QCoreApplication>
#include <QProcess>
#include <QtTest>

#include "texttable.h"

#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <thread>

namespace {

constexpr FormatValueFlags none;
constexpr FormatValueFlags group = FormatValueGroupDigits, omit = FormatValueOmitZeroFraction,
                           trim = FormatValueTrimZeros, general = FormatValueGeneral, show = FormatValueShowMultiplier,
                           binary = FormatValueBinaryMultiplier, byName = FormatValueMultiplierName;

// Writes a number given in English notation with the characters of @p locale:
// ',' group separator (none where the locale omits them, as Qt's C locale does),
// '.' decimal point, '-' minus sign.
QString localized(const char* english, const QLocale& locale)
{
    const bool groups = !locale.numberOptions().testFlag(QLocale::OmitGroupSeparator);
    return QString::fromLatin1(english)
        .replace(QLatin1Char('.'), QChar(1))
        .replace(QLatin1Char(','), groups ? QString(locale.groupSeparator()) : QString())
        .replace(QChar(1), QString(locale.decimalPoint()))
        .replace(QLatin1Char('-'), QString(locale.negativeSign()));
}

// Whether ExtractSubString() found the field, then the result: "null", or the
// text in brackets; it starts as "stale".
QString extract(const QString& text, uint index, const QString& separator)
{
    QString field = QStringLiteral("stale");
    const bool found = ExtractSubString(field, text, index, separator);
    return QString::number(found) + (field.isNull() ? QStringLiteral(" null") : " [" + field + "]");
}

const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);

} // namespace

class StringHelpersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numbers_data();
    void numbers() { compareRow(); }
    void valuesAndUnits_data();
    void valuesAndUnits() { compareRow(); }
    void autoUnits_data();
    void autoUnits() { compareRow(); }
    void multiplierTableRows();
    void fields_data();
    void fields() { compareRow(); }
    void systemLocaleIsCopiedOnce();
};

void StringHelpersTest::numbers_data()
{
    addColumns();
    // Locale-dependent rules, compared with each locale's own characters.
    const QLocale previousDefault;
    for (const QLocale& locale : { english, german, QLocale(QLocale::French, QLocale::France), QLocale::c() }) {
        const QByteArray tag = locale.name().toLatin1() + ": ";
        const auto number = [&locale](double value, int precision, FormatValueFlags flags) {
            return formatDoubleValue(value, precision, flags, locale);
        };
        addRow(tag + "double ungrouped", number(1234567.891, 2, none), localized("1234567.89", locale));
        addRow(tag + "double grouped", number(1234567.891, 2, group), localized("1,234,567.89", locale));
        // The fraction starts at the locale's decimal point, not at a group separator.
        addRow(tag + "whole value cut", number(1234567.0, 2, group | omit), localized("1,234,567", locale));
        addRow(tag + "zeros trimmed", number(3.0, 3, trim), localized("3.0", locale));
        addRow(tag + "integer ungrouped", formatIntegerValue(-1234567, none, locale), localized("-1234567", locale));
        addRow(tag + "integer grouped", formatIntegerValue(-1234567, group, locale), localized("-1,234,567", locale));
        QLocale::setDefault(locale);
        addRow(tag + "default locale when none is given", formatDoubleValue(1234.5, 1), localized("1234.5", locale));
        addRow(tag + "image count in the default locale", formatImageCount(1234, 1234567),
            QStringLiteral("Images: %1; Errors: %2").arg(localized("1,234", locale), localized("1,234,567", locale)));
    }
    QLocale::setDefault(previousDefault);
    const auto number = [](double value, int precision, FormatValueFlags flags) {
        return formatDoubleValue(value, precision, flags, english);
    };
    addRow("1000 is the first magnitude searched", number(1000.0, 0, none), "1000");
    addRow("integers of magnitude 1000 lose their separators",
        formatIntegerValue(1000, none, english) + ' ' + formatIntegerValue(-1000, none, english) + ' '
            + formatUnsignedIntegerValue(1000, none, english),
        "1000 -1000 1000");
    addRow("negative magnitude loses its separators", number(-1234.5, 1, none), "-1234.5");
    addRow("omitting tests the value, not the text", number(2.0004, 3, omit), "2.000");
    addRow("trimming stops at a non-zero digit", number(12.25, 4, trim), "12.25");
    addRow("trimming without a decimal point", number(100.0, 0, trim), "100");
    addRow("general notation is neither trimmed nor cut", number(1.5e20, 3, general | trim | omit),
        "1.5" + QString(english.exponential()) + "+20");
    QLocale::setDefault(english);
    addRow("largest image count", formatImageCount(std::numeric_limits<qulonglong>::max(), 1),
        "Images: 18,446,744,073,709,551,615; Errors: 1");
    QLocale::setDefault(previousDefault);
}

void StringHelpersTest::valuesAndUnits_data()
{
    addColumns();
    const auto units = [](double value, int precision, int multiplier, const char* unit, FormatValueFlags flags) {
        return formatDoubleValueAndUnits(
            value, precision, FormatMultiplier(multiplier), QString::fromLatin1(unit), flags, english);
    };
    addRow("decimal symbol", units(1500000, 1, MultiplierMega, "Hz", show), "1.5 MHz");
    addRow("decimal name", units(1500000, 1, MultiplierMega, "Hz", show | byName), "1.5 megaHz");
    addRow("scaled without prefix", units(1500000, 1, MultiplierMega, "Hz", none), "1.5 Hz");
    addRow("prefix without unit", units(1500, 1, MultiplierKilo, "", show), "1.5 k");
    addRow("no unit, no prefix shown", units(1500, 1, MultiplierKilo, "", none), "1.5");
    addRow("binary name", units(1536, 1, MultiplierKilo, "B", binary | show | byName), "1.5 kibiB");
    addRow("largest binary multiplier", units(std::ldexp(3.0, 80), 0, MultiplierYotta, "B", binary | show), "3 YiB");
    addRow("smallest multiplier", units(7e-24, 0, MultiplierYocto, "g", show), "7 yg");
    addRow("multiplier past the table", units(1500, 0, MultiplierYocto + 1, "Hz", show), "1500 Hz");
    addRow("flags and locale reach the number",
        formatDoubleValueAndUnits(2500, 3, MultiplierKilo, QStringLiteral("Hz"), show | trim, german), "2,5 kHz");
    addRow("signed integer", formatIntegerValueAndUnits(-1500, 1, MultiplierKilo, "V", show, german), "-1,5 kV");
    addRow("unsigned 2^63 keeps its magnitude",
        formatUnsignedIntegerValueAndUnits(1ULL << 63, 0, MultiplierExa, "B", binary | show, english), "8 EiB");
}

void StringHelpersTest::autoUnits_data()
{
    addColumns();
    const auto units = [](double value, int precision, FormatValueFlags flags) {
        return formatDoubleValueAndAutoUnits(value, precision, QStringLiteral("B"), flags, english);
    };
    // Each boundary from both sides: the largest value shown below it, the value at it,
    // and the value that only rounding carries over it.
    const char* const decimalSymbols[]
        = { "y", "z", "a", "f", "p", "n", "\xc2\xb5", "m", "", "k", "M", "G", "T", "P", "E", "Z", "Y" };
    for (int i = 1; i < int(std::size(decimalSymbols)); ++i) {
        const double boundary = std::pow(10.0, 3 * (i - 8));
        const QString below = QString::fromUtf8(decimalSymbols[i - 1]) + 'B',
                      at = QString::fromUtf8(decimalSymbols[i]) + 'B';
        addRow("below 1 " + at.toUtf8(), units(999.9 * boundary / 1000, 1, none), "999.9 " + below);
        addRow("at 1 " + at.toUtf8(), units(boundary, 1, none), "1.0 " + at);
        addRow("rounded up to 1 " + at.toUtf8(), units(999.96 * boundary / 1000, 1, none), "1.0 " + at);
    }
    const char* const binarySymbols[] = { "", "Ki", "Mi", "Gi", "Ti", "Pi", "Ei", "Zi", "Yi" };
    for (int i = 1; i < int(std::size(binarySymbols)); ++i) {
        const double boundary = std::ldexp(1.0, 10 * i);
        const QString below = QString::fromLatin1(binarySymbols[i - 1]) + 'B',
                      at = QString::fromLatin1(binarySymbols[i]) + 'B';
        addRow("below 1 " + at.toUtf8(), units(1023.9 * boundary / 1024, 1, binary), "1023.9 " + below);
        addRow("at 1 " + at.toUtf8(), units(boundary, 1, binary), "1.0 " + at);
        addRow("rounded up to 1 " + at.toUtf8(), units(1023.96 * boundary / 1024, 1, binary), "1.0 " + at);
    }
    addRow("zero", units(0, 1, none), "0.0 B");
    addRow("negative takes the prefix of its magnitude", units(-2500, 1, none), "-2.5 kB");
    addRow("NaN", units(qQNaN(), 1, none), "nan B");
    addRow("infinity", units(-qInf(), 1, binary), "-inf B");
    addRow("beyond yotta stays at yotta", units(2.5e27, 0, group), "2,500 YB");
    addRow("below yocto stays at yocto", units(4e-25, 1, none), "0.4 yB");
    addRow("binary does not shrink", units(0.5, 1, binary), "0.5 B");
    addRow("general notation rounds too", units(999.7, 3, general), "1 kB");
    addRow("flags and locale as formatDoubleValueAndUnits",
        formatDoubleValueAndAutoUnits(2500, 3, QStringLiteral("Hz"), trim | byName, german), "2,5 kiloHz");
}

void StringHelpersTest::multiplierTableRows()
{
    // Decimal factor, binary factor (1 where there is none), then the decimal symbol
    // and name and the binary symbol and name, in UTF-8.
    const struct
    {
        double decimalFactor;
        double binaryFactor;
        const char* prefixes;
    } expected[] = {
        { 1, 1, "|||" },
        { 1e3, 0x1p10, "k|kilo|Ki|kibi" },
        { 1e6, 0x1p20, "M|mega|Mi|mebi" },
        { 1e9, 0x1p30, "G|giga|Gi|gibi" },
        { 1e12, 0x1p40, "T|tera|Ti|tebi" },
        { 1e15, 0x1p50, "P|peta|Pi|pebi" },
        { 1e18, 0x1p60, "E|exa|Ei|exbi" },
        { 1e21, 0x1p70, "Z|zetta|Zi|zebi" },
        { 1e24, 0x1p80, "Y|yotta|Yi|yobi" },
        { 1e-3, 1, "m|milli||" },
        { 1e-6, 1, "\xc2\xb5|micro||" },
        { 1e-9, 1, "n|nano||" },
        { 1e-12, 1, "p|pico||" },
        { 1e-15, 1, "f|femto||" },
        { 1e-18, 1, "a|atto||" },
        { 1e-21, 1, "z|zepto||" },
        { 1e-24, 1, "y|yocto||" },
    };
    static_assert(std::size(expected) == std::size(multiplierTable), "one expected row per multiplier");
    const auto text = [](const wchar_t* wide) { return QString::fromWCharArray(wide); };
    for (size_t i = 0; i < std::size(expected); ++i) {
        const FormatMultiplierEntry& entry = multiplierTable[i];
        const QStringList prefixes
            = { text(entry.decimalSymbol), text(entry.decimalName), text(entry.binarySymbol), text(entry.binaryName) };
        QCOMPARE(prefixes.join(QLatin1Char('|')), QString::fromUtf8(expected[i].prefixes));
        QVERIFY2(entry.decimalFactor == expected[i].decimalFactor && entry.binaryFactor == expected[i].binaryFactor,
            expected[i].prefixes);
    }
}

void StringHelpersTest::fields_data()
{
    addColumns();
    const QString fields = QStringLiteral("a;bb;ccc"), semicolon = QStringLiteral(";");
    addRow("middle field", extract(fields, 1, semicolon), "1 [bb]");
    addRow("last field", extract(fields, 2, semicolon), "1 [ccc]");
    addRow("missing field is null", extract(fields, 3, semicolon), "0 null");
    addRow("field between two separators is empty", extract("a;;c", 1, semicolon), "1 []");
    addRow("empty separator leaves the result", extract(fields, 0, QString()), "0 [stale]");
    addRow("empty text leaves the result", extract(QStringLiteral(""), 0, semicolon), "0 [stale]");
    // ":::" is one separator and a ':' that starts the next field.
    addRow("separators do not overlap", extract("a::b:::c", 2, "::"), "1 [:c]");
    addRow("separator compared case-sensitively", extract("aXbxc", 1, "x"), "1 [c]");
}

void StringHelpersTest::systemLocaleIsCopiedOnce()
{
    // The copy is per process: a child with a German system locale takes it.
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    environment.remove(QStringLiteral("LC_ALL"));
    environment.remove(QStringLiteral("LC_NUMERIC"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--system-locale") });
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.readAllStandardOutput(), QByteArray("de_DE same\n"));
}

// Child mode: another thread makes the first call while the default locale differs
// from the system's; the calls of this thread must return the same copy.
static int runSystemLocaleChild()
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    const QLocale* first = nullptr;
    std::thread([&first] { first = &getSystemLocale(); }).join();
    std::printf("%s %s\n", qPrintable(first->name()), first == &getSystemLocale() ? "same" : "different");
    return 0;
}

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--system-locale") == 0) {
        return runSystemLocaleChild();
    }
    QCoreApplication app(argc, argv);
    StringHelpersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_stringhelpers.moc"
