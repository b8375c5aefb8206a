// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/stringhelpers.h>

#include <QCoreApplication>
#include <QProcess>
#include <QtTest>

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
// its digits, ',' group separator (none where the locale omits them, as Qt's C
// locale does), '.' decimal point, '-' minus sign.
QString localized(const char* english, const QLocale& locale)
{
    const bool groups = !locale.numberOptions().testFlag(QLocale::OmitGroupSeparator);
    QString text;
    for (const char* c = english; *c; ++c) {
        if (*c >= '0' && *c <= '9') {
            text += locale.toString(*c - '0');
        } else if (*c == ',') {
            text += groups ? QString(locale.groupSeparator()) : QString();
        } else if (*c == '.') {
            text += locale.decimalPoint();
        } else if (*c == '-') {
            text += locale.negativeSign();
        } else {
            text += QLatin1Char(*c);
        }
    }
    return text;
}

const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);

// Locale-dependent rules are compared with each locale's own characters.
const QLocale locales[] = { english, german, QLocale(QLocale::French, QLocale::France), QLocale::c() };

QByteArray rowName(const QLocale& locale, const char* name)
{
    return locale.name().toLatin1() + ": " + name;
}

} // namespace

Q_DECLARE_METATYPE(FormatValueFlags)

class StringHelpersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void doubleValues_data();
    void doubleValues();
    void integerValues_data();
    void integerValues();
    void defaultLocale_data();
    void defaultLocale();
    void valuesAndUnits_data();
    void valuesAndUnits();
    void integerValuesAndUnits();
    void autoUnits_data();
    void autoUnits();
    void multiplierTableRows();
    void fields_data();
    void fields();
    void systemLocaleIsCopiedOnce();
};

void StringHelpersTest::doubleValues_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<FormatValueFlags>("flags");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    for (const QLocale& locale : locales) {
        QTest::newRow(rowName(locale, "ungrouped").constData())
            << 1234567.891 << 2 << none << locale << localized("1234567.89", locale);
        QTest::newRow(rowName(locale, "grouped").constData())
            << 1234567.891 << 2 << group << locale << localized("1,234,567.89", locale);
        // The fraction starts at the locale's decimal point, not at a group separator.
        QTest::newRow(rowName(locale, "whole value cut").constData())
            << 1234567.0 << 2 << (group | omit) << locale << localized("1,234,567", locale);
        QTest::newRow(rowName(locale, "zeros trimmed").constData())
            << 3.0 << 3 << trim << locale << localized("3.0", locale);
    }
    // Digits of their own, one of them (Chakma in Qt 6) beyond the Basic Multilingual Plane.
    for (const char* name : { "ar_EG", "fa_IR", "bn_BD", "mr_IN", "ne_NP", "my_MM", "ccp_BD" }) {
        const QLocale locale(QString::fromLatin1(name));
        QTest::newRow(rowName(locale, "own zero digits trimmed").constData())
            << 3.0 << 3 << trim << locale << localized("3.0", locale);
    }
    // 2^-1074 has 1074 digits after the point, the last one nonzero; no double has more.
    const double smallestDenormal = std::numeric_limits<double>::denorm_min();
    const int hugePrecision = std::numeric_limits<int>::max();
    QTest::newRow("fixed precision beyond a double's digits")
        << smallestDenormal << hugePrecision << none << english << english.toString(smallestDenormal, 'f', 1074);
    QTest::newRow("general precision beyond a double's digits")
        << 0.1 << hugePrecision << general << english << "0.1000000000000000055511151231257827021181583404541015625";
    QTest::newRow("1000 is the first magnitude searched") << 1000.0 << 0 << none << english << "1000";
    QTest::newRow("negative magnitude loses its separators") << -1234.5 << 1 << none << english << "-1234.5";
    QTest::newRow("omitting tests the value, not the text") << 2.0004 << 3 << omit << english << "2.000";
    QTest::newRow("trimming stops at a non-zero digit") << 12.25 << 4 << trim << english << "12.25";
    QTest::newRow("trimming without a decimal point") << 100.0 << 0 << trim << english << "100";
    QTest::newRow("general notation is neither trimmed nor cut")
        << 1.5e20 << 3 << (general | trim | omit) << english << "1.5" + QString(english.exponential()) + "+20";
}

void StringHelpersTest::doubleValues()
{
    QFETCH(double, value);
    QFETCH(int, precision);
    QFETCH(FormatValueFlags, flags);
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QCOMPARE(formatDoubleValue(value, precision, flags, locale), expected);
}

