#include <TavixQtBase/stringhelpers.h>

#include <QCoreApplication>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <limits>

Q_DECLARE_METATYPE(FormatValueFlags)
Q_DECLARE_METATYPE(FormatMultiplier)

namespace {

// The four locales every number test runs in. Qt's C locale omits group
// separators by default (its number options); the others show them.
QList<QLocale> testLocales()
{
    return { QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::French, QLocale::France), QLocale::c() };
}

// Turns a number written in English notation into the notation of @p locale, with
// the locale's own characters: ',' group separator, '.' decimal point, '-' minus
// sign, 'e' exponent. French groups with a no-break or narrow no-break space,
// depending on the CLDR version that Qt carries.
QString localized(const QString& english, const QLocale& locale)
{
    const bool groups = !locale.numberOptions().testFlag(QLocale::OmitGroupSeparator);
    QString text;
    for (const QChar c : english) {
        switch (c.unicode()) {
        case ',':
            text += groups ? QString(locale.groupSeparator()) : QString();
            break;
        case '.':
            text += QString(locale.decimalPoint());
            break;
        case '-':
            text += QString(locale.negativeSign());
            break;
        case 'e':
            text += QString(locale.exponential());
            break;
        default:
            text += c;
        }
    }
    return text;
}

QByteArray rowName(const char* description, const QLocale& locale)
{
    return QByteArray(description) + " (" + (locale == QLocale::c() ? QByteArray("C") : locale.name().toLatin1()) + ")";
}

// Sets the application's default locale for one scope.
class DefaultLocaleGuard
{
public:
    explicit DefaultLocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocaleGuard() { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

constexpr FormatValueFlags noFlags;
const QLocale english(QLocale::English, QLocale::UnitedStates);

} // namespace

class StringHelpersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatDoubleValue_data();
    void formatDoubleValue();
    void nonFiniteValuesPassThrough_data();
    void nonFiniteValuesPassThrough();
    void formatIntegerValues_data();
    void formatIntegerValues();
    void formatValueAndUnits_data();
    void formatValueAndUnits();
    void integerUnitVariantsConvertToDouble();
    void multiplierTableRows_data();
    void multiplierTableRows();
    void defaultArgumentsUseTheDefaultLocaleAndNoFlags();
    void formatImageCount_data();
    void formatImageCount();
    void extractSubString_data();
    void extractSubString();
    void systemLocaleIsCopiedOnFirstCall_data();
    void systemLocaleIsCopiedOnFirstCall();
};

