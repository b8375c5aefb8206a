// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/stringhelpers.h>
#include <TavixQtBase/translations.h>

#include <QCoreApplication>
#include <QProcess>
#include <QtTest>

#include "comparetext.h"

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
// its digits, ',' group separator (none where the locale omits them, as Qt's C
// locale does), '.' decimal point, '-' minus sign.
QString localized(const char* english, const QLocale& locale)
{
    const bool groups = !locale.numberOptions().testFlag(QLocale::OmitGroupSeparator);
    QString text;
    for (const char* c = english; *c; ++c) {
        text += *c >= '0' && *c <= '9' ? locale.toString(*c - '0')
            : *c == ','                ? (groups ? QString(locale.groupSeparator()) : QString())
            : *c == '.'                ? QString(locale.decimalPoint())
            : *c == '-'                ? QString(locale.negativeSign())
                                       : QString(QLatin1Char(*c));
    }
    return text;
}

const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);

// Whether field @p index was found, then the result: "null", or the text in brackets; it starts as "stale".
QString field(const char* text, unsigned int index, const QString& separator)
{
    QString result = QStringLiteral("stale");
    const bool found = ExtractSubString(result, QString::fromLatin1(text), index, separator);
    return QString::number(found) + (result.isNull() ? QStringLiteral(" null") : " [" + result + "]");
}

// Whether the translation for @p locale loaded over the German one, and the texts then;
// no translation is left installed.
QString translated(const QLocale& locale)
{
    loadTavixQtBaseTranslation(QLocale(QLocale::German));
    const bool loaded = loadTavixQtBaseTranslation(locale);
    const QString texts
        = QString::number(loaded) + ' ' + formatImageCount(1234, 5) + "; " + formatIPConfiguration(7u, 0u);
    loadTavixQtBaseTranslation(english);
    return texts;
}

// Rows of formatDoubleValueAndAutoUnits() at each boundary of @p symbols, from both sides:
// the largest value shown below it, the value at it, and the value that only rounding
// carries over it. @p symbols[@p noneIndex] is the empty prefix; the factors are powers of @p base.
void autoUnitRows(const std::vector<const char*>& symbols, int noneIndex, double base, FormatValueFlags flags)
{
    for (int i = 1; i < int(symbols.size()); ++i) {
        const double boundary = std::pow(base, i - noneIndex);
        const QString below = QString::fromUtf8(symbols[i - 1]) + 'B', at = QString::fromUtf8(symbols[i]) + 'B';
        const auto row = [&](const char* name, double value, const QString& expected) {
            textRow(name + (" 1 " + at.toUtf8()), [=] {
                return formatDoubleValueAndAutoUnits(value, 1, QStringLiteral("B"), flags, english);
            }) << expected;
        };
        row("below", (base - 0.1) * boundary / base, QString::number(base - 0.1) + ' ' + below);
        row("at", boundary, "1.0 " + at);
        row("rounded up to", (base - 0.04) * boundary / base, "1.0 " + at);
    }
}

} // namespace

class StringHelpersTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data();
    void texts() { compareTextRow(); }
    void systemLocaleIsCopiedOnce();
};