void StringHelpersTest::integerValues_data()
{
    QTest::addColumn<qlonglong>("value");
    QTest::addColumn<FormatValueFlags>("flags");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    for (const QLocale& locale : locales) {
        QTest::newRow(rowName(locale, "ungrouped").constData())
            << -1234567LL << none << locale << localized("-1234567", locale);
        QTest::newRow(rowName(locale, "grouped").constData())
            << -1234567LL << group << locale << localized("-1,234,567", locale);
    }
    QTest::newRow("magnitude 1000 loses its separators") << 1000LL << none << english << "1000";
    QTest::newRow("negative magnitude 1000 loses its separators") << -1000LL << none << english << "-1000";
}

void StringHelpersTest::integerValues()
{
    QFETCH(qlonglong, value);
    QFETCH(FormatValueFlags, flags);
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QCOMPARE(formatIntegerValue(value, flags, locale), expected);
    if (value >= 0) {
        QCOMPARE(formatUnsignedIntegerValue(qulonglong(value), flags, locale), expected);
    }
}

void StringHelpersTest::defaultLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<qulonglong>("images");
    QTest::addColumn<QString>("expectedNumber");
    QTest::addColumn<QString>("expectedCount");
    for (const QLocale& locale : locales) {
        QTest::newRow(locale.name().toLatin1().constData())
            << locale << 1234ULL << localized("1234.5", locale)
            << QStringLiteral("Images: %1; Errors: %2").arg(localized("1,234", locale), localized("1,234,567", locale));
    }
    QTest::newRow("largest image count") << english << std::numeric_limits<qulonglong>::max() << "1234.5"
                                         << "Images: 18,446,744,073,709,551,615; Errors: 1,234,567";
}

void StringHelpersTest::defaultLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(qulonglong, images);
    QFETCH(QString, expectedNumber);
    QFETCH(QString, expectedCount);
    const QLocale previousDefault;
    QLocale::setDefault(locale);
    const QString number = formatDoubleValue(1234.5, 1);
    const QString count = formatImageCount(images, 1234567);
    QLocale::setDefault(previousDefault);
    QCOMPARE(number, expectedNumber);
    QCOMPARE(count, expectedCount);
}

void StringHelpersTest::valuesAndUnits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<int>("multiplier");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<FormatValueFlags>("flags");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    const QString hertz = QStringLiteral("Hz"), bytes = QStringLiteral("B"), noUnit = QStringLiteral("");
    QTest::newRow("decimal symbol") << 1500000.0 << 1 << int(MultiplierMega) << hertz << show << english << "1.5 MHz";
    QTest::newRow("decimal name") << 1500000.0 << 1 << int(MultiplierMega) << hertz << (show | byName) << english
                                  << "1.5 megaHz";
    QTest::newRow("scaled without prefix")
        << 1500000.0 << 1 << int(MultiplierMega) << hertz << none << english << "1.5 Hz";
    QTest::newRow("prefix without unit") << 1500.0 << 1 << int(MultiplierKilo) << noUnit << show << english << "1.5 k";
    QTest::newRow("no unit, no prefix shown")
        << 1500.0 << 1 << int(MultiplierKilo) << noUnit << none << english << "1.5";
    QTest::newRow("binary name") << 1536.0 << 1 << int(MultiplierKilo) << bytes << (binary | show | byName) << english
                                 << "1.5 kibiB";
    QTest::newRow("largest binary multiplier")
        << std::ldexp(3.0, 80) << 0 << int(MultiplierYotta) << bytes << (binary | show) << english << "3 YiB";
    QTest::newRow("smallest multiplier") << 7e-24 << 0 << int(MultiplierYocto) << QStringLiteral("g") << show << english
                                         << "7 yg";
    QTest::newRow("multiplier past the table")
        << 1500.0 << 0 << int(MultiplierYocto) + 1 << hertz << show << english << "1500 Hz";
    QTest::newRow("flags and locale reach the number")
        << 2500.0 << 3 << int(MultiplierKilo) << hertz << (show | trim) << german << "2,5 kHz";
}

void StringHelpersTest::valuesAndUnits()
{
    QFETCH(double, value);
    QFETCH(int, precision);
    QFETCH(int, multiplier);
    QFETCH(QString, unit);
    QFETCH(FormatValueFlags, flags);
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QCOMPARE(formatDoubleValueAndUnits(value, precision, FormatMultiplier(multiplier), unit, flags, locale), expected);
}

void StringHelpersTest::integerValuesAndUnits()
{
    QCOMPARE(formatIntegerValueAndUnits(-1500, 1, MultiplierKilo, "V", show, german), QStringLiteral("-1,5 kV"));
    // 2^63 does not fit the signed variant.
    QCOMPARE(formatUnsignedIntegerValueAndUnits(1ULL << 63, 0, MultiplierExa, "B", binary | show, english),
        QStringLiteral("8 EiB"));
}