void StringHelpersTest::formatDoubleValue_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<FormatValueFlags>("flags");
    QTest::addColumn<QString>("expected");

    const FormatValueFlags group = FormatValueGroupDigits;
    const FormatValueFlags omit = FormatValueOmitZeroFraction;
    const FormatValueFlags trim = FormatValueTrimZeros;
    const FormatValueFlags general = FormatValueGeneral;
    struct Case
    {
        const char* name;
        double value;
        int precision;
        FormatValueFlags flags;
        const char* english;
    };
    const Case cases[] = {
        { "separators removed without the flag", 1234567.891, 2, noFlags, "1234567.89" },
        { "separators kept with the flag", 1234567.891, 2, group, "1,234,567.89" },
        { "below 1000 there is nothing to remove", 999.5, 1, noFlags, "999.5" },
        // Only magnitudes of 1000 and above are searched for separators.
        { "a value rounding up to 1000 keeps its separator", 999.9999, 0, noFlags, "1,000" },
        { "1000 is the first magnitude with a separator", 1000.0, 0, noFlags, "1000" },
        { "1000 grouped", 1000.0, 0, group, "1,000" },
        { "negative magnitudes lose their separators too", -1234.5, 1, noFlags, "-1234.5" },
        { "negative grouped", -1234.5, 1, group, "-1,234.5" },
        { "no flags keep every fraction digit", 3.0, 3, noFlags, "3.000" },
        { "whole value loses its fraction", 3.0, 3, omit, "3" },
        { "trimming keeps one fraction digit", 3.0, 3, trim, "3.0" },
        { "omitting wins over trimming", 3.0, 3, omit | trim, "3" },
        { "omitting tests the value, not the text", 2.0004, 3, omit, "2.000" },
        { "trimming tests the text", 2.0004, 3, trim, "2.0" },
        { "a value that is not whole keeps its fraction", 0.5, 3, omit, "0.500" },
        { "trimming stops at the first non-zero", 12.5, 3, trim, "12.5" },
        { "trimming a whole value keeps one zero", 12.0, 3, trim, "12.0" },
        { "trimming leaves the integer digits alone", 100.0, 2, trim, "100.0" },
        { "trimming without a decimal point changes nothing", 100.0, 0, trim, "100" },
        { "whole grouped value without fraction", 1234567.0, 2, group | omit, "1,234,567" },
        { "trimmed grouped value", 1234567.5, 3, group | trim, "1,234,567.5" },
        { "general notation counts significant digits", 1234.5678, 6, general, "1234.57" },
        { "general notation keeps separators with the flag", 1234.5678, 6, general | group, "1,234.57" },
        // The exponent's trailing zero would go if trimming applied to general notation.
        { "general notation is never trimmed", 1.5e20, 3, general | trim, "1.5e+20" },
        // 1.5e20 is whole: cutting at the decimal point would leave "1".
        { "general notation is never cut", 1.5e20, 3, general | omit, "1.5e+20" },
        { "bits without a meaning are ignored", 1234.5, 1, FormatValueFlags(QFlag(0x80 | 0x100)), "1234.5" },
        { "multiplier bits do not scale a plain value", 1234.5, 1,
            FormatValueBinaryMultiplier | FormatValueShowMultiplier | FormatValueMultiplierName, "1234.5" },
    };
    for (const QLocale& locale : testLocales()) {
        for (const Case& c : cases) {
            QTest::newRow(rowName(c.name, locale))
                << locale << c.value << c.precision << c.flags << localized(QString::fromLatin1(c.english), locale);
        }
    }
    // German uses '.' to group and ',' as decimal point.
    QTest::newRow("German decimal comma") << QLocale(QLocale::German) << 999.5 << 1 << noFlags << "999,5";
}

void StringHelpersTest::formatDoubleValue()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(int, precision);
    QFETCH(FormatValueFlags, flags);
    QFETCH(QString, expected);

    QCOMPARE(::formatDoubleValue(value, precision, flags, locale), expected);
}

void StringHelpersTest::nonFiniteValuesPassThrough_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");

    for (const QLocale& locale : testLocales()) {
        QTest::newRow(rowName("NaN", locale)) << locale << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow(rowName("infinity", locale)) << locale << std::numeric_limits<double>::infinity();
        QTest::newRow(rowName("negative infinity", locale)) << locale << -std::numeric_limits<double>::infinity();
    }
}

void StringHelpersTest::nonFiniteValuesPassThrough()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);

    const FormatValueFlags every = FormatValueTrimZeros | FormatValueOmitZeroFraction | FormatValueGroupDigits;
    for (const FormatValueFlags flags : { noFlags, every, every | FormatValueGeneral }) {
        const char format = flags.testFlag(FormatValueGeneral) ? 'g' : 'f';
        QCOMPARE(::formatDoubleValue(value, 2, flags, locale), locale.toString(value, format, 2));
    }
}

void StringHelpersTest::formatIntegerValues_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("isUnsigned");
    QTest::addColumn<qulonglong>("bits");
    QTest::addColumn<FormatValueFlags>("flags");
    QTest::addColumn<QString>("expected");

    const FormatValueFlags group = FormatValueGroupDigits;
    const FormatValueFlags allButGroup = FormatValueFlags(QFlag(0x7F)) & ~group;
    struct Case
    {
        const char* name;
        bool isUnsigned;
        qulonglong bits;
        FormatValueFlags flags;
        const char* english;
    };
    const Case cases[] = {
        { "negative without separators", false, qulonglong(-1234567LL), noFlags, "-1234567" },
        { "negative grouped", false, qulonglong(-1234567LL), group, "-1,234,567" },
        { "small value", false, 999, noFlags, "999" },
        { "zero", false, 0, group, "0" },
        { "smallest signed value", false, qulonglong(std::numeric_limits<qlonglong>::min()), group,
            "-9,223,372,036,854,775,808" },
        { "fraction and multiplier flags are ignored", false, 1234, allButGroup, "1234" },
        { "largest unsigned value", true, std::numeric_limits<qulonglong>::max(), noFlags, "18446744073709551615" },
        { "largest unsigned value grouped", true, std::numeric_limits<qulonglong>::max(), group,
            "18,446,744,073,709,551,615" },
        { "unsigned 2^63 stays positive", true, 1ULL << 63, noFlags, "9223372036854775808" },
    };
    for (const QLocale& locale : testLocales()) {
        for (const Case& c : cases) {
            QTest::newRow(rowName(c.name, locale))
                << locale << c.isUnsigned << c.bits << c.flags << localized(QString::fromLatin1(c.english), locale);
        }
    }
}