void StringHelpersTest::texts_data()
{
    addTextColumns();
    const auto number = [](double value, int precision, FormatValueFlags flags, const QLocale& locale = english) {
        return [=] { return formatDoubleValue(value, precision, flags, locale); };
    };
    const auto integer = [](qlonglong value, FormatValueFlags flags, const QLocale& locale = english) {
        return [=] { return formatIntegerValue(value, flags, locale); };
    };
    // Locale-dependent rules are compared with each locale's own characters.
    for (const QLocale& l : { english, german, QLocale(QLocale::French, QLocale::France), QLocale::c() }) {
        const auto name = [&l](const char* what) { return l.name().toLatin1() + ": " + what; };
        textRow(name("ungrouped"), number(1234567.891, 2, none, l)) << localized("1234567.89", l);
        textRow(name("grouped"), number(1234567.891, 2, group, l)) << localized("1,234,567.89", l);
        // The fraction starts at the locale's decimal point, not at a group separator.
        textRow(name("whole value cut"), number(1234567.0, 2, group | omit, l)) << localized("1,234,567", l);
        textRow(name("zeros trimmed"), number(3.0, 3, trim, l)) << localized("3.0", l);
        textRow(name("integer"), integer(-1234567, none, l)) << localized("-1234567", l);
        textRow(name("integer grouped"), integer(-1234567, group, l)) << localized("-1,234,567", l);
        textRow(name("default locale"), [l] {
            QLocale::setDefault(l);
            const QString text = formatDoubleValue(1234.5, 1) + ' ' + formatImageCount(1234, 1234567);
            QLocale::setDefault(english);
            return text;
        }) << localized("1234.5 Images: 1,234; Errors: 1,234,567", l);
    }
    // Digits of their own, one of them (Chakma in Qt 6) beyond the Basic Multilingual Plane.
    for (const char* name : { "ar_EG", "bn_BD", "my_MM", "ccp_BD" }) {
        const QLocale l(QString::fromLatin1(name));
        textRow(name + QByteArray(": own zero digits trimmed"), number(3.0, 3, trim, l)) << localized("3.0", l);
    }
    // 2^-1074 has 1074 digits after the point, the last one nonzero; no double has more.
    const double smallestDenormal = std::numeric_limits<double>::denorm_min();
    const int huge = std::numeric_limits<int>::max();
    textRow("fixed precision beyond a double's digits", number(smallestDenormal, huge, none))
        << english.toString(smallestDenormal, 'f', 1074);
    textRow("general precision beyond a double's digits", number(0.1, huge, general))
        << "0.1000000000000000055511151231257827021181583404541015625";
    textRow("1000 is the first magnitude searched", number(1000, 0, none)) << "1000";
    textRow("negative magnitude loses its separators", number(-1234.5, 1, none)) << "-1234.5";
    textRow("omitting tests the value, not the text", number(2.0004, 3, omit)) << "2.000";
    textRow("trimming stops at a non-zero digit", number(12.25, 4, trim)) << "12.25";
    textRow("trimming without a decimal point", number(100, 0, trim)) << "100";
    textRow("general notation is neither trimmed nor cut", number(1.5e20, 3, general | trim | omit))
        << "1.5" + QString(english.exponential()) + "+20";
    textRow("negative magnitude 1000 loses its separators", integer(-1000, none)) << "-1000";
    textRow("unsigned magnitude 1000", [] { return formatUnsignedIntegerValue(1000, none, english); }) << "1000";
    textRow("largest image count", [] { return formatImageCount(~0ULL, 1); })
        << "Images: 18,446,744,073,709,551,615; Errors: 1";

    const auto units = [](double value, int precision, FormatMultiplier multiplier, const char* unit,
                           FormatValueFlags flags, const QLocale& locale = english) {
        return [=] { return formatDoubleValueAndUnits(value, precision, multiplier, unit, flags, locale); };
    };
    textRow("decimal name", units(1500000, 1, MultiplierMega, "Hz", show | byName)) << "1.5 megaHz";
    textRow("scaled without prefix", units(1500000, 1, MultiplierMega, "Hz", none)) << "1.5 Hz";
    textRow("prefix without unit", units(1500, 1, MultiplierKilo, "", show)) << "1.5 k";
    textRow("no unit, no prefix shown", units(1500, 1, MultiplierKilo, "", none)) << "1.5";
    textRow("binary name", units(1536, 1, MultiplierKilo, "B", binary | show | byName)) << "1.5 kibiB";
    textRow("largest binary multiplier", units(std::ldexp(3.0, 80), 0, MultiplierYotta, "B", binary | show)) << "3 YiB";
    textRow("smallest multiplier", units(7e-24, 0, MultiplierYocto, "g", show)) << "7 yg";
    textRow("multiplier past the table", units(1500, 0, FormatMultiplier(MultiplierYocto + 1), "Hz", show))
        << "1500 Hz";
    textRow("flags and locale reach the number", units(2500, 3, MultiplierKilo, "Hz", show | trim, german))
        << "2,5 kHz";
    textRow("integer with units", [] {
        return formatIntegerValueAndUnits(-1500, 1, MultiplierKilo, "V", show, german);
    }) << "-1,5 kV";
    // 2^63 does not fit the signed variant.
    textRow("unsigned with units", [] {
        return formatUnsignedIntegerValueAndUnits(1ULL << 63, 0, MultiplierExa, "B", binary | show, english);
    }) << "8 EiB";

    autoUnitRows(
        { "y", "z", "a", "f", "p", "n", "\xc2\xb5", "m", "", "k", "M", "G", "T", "P", "E", "Z", "Y" }, 8, 1000, none);
    autoUnitRows({ "", "Ki", "Mi", "Gi", "Ti", "Pi", "Ei", "Zi", "Yi" }, 0, 1024, binary);
    const auto autoUnits = [](double value, int precision, FormatValueFlags flags) {
        return [=] { return formatDoubleValueAndAutoUnits(value, precision, QStringLiteral("B"), flags, english); };
    };
    textRow("auto: zero", autoUnits(0, 1, none)) << "0.0 B";
    textRow("auto: negative takes the prefix of its magnitude", autoUnits(-2500, 1, none)) << "-2.5 kB";
    textRow("auto: NaN", autoUnits(qQNaN(), 1, none)) << "nan B";
    textRow("auto: infinity", autoUnits(-qInf(), 1, binary)) << "-inf B";
    textRow("auto: beyond yotta stays at yotta", autoUnits(2.5e27, 0, group)) << "2,500 YB";
    textRow("auto: below yocto stays at yocto", autoUnits(4e-25, 1, none)) << "0.4 yB";
    textRow("auto: binary does not shrink", autoUnits(0.5, 1, binary)) << "0.5 B";
    textRow("auto: general notation rounds too", autoUnits(999.7, 3, general)) << "1 kB";
    textRow("auto: flags and locale reach the number", [] {
        return formatDoubleValueAndAutoUnits(2500, 3, QStringLiteral("Hz"), trim | byName, german);
    }) << "2,5 kiloHz";

    const QString semicolon = QStringLiteral(";");
    textRow("middle field", [=] { return field("a;bb;ccc", 1, semicolon); }) << "1 [bb]";
    textRow("last field", [=] { return field("a;bb;ccc", 2, semicolon); }) << "1 [ccc]";
    textRow("missing field is null", [=] { return field("a;bb;ccc", 3, semicolon); }) << "0 null";
    textRow("field between two separators is empty", [=] { return field("a;;c", 1, semicolon); }) << "1 []";
    textRow("empty separator leaves the result", [] { return field("a;bb", 0, QString()); }) << "0 [stale]";
    textRow("empty text leaves the result", [=] { return field("", 0, semicolon); }) << "0 [stale]";
    // ":::" is one separator and a ':' that starts the next field.
    textRow("separators do not overlap", [] { return field("a::b:::c", 2, QStringLiteral("::")); }) << "1 [:c]";
    textRow("separator compared case-sensitively", [] { return field("aXbxc", 1, QStringLiteral("x")); }) << "1 [c]";

    // The German translation from the build tree; Austrian German finds the file of the
    // language, tavixqtbase_de.qm. A language without a translation removes it.
    textRow("German translation", [] { return translated(QLocale(QLocale::German, QLocale::Austria)); })
        << "1 Bilder: 1,234; Fehler: 5; Statische IP, DHCP, Auto-IP";
    textRow("English has no translation and removes the German one", [] { return translated(english); })
        << "0 Images: 1,234; Errors: 5; Static IP, DHCP, Auto IP";
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
    // The texts of the default locale do not depend on the environment.
    QLocale::setDefault(english);
    StringHelpersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_stringhelpers.moc"