void StringHelpersTest::autoUnits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<FormatValueFlags>("flags");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    const QString bytes = QStringLiteral("B");
    const auto row = [&bytes](const QByteArray& name, double value, int precision, FormatValueFlags flags,
                         const QString& expected) {
        QTest::newRow(name.constData()) << value << precision << bytes << flags << english << expected;
    };
    // Each boundary from both sides: the largest value shown below it, the value at it,
    // and the value that only rounding carries over it.
    const char* const decimalSymbols[]
        = { "y", "z", "a", "f", "p", "n", "\xc2\xb5", "m", "", "k", "M", "G", "T", "P", "E", "Z", "Y" };
    for (int i = 1; i < int(std::size(decimalSymbols)); ++i) {
        const double boundary = std::pow(10.0, 3 * (i - 8));
        const QString below = QString::fromUtf8(decimalSymbols[i - 1]) + 'B',
                      at = QString::fromUtf8(decimalSymbols[i]) + 'B';
        row("below 1 " + at.toUtf8(), 999.9 * boundary / 1000, 1, none, "999.9 " + below);
        row("at 1 " + at.toUtf8(), boundary, 1, none, "1.0 " + at);
        row("rounded up to 1 " + at.toUtf8(), 999.96 * boundary / 1000, 1, none, "1.0 " + at);
    }
    const char* const binarySymbols[] = { "", "Ki", "Mi", "Gi", "Ti", "Pi", "Ei", "Zi", "Yi" };
    for (int i = 1; i < int(std::size(binarySymbols)); ++i) {
        const double boundary = std::ldexp(1.0, 10 * i);
        const QString below = QString::fromLatin1(binarySymbols[i - 1]) + 'B',
                      at = QString::fromLatin1(binarySymbols[i]) + 'B';
        row("below 1 " + at.toUtf8(), 1023.9 * boundary / 1024, 1, binary, "1023.9 " + below);
        row("at 1 " + at.toUtf8(), boundary, 1, binary, "1.0 " + at);
        row("rounded up to 1 " + at.toUtf8(), 1023.96 * boundary / 1024, 1, binary, "1.0 " + at);
    }
    row("zero", 0, 1, none, "0.0 B");
    row("negative takes the prefix of its magnitude", -2500, 1, none, "-2.5 kB");
    row("NaN", qQNaN(), 1, none, "nan B");
    row("infinity", -qInf(), 1, binary, "-inf B");
    row("beyond yotta stays at yotta", 2.5e27, 0, group, "2,500 YB");
    row("below yocto stays at yocto", 4e-25, 1, none, "0.4 yB");
    row("binary does not shrink", 0.5, 1, binary, "0.5 B");
    row("general notation rounds too", 999.7, 3, general, "1 kB");
    row("precision beyond a double's digits", 999.96, std::numeric_limits<int>::max(), trim,
        "999.9600000000000363797880709171295166015625 B");
    QTest::newRow("flags and locale as formatDoubleValueAndUnits")
        << 2500.0 << 3 << QStringLiteral("Hz") << (trim | byName) << german << QStringLiteral("2,5 kiloHz");
}

void StringHelpersTest::autoUnits()
{
    QFETCH(double, value);
    QFETCH(int, precision);
    QFETCH(QString, unit);
    QFETCH(FormatValueFlags, flags);
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QCOMPARE(formatDoubleValueAndAutoUnits(value, precision, unit, flags, locale), expected);
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
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("index");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");
    const QString fields = QStringLiteral("a;bb;ccc"), semicolon = QStringLiteral(";");
    QTest::newRow("middle field") << fields << 1u << semicolon << "1 [bb]";
    QTest::newRow("last field") << fields << 2u << semicolon << "1 [ccc]";
    QTest::newRow("missing field is null") << fields << 3u << semicolon << "0 null";
    QTest::newRow("field between two separators is empty") << QStringLiteral("a;;c") << 1u << semicolon << "1 []";
    QTest::newRow("empty separator leaves the result") << fields << 0u << QString() << "0 [stale]";
    QTest::newRow("empty text leaves the result") << QStringLiteral("") << 0u << semicolon << "0 [stale]";
    // ":::" is one separator and a ':' that starts the next field.
    QTest::newRow("separators do not overlap") << QStringLiteral("a::b:::c") << 2u << QStringLiteral("::") << "1 [:c]";
    QTest::newRow("separator compared case-sensitively")
        << QStringLiteral("aXbxc") << 1u << QStringLiteral("x") << "1 [c]";
}

void StringHelpersTest::fields()
{
    QFETCH(QString, text);
    QFETCH(uint, index);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    // Whether the field was found, then the result: "null", or the text in brackets; it starts as "stale".
    QString field = QStringLiteral("stale");
    const bool found = ExtractSubString(field, text, index, separator);
    QCOMPARE(QString::number(found) + (field.isNull() ? QStringLiteral(" null") : " [" + field + "]"), expected);
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