void StringHelpersTest::formatIntegerValues()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, isUnsigned);
    QFETCH(qulonglong, bits);
    QFETCH(FormatValueFlags, flags);
    QFETCH(QString, expected);

    const QString text = isUnsigned ? formatUnsignedIntegerValue(bits, flags, locale)
                                    : formatIntegerValue(static_cast<qlonglong>(bits), flags, locale);
    QCOMPARE(text, expected);
}

void StringHelpersTest::formatValueAndUnits_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<FormatMultiplier>("multiplier");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<FormatValueFlags>("flags");
    QTest::addColumn<QString>("expected");

    const FormatValueFlags show = FormatValueShowMultiplier;
    const FormatValueFlags name = FormatValueMultiplierName;
    const FormatValueFlags binary = FormatValueBinaryMultiplier;
    struct Case
    {
        const char* name;
        double value;
        int precision;
        int multiplier;
        const char* unit;
        FormatValueFlags flags;
        const char* englishNumber;
        const char* suffix; // UTF-8
    };
    const Case cases[] = {
        { "decimal symbol", 1500000, 1, MultiplierMega, "Hz", show, "1.5", " MHz" },
        { "decimal name", 1500000, 1, MultiplierMega, "Hz", show | name, "1.5", " megaHz" },
        { "scaled without prefix", 1500000, 1, MultiplierMega, "Hz", noFlags, "1.5", " Hz" },
        { "prefix without unit", 1500, 1, MultiplierKilo, "", show, "1.5", " k" },
        { "binary symbol", 1073741824, 0, MultiplierGiga, "B", binary | show, "1", " GiB" },
        { "binary name", 1536, 1, MultiplierKilo, "B", binary | show | name, "1.5", " kibiB" },
        { "largest binary multiplier", std::ldexp(3.0, 80), 0, MultiplierYotta, "B", binary | show, "3", " YiB" },
        { "largest decimal multiplier", 2e24, 0, MultiplierYotta, "m", show | name, "2", " yottam" },
        { "milli", 0.0015, 1, MultiplierMilli, "s", show, "1.5", " ms" },
        { "micro sign", 2.5e-6, 1, MultiplierMicro, "m", show, "2.5", " \u00b5m" },
        { "smallest multiplier", 7e-24, 0, MultiplierYocto, "g", show, "7", " yg" },
        // Binary multipliers end at yotta: milli is not scaled and has no prefix.
        { "binary milli is out of range", 0.5, 3, MultiplierMilli, "s", binary | show, "0.500", " s" },
        { "multiplier past the table", 1500, 0, 17, "Hz", show, "1500", " Hz" },
        { "multiplier far past the table", 1500, 0, 31, "Hz", show | name, "1500", " Hz" },
        { "no multiplier, unit only", 42, 0, MultiplierNone, "px", show, "42", " px" },
        { "no multiplier, no unit", 42, 0, MultiplierNone, "", show, "42", "" },
        { "no unit, no prefix shown", 1500, 1, MultiplierKilo, "", noFlags, "1.5", "" },
        { "grouping applies to the scaled value", 1234567890, 0, MultiplierKilo, "B", show | FormatValueGroupDigits,
            "1,234,568", " kB" },
        { "separators removed from the scaled value", 1234567890, 0, MultiplierKilo, "B", show, "1234568", " kB" },
        { "whole scaled value loses its fraction", 2000, 2, MultiplierKilo, "Hz", show | FormatValueOmitZeroFraction,
            "2", " kHz" },
        { "scaled value that is not whole keeps it", 2500, 2, MultiplierKilo, "Hz", show | FormatValueOmitZeroFraction,
            "2.50", " kHz" },
        { "scaled value trimmed", 2500, 3, MultiplierKilo, "Hz", show | FormatValueTrimZeros, "2.5", " kHz" },
        { "unit is not translated", 1500, 1, MultiplierKilo, "\u00c5", show, "1.5", " k\u00c5" },
    };
    for (const QLocale& locale : testLocales()) {
        for (const Case& c : cases) {
            QTest::newRow(rowName(c.name, locale))
                << locale << c.value << c.precision << FormatMultiplier(c.multiplier) << QString::fromUtf8(c.unit)
                << c.flags << localized(QString::fromLatin1(c.englishNumber), locale) + QString::fromUtf8(c.suffix);
        }
    }
}

