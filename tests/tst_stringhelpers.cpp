#include <TavixQtBase/stringhelpers.h>

#include <QCoreApplication>
#include <QProcess>
#include <QtTest>

#include "texttable.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <limits>
#include <thread>
#include <vector>

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

// The tables below hold the text a call gave and the text expected of it; a null
// expected text asks for a null result.

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
        addRow(tag + "image count in the default locale", formatImageCount(1234, 1234567),
            QStringLiteral("Images: %1; Errors: %2").arg(localized("1,234", locale), localized("1,234,567", locale)));
    }
    QLocale::setDefault(previousDefault);
    const auto number = [](double value, int precision, FormatValueFlags flags) {
        return formatDoubleValue(value, precision, flags, english);
    };
    addRow("1000 is the first magnitude searched", number(1000.0, 0, none), "1000");
    addRow("a value rounding up to 1000 keeps its separator", number(999.9999, 0, none), "1,000");
    addRow("negative magnitude loses its separators", number(-1234.5, 1, none), "-1234.5");
    addRow("German decimal comma", formatDoubleValue(999.5, 1, none, german), "999,5");
    addRow("no flags keep every fraction digit", number(3.0, 3, none), "3.000");
    addRow("whole value loses its fraction", number(3.0, 3, omit), "3");
    addRow("omitting tests the value, not the text", number(2.0004, 3, omit), "2.000");
    addRow("trimming tests the text", number(2.0004, 3, trim), "2.0");
    addRow("trimming stops at a non-zero digit", number(12.5, 3, trim), "12.5");
    addRow("trimming without a decimal point", number(100.0, 0, trim), "100");
    addRow("general notation counts significant digits", number(1234.5678, 6, general), "1234.57");
    const QString exponential = "1.5" + QString(english.exponential()) + "+20";
    addRow("general notation is never trimmed", number(1.5e20, 3, general | trim), exponential);
    addRow("general notation is never cut", number(1.5e20, 3, general | omit), exponential);
    for (const double value : { qQNaN(), qInf(), -qInf() }) {
        addRow("untouched: " + QByteArray::number(value), formatDoubleValue(value, 2, FormatValueFlags(0x7F), german),
            german.toString(value, 'g', 2));
    }
    addRow(
        "unsigned 2^63 stays positive", formatUnsignedIntegerValue(1ULL << 63, none, english), "9223372036854775808");
    const qulonglong largest = std::numeric_limits<qulonglong>::max();
    addRow("largest unsigned value grouped", formatUnsignedIntegerValue(largest, group, english),
        "18,446,744,073,709,551,615");
    QLocale::setDefault(english);
    addRow("image count example", formatImageCount(1234, 0), "Images: 1,234; Errors: 0");
    addRow("largest image count", formatImageCount(largest, 1), "Images: 18,446,744,073,709,551,615; Errors: 1");
    QLocale::setDefault(german);
    addRow("default locale and no flags", formatDoubleValue(1234.5, 1), "1234,5");
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
    addRow("no multiplier, unit only", units(42, 0, MultiplierNone, "px", show), "42 px");
    addRow("binary symbol", units(1073741824, 0, MultiplierGiga, "B", binary | show), "1 GiB");
    addRow("binary name", units(1536, 1, MultiplierKilo, "B", binary | show | byName), "1.5 kibiB");
    addRow("largest binary multiplier", units(std::ldexp(3.0, 80), 0, MultiplierYotta, "B", binary | show), "3 YiB");
    // Binary multipliers end at yotta: milli is neither scaled nor named.
    addRow("binary milli", units(0.5, 3, MultiplierMilli, "s", binary | show), "0.500 s");
    addRow("smallest multiplier", units(7e-24, 0, MultiplierYocto, "g", show), "7 yg");
    addRow("multiplier past the table", units(1500, 0, MultiplierYocto + 1, "Hz", show), "1500 Hz");
    addRow("micro sign", units(2.5e-6, 1, MultiplierMicro, "m", show), QStringLiteral("2.5 \u00b5m"));
    addRow("flags and locale reach the number",
        formatDoubleValueAndUnits(2500, 3, MultiplierKilo, QStringLiteral("Hz"), show | trim, german), "2,5 kHz");
    addRow("signed integer", formatIntegerValueAndUnits(-1500, 1, MultiplierKilo, "V", show, english), "-1.5 kV");
    addRow("unsigned 2^63 keeps its magnitude",
        formatUnsignedIntegerValueAndUnits(1ULL << 63, 0, MultiplierExa, "B", binary | show, english), "8 EiB");
}

void StringHelpersTest::fields_data()
{
    addColumns();
    const QString fields = QStringLiteral("a;bb;ccc"), semicolon = QStringLiteral(";");
    addRow("first field", extract(fields, 0, semicolon), "1 [a]");
    addRow("middle field", extract(fields, 1, semicolon), "1 [bb]");
    addRow("last field", extract(fields, 2, semicolon), "1 [ccc]");
    addRow("missing field is null", extract(fields, 3, semicolon), "0 null");
    addRow("field between two separators is empty", extract("a;;c", 1, semicolon), "1 []");
    addRow("field after a trailing separator is empty", extract("a;", 1, semicolon), "1 []");
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
    QCOMPARE(child.readAllStandardOutput().trimmed(), QByteArray("de_DE same system"));
}

// Child mode: threads race for the first call while the default locale differs
// from the system's; every call must return the one copy of the system locale.
static int runSystemLocaleChild(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    constexpr int threadCount = 4;
    std::atomic<bool> go { false };
    const QLocale* seen[threadCount] = {};
    std::vector<std::thread> threads;
    for (int i = 0; i < threadCount; ++i) {
        threads.emplace_back([&go, &seen, i] {
            while (!go.load()) { }
            seen[i] = &getSystemLocale();
        });
    }
    go.store(true);
    bool same = true;
    for (int i = 0; i < threadCount; ++i) {
        threads[size_t(i)].join();
        same = same && seen[i] == &getSystemLocale();
    }
    std::printf("%s %s %s\n", qPrintable(getSystemLocale().name()), same ? "same" : "different",
        getSystemLocale() == QLocale::system() ? "system" : "not system");
    return 0;
}

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--system-locale") == 0) {
        return runSystemLocaleChild(argc, argv);
    }
    QCoreApplication app(argc, argv);
    StringHelpersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_stringhelpers.moc"