void StringHelpersTest::formatValueAndUnits()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(int, precision);
    QFETCH(FormatMultiplier, multiplier);
    QFETCH(QString, unit);
    QFETCH(FormatValueFlags, flags);
    QFETCH(QString, expected);

    QCOMPARE(formatDoubleValueAndUnits(value, precision, multiplier, unit, flags, locale), expected);
}

void StringHelpersTest::integerUnitVariantsConvertToDouble()
{
    const QString volt = QStringLiteral("V"), bytes = QStringLiteral("B");
    const FormatValueFlags show = FormatValueShowMultiplier;
    QCOMPARE(formatIntegerValueAndUnits(-1500, 1, MultiplierKilo, volt, show, english), QStringLiteral("-1.5 kV"));
    QCOMPARE(formatIntegerValueAndUnits(std::numeric_limits<qlonglong>::min(), 0, MultiplierExa, bytes,
                 show | FormatValueBinaryMultiplier, english),
        QStringLiteral("-8 EiB"));
    // 2^64 - 1 is about 1.8e19; a signed conversion would give -1.
    QCOMPARE(formatUnsignedIntegerValueAndUnits(
                 std::numeric_limits<qulonglong>::max(), 1, MultiplierExa, bytes, show, english),
        QStringLiteral("18.4 EB"));
    QCOMPARE(formatUnsignedIntegerValueAndUnits(
                 1ULL << 63, 0, MultiplierExa, bytes, show | FormatValueBinaryMultiplier, english),
        QStringLiteral("8 EiB"));
    QCOMPARE(formatUnsignedIntegerValueAndUnits(
                 1234567, 2, MultiplierNone, bytes, FormatValueGroupDigits | FormatValueOmitZeroFraction, english),
        QStringLiteral("1,234,567 B"));
}

void StringHelpersTest::multiplierTableRows_data()
{
    QTest::addColumn<int>("multiplier");
    QTest::addColumn<int>("decimalExponent");
    QTest::addColumn<int>("binaryExponent");
    QTest::addColumn<QStringList>("texts");

    const char* const rows[][4] = {
        { "", "", "", "" },
        { "k", "kilo", "Ki", "kibi" },
        { "M", "mega", "Mi", "mebi" },
        { "G", "giga", "Gi", "gibi" },
        { "T", "tera", "Ti", "tebi" },
        { "P", "peta", "Pi", "pebi" },
        { "E", "exa", "Ei", "exbi" },
        { "Z", "zetta", "Zi", "zebi" },
        { "Y", "yotta", "Yi", "yobi" },
        { "m", "milli", "", "" },
        { "\u00b5", "micro", "", "" },
        { "n", "nano", "", "" },
        { "p", "pico", "", "" },
        { "f", "femto", "", "" },
        { "a", "atto", "", "" },
        { "z", "zepto", "", "" },
        { "y", "yocto", "", "" },
    };
    for (int multiplier = MultiplierNone; multiplier <= MultiplierYocto; ++multiplier) {
        const bool growing = multiplier <= MultiplierYotta;
        QStringList texts;
        for (const char* text : rows[multiplier]) {
            texts << QString::fromUtf8(text);
        }
        const QByteArray name = multiplier == 0 ? QByteArray("none") : texts.at(1).toLatin1();
        QTest::newRow(name) << multiplier << (growing ? 3 * multiplier : -3 * (multiplier - 8))
                            << (growing ? 10 * multiplier : 0) << texts;
    }
}

void StringHelpersTest::multiplierTableRows()
{
    QFETCH(int, multiplier);
    QFETCH(int, decimalExponent);
    QFETCH(int, binaryExponent);
    QFETCH(QStringList, texts);

    const FormatMultiplierEntry& entry = multiplierTable[multiplier];
    // The double nearest to the written power of ten, as the C library parses it.
    const double nearestPowerOfTen
        = std::strtod(QByteArray("1e" + QByteArray::number(decimalExponent)).constData(), nullptr);
    QVERIFY2(entry.decimalFactor == nearestPowerOfTen, qPrintable(QString::number(entry.decimalFactor, 'g', 17)));
    QVERIFY2(entry.binaryFactor == std::ldexp(1.0, binaryExponent), qPrintable(QString::number(entry.binaryFactor)));
    QCOMPARE(QString::fromWCharArray(entry.decimalSymbol), texts.at(0));
    QCOMPARE(QString::fromWCharArray(entry.decimalName), texts.at(1));
    QCOMPARE(QString::fromWCharArray(entry.binarySymbol), texts.at(2));
    QCOMPARE(QString::fromWCharArray(entry.binaryName), texts.at(3));
}

void StringHelpersTest::defaultArgumentsUseTheDefaultLocaleAndNoFlags()
{
    DefaultLocaleGuard german(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(::formatDoubleValue(1234.5, 1), QStringLiteral("1234,5"));
    QCOMPARE(formatIntegerValue(-1234567), QStringLiteral("-1234567"));
    QCOMPARE(formatUnsignedIntegerValue(1234567), QStringLiteral("1234567"));
    QCOMPARE(formatDoubleValueAndUnits(1500, 1, MultiplierKilo, QStringLiteral("Hz")), QStringLiteral("1,5 Hz"));
    QCOMPARE(formatIntegerValueAndUnits(1500, 1, MultiplierKilo, QStringLiteral("Hz")), QStringLiteral("1,5 Hz"));
    QCOMPARE(
        formatUnsignedIntegerValueAndUnits(1500, 1, MultiplierKilo, QStringLiteral("Hz")), QStringLiteral("1,5 Hz"));
}

void StringHelpersTest::formatImageCount_data()
{
    QTest::addColumn<QLocale>("defaultLocale");
    QTest::addColumn<qulonglong>("images");
    QTest::addColumn<qulonglong>("errors");
    QTest::addColumn<QString>("expected");

    for (const QLocale& locale : testLocales()) {
        QTest::newRow(rowName("nothing yet", locale)) << locale << 0ULL << 0ULL << "Images: 0; Errors: 0";
        QTest::newRow(rowName("counts keep their separators", locale))
            << locale << 1234ULL << 0ULL
            << QStringLiteral("Images: %1; Errors: 0").arg(localized(QStringLiteral("1,234"), locale));
        QTest::newRow(rowName("errors counted too", locale))
            << locale << 7ULL << 1234567ULL
            << QStringLiteral("Images: 7; Errors: %1").arg(localized(QStringLiteral("1,234,567"), locale));
        QTest::newRow(rowName("largest count stays positive", locale))
            << locale << std::numeric_limits<qulonglong>::max() << 1ULL
            << QStringLiteral("Images: %1; Errors: 1")
                   .arg(localized(QStringLiteral("18,446,744,073,709,551,615"), locale));
    }
    QTest::newRow("English example") << english << 1234ULL << 0ULL << "Images: 1,234; Errors: 0";
}

void StringHelpersTest::formatImageCount()
{
    QFETCH(QLocale, defaultLocale);
    QFETCH(qulonglong, images);
    QFETCH(qulonglong, errors);
    QFETCH(QString, expected);

    DefaultLocaleGuard guard(defaultLocale);
    QCOMPARE(::formatImageCount(images, errors), expected);
}

void StringHelpersTest::extractSubString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("index");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("found");
    // "<untouched>" and "<null>" stand for the state of the result afterwards.
    QTest::addColumn<QString>("expected");

    const QString fields = QStringLiteral("a;bb;ccc"), semicolon = QStringLiteral(";");
    QTest::newRow("first field") << fields << 0u << semicolon << true << "a";
    QTest::newRow("middle field") << fields << 1u << semicolon << true << "bb";
    QTest::newRow("last field") << fields << 2u << semicolon << true << "ccc";
    QTest::newRow("one past the last field is missing") << fields << 3u << semicolon << false << "<null>";
    QTest::newRow("largest index is missing") << fields << 4294967295u << semicolon << false << "<null>";
    QTest::newRow("field between two separators is empty") << "a;;c" << 1u << semicolon << true << "";
    QTest::newRow("field after a trailing separator is empty") << "a;" << 1u << semicolon << true << "";
    QTest::newRow("field before a leading separator is empty") << ";a" << 0u << semicolon << true << "";
    QTest::newRow("text without separator is field 0") << "abc" << 0u << semicolon << true << "abc";
    QTest::newRow("text without separator has no field 1") << "abc" << 1u << semicolon << false << "<null>";
    QTest::newRow("empty separator leaves the result") << fields << 0u << "" << false << "<untouched>";
    QTest::newRow("empty text leaves the result") << "" << 0u << semicolon << false << "<untouched>";
    QTest::newRow("null text leaves the result") << QString() << 1u << semicolon << false << "<untouched>";
    QTest::newRow("long separator") << "a::b::c" << 2u << "::" << true << "c";
    // Matches do not overlap: ":::" is one separator and a ':' that starts the next field.
    QTest::newRow("separator hits do not overlap") << "a::b:::c" << 2u << "::" << true << ":c";
    QTest::newRow("overlapping candidates count once") << "aaa" << 1u << "aa" << true << "a";
    QTest::newRow("overlapping candidates, one field only") << "aaa" << 2u << "aa" << false << "<null>";
    QTest::newRow("separator longer than the text") << "ab" << 0u << "abc" << true << "ab";
    QTest::newRow("separator compared case-sensitively") << "aXbxc" << 1u << "x" << true << "c";
    QTest::newRow("non-ASCII fields") << QStringLiteral("\u00e4|\u00f6\u00df|\u20ac") << 1u << "|" << true
                                      << QStringLiteral("\u00f6\u00df");
}

void StringHelpersTest::extractSubString()
{
    QFETCH(QString, text);
    QFETCH(uint, index);
    QFETCH(QString, separator);
    QFETCH(bool, found);
    QFETCH(QString, expected);

    const QString stale = QStringLiteral("stale");
    QString result = stale;
    QCOMPARE(ExtractSubString(result, text, index, separator), found);
    if (expected == QLatin1String("<untouched>")) {
        QCOMPARE(result, stale);
    } else if (expected == QLatin1String("<null>")) {
        QVERIFY2(result.isNull(), qPrintable(result));
    } else {
        QCOMPARE(result, expected);
        QVERIFY2(!result.isNull(), "an empty field is an empty, not a null, string");
    }
}

void StringHelpersTest::systemLocaleIsCopiedOnFirstCall_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("expectedName");

    QTest::newRow("German system") << "de_DE.UTF-8"
                                   << "de_DE";
    QTest::newRow("French system") << "fr_FR.UTF-8"
                                   << "fr_FR";
}

void StringHelpersTest::systemLocaleIsCopiedOnFirstCall()
{
    QFETCH(QString, lang);
    QFETCH(QString, expectedName);

    // The copy is per process: each scenario runs in a fresh child.
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANG"), lang);
    environment.remove(QStringLiteral("LC_ALL"));
    environment.remove(QStringLiteral("LC_NUMERIC"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--system-locale") });
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
    QCOMPARE(QString::fromLatin1(child.readAllStandardOutput().trimmed()), expectedName + QStringLiteral(" same"));
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
    QList<QThread*> threads;
    for (int i = 0; i < threadCount; ++i) {
        threads << QThread::create([&go, &seen, i] {
            while (!go.load()) { }
            seen[i] = &getSystemLocale();
        });
        threads.last()->start();
    }
    go.store(true);
    for (QThread* thread : threads) {
        thread->wait();
        delete thread;
    }
    bool same = true;
    for (const QLocale* locale : seen) {
        same = same && locale == &getSystemLocale();
    }
    std::printf("%s %s\n", qPrintable(getSystemLocale().name()), same ? "same" : "different");
    return same && getSystemLocale() == QLocale::system() ? 0 : 1;
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
