// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_STRINGHELPERS_H
#define TAVIXQTBASE_STRINGHELPERS_H

#include <TavixQtBase/tavixqtbase_export.h>

#include <QFlags>
#include <QLocale>
#include <QString>

namespace Tavix {
class CDeviceInfo;
}

/**
 * @file stringhelpers.h
 * Short, locale-aware display texts: numbers with multiplier prefixes and units,
 * counts, separator-delimited fields, and the names, IP configuration methods and
 * MAC addresses of camera devices.
 *
 * @howtouse{stringhelpers.h}
 *
 * @code
 * formatDoubleValue(1234567.891, 2, FormatValueGroupDigits, QLocale(QLocale::English));  // "1,234,567.89"
 * formatDoubleValueAndUnits(1500000, 1, MultiplierMega, QStringLiteral("Hz"), FormatValueShowMultiplier,
 *                           QLocale(QLocale::English));                                   // "1.5 MHz"
 * formatMACAddress("012345AbcDEF");                                                      // "01-23-45-Ab-cD-EF"
 * formatIPConfiguration(5u, 0u);                                                         // "Static IP, Auto IP"
 * @endcode
 *
 * Every function is reentrant and may be called from any thread with distinct
 * arguments. None reports errors: a function that has nothing to show returns a
 * null QString (see each function), never throws on its own and never aborts.
 *
 * The number formatters take the locale as their last argument. It defaults to
 * QLocale(), the application's default locale; pass getSystemLocale() for the
 * locale of the system, or QLocale::c() for locale-independent texts.
 *
 * The words of formatImageCount() and formatIPConfiguration() go through Qt's
 * translation system in the context "TavixQtBase"; without a translator they are
 * the English texts shown here. translations.h loads the library's translations.
 */

/**
 * How formatDoubleValue(), formatIntegerValue(), formatUnsignedIntegerValue() and
 * the ...AndUnits variants write a number. An empty set gives fixed notation
 * without group separators, trimming or multiplier prefix.
 */
enum FormatValueFlag {
    /**
     * Removes trailing zero digits of the fraction but keeps at least one digit after
     * the decimal point: "12.500" becomes "12.5", "12.000" becomes "12.0". The zero
     * is the locale's own digit, such as U+0660 ARABIC-INDIC DIGIT ZERO in Egyptian
     * Arabic.
     * Ignored with FormatValueGeneral and by the integer formatters.
     */
    FormatValueTrimZeros = 0x01,
    /**
     * General notation ('g'; the precision counts significant digits) instead of
     * fixed notation ('f'; the precision counts digits after the decimal point).
     */
    FormatValueGeneral = 0x02,
    /**
     * When the value is a whole number, cuts the text at the decimal point:
     * 3.0 at precision 3 gives "3", not "3.000". The value is tested, not its text,
     * so 2.0004 at precision 3 keeps "2.000". Ignored with FormatValueGeneral and
     * by the integer formatters.
     */
    FormatValueOmitZeroFraction = 0x04,
    /** Keeps the locale's group (thousands) separators; without it they are removed. */
    FormatValueGroupDigits = 0x08,
    /** Scales by powers of 1024 and uses the binary prefixes ("Ki", "kibi"). Unit variants only. */
    FormatValueBinaryMultiplier = 0x10,
    /**
     * Writes the multiplier's prefix before the unit. Without it the value is still
     * scaled, but no prefix is written. Unit variants only.
     */
    FormatValueShowMultiplier = 0x20,
    /** The prefix is the multiplier's name ("kilo") instead of its symbol ("k"). Unit variants only. */
    FormatValueMultiplierName = 0x40
};
/** A combination of FormatValueFlag values. */
Q_DECLARE_FLAGS(FormatValueFlags, FormatValueFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(FormatValueFlags)

/**
 * The multiplier of the ...AndUnits formatters; it indexes multiplierTable.
 * Binary multipliers exist for MultiplierNone to MultiplierYotta only.
 */
enum FormatMultiplier {
    MultiplierNone = 0,
    MultiplierKilo = 1,
    MultiplierMega = 2,
    MultiplierGiga = 3,
    MultiplierTera = 4,
    MultiplierPeta = 5,
    MultiplierExa = 6,
    MultiplierZetta = 7,
    MultiplierYotta = 8,
    MultiplierMilli = 9,
    MultiplierMicro = 10,
    MultiplierNano = 11,
    MultiplierPico = 12,
    MultiplierFemto = 13,
    MultiplierAtto = 14,
    MultiplierZepto = 15,
    MultiplierYocto = 16
};

/**
 * One row of multiplierTable. The texts are never null; empty where a multiplier has no binary form.
 *
 * @howtouse{stringhelpers.h}
 *
 * @code
 * const FormatMultiplierEntry& kilo = multiplierTable[MultiplierKilo];
 * kilo.decimalFactor;   // 1e3
 * kilo.binaryFactor;    // 1024
 * kilo.binarySymbol;    // L"Ki"
 * @endcode
 */
struct FormatMultiplierEntry
{
    double decimalFactor; ///< the power of ten nearest to the written one, e.g. 1e3
    double binaryFactor; ///< the exact power of two, e.g. 1024; 1 where there is none
    const wchar_t* decimalSymbol; ///< e.g. L"k"; micro is U+00B5 MICRO SIGN
    const wchar_t* decimalName; ///< e.g. L"kilo"
    const wchar_t* binarySymbol; ///< e.g. L"Ki"
    const wchar_t* binaryName; ///< e.g. L"kibi"
};

/** Factors and prefixes of every FormatMultiplier, indexed by its value. */
TAVIXQTBASE_EXPORT extern const FormatMultiplierEntry multiplierTable[MultiplierYocto + 1];

/**
 * @name Locale and field helpers
 * @{
 */

/**
 * A process-wide copy of QLocale::system(), taken at the first call; later calls
 * return the same object, so a change of the system locale afterwards is not seen.
 * Thread-safe.
 */
TAVIXQTBASE_EXPORT const QLocale& getSystemLocale();

/**
 * Puts field number @p index (counted from 0) of @p text into @p result; fields
 * are separated by @p separator, compared case-sensitively, and separators do not
 * overlap. The time taken grows linearly with the position of the field.
 *
 * @return true when the field exists; @p result then holds it, possibly as an
 * empty, non-null string (two separators in a row). false when @p text or
 * @p separator is empty, leaving @p result untouched, or when @p text has fewer
 * than @p index separators, setting @p result to a null QString.
 *
 * @code
 * QString field;
 * ExtractSubString(field, QStringLiteral("a;bb;ccc"), 1, QStringLiteral(";"));  // true, field == "bb"
 * ExtractSubString(field, QStringLiteral("a;;c"), 1, QStringLiteral(";"));      // true, field == ""
 * ExtractSubString(field, QStringLiteral("a;bb;ccc"), 3, QStringLiteral(";"));  // false, field is null
 * @endcode
 */
TAVIXQTBASE_EXPORT bool ExtractSubString(
    QString& result, const QString& text, unsigned int index, const QString& separator);

/** @} */

/**
 * @name Number formatting
 * @{
 */

/**
 * Formats @p value with QLocale::toString() of @p locale, in fixed notation with
 * @p precision digits after the decimal point, or in general notation with
 * @p precision significant digits when FormatValueGeneral is set; then applies
 * the other @p flags in this order: removes the group separators (unless
 * FormatValueGroupDigits), cuts the fraction of a whole value
 * (FormatValueOmitZeroFraction), trims trailing zeros (FormatValueTrimZeros).
 *
 * Only the texts of values of magnitude 1000 and above are searched for group
 * separators, so a smaller value that rounds up keeps them: 999.9999 at
 * precision 0 gives "1,000" in English even without FormatValueGroupDigits.
 *
 * NaN and infinities come back as the locale's text for them, untouched by the flags.
 *
 * A @p precision above 1074 counts as 1074, which no double needs more of: the
 * smallest denormal, 2^-1074, has 1074 digits after the decimal point, and no
 * double has more significant digits. So a larger precision leaves out only
 * zeros after the last digit a double can have: general notation gives the same
 * text as it would at that precision, and so does fixed notation with
 * FormatValueTrimZeros. (With QLocale::IncludeTrailingZeroesAfterDot among the
 * locale's number options, general notation too is padded with zeros only up
 * to 1074 digits.) A negative @p precision goes to QLocale::toString() as it is.
 *
 * @code
 * const QLocale english(QLocale::English), german(QLocale::German);
 * formatDoubleValue(1234567.891, 2, {}, english);                                  // "1234567.89"
 * formatDoubleValue(1234567.891, 2, FormatValueGroupDigits, english);              // "1,234,567.89"
 * formatDoubleValue(999.5, 1, {}, german);                                         // "999,5"
 * formatDoubleValue(3.0, 3, {}, english);                                          // "3.000"
 * formatDoubleValue(3.0, 3, FormatValueOmitZeroFraction, english);                 // "3"
 * formatDoubleValue(3.0, 3, FormatValueTrimZeros, english);                        // "3.0"
 * formatDoubleValue(2.0004, 3, FormatValueOmitZeroFraction, english);              // "2.000"
 * formatDoubleValue(2.0004, 3, FormatValueTrimZeros, english);                     // "2.0"
 * formatDoubleValue(999.9999, 0, {}, english);                                     // "1,000"
 * @endcode
 */
TAVIXQTBASE_EXPORT QString formatDoubleValue(
    double value, int precision, FormatValueFlags flags = {}, const QLocale& locale = QLocale());

/**
 * Formats @p value with QLocale::toString() of @p locale and removes the group
 * separators unless FormatValueGroupDigits is set. The other flags are ignored.
 *
 * @code
 * formatIntegerValue(-1234567, {}, QLocale(QLocale::English));                      // "-1234567"
 * formatIntegerValue(-1234567, FormatValueGroupDigits, QLocale(QLocale::English));  // "-1,234,567"
 * @endcode
 */
TAVIXQTBASE_EXPORT QString formatIntegerValue(
    long long value, FormatValueFlags flags = {}, const QLocale& locale = QLocale());

/** As formatIntegerValue(), for the full range of an unsigned 64-bit value. */
TAVIXQTBASE_EXPORT QString formatUnsignedIntegerValue(
    unsigned long long value, FormatValueFlags flags = {}, const QLocale& locale = QLocale());

/**
 * Formats @p value scaled to @p multiplier, followed by the multiplier's prefix
 * and @p unit.
 *
 * The value is divided by the multiplier's decimal factor, or by its binary
 * factor with FormatValueBinaryMultiplier, and formatted with formatDoubleValue()
 * at @p precision with the same @p flags and @p locale. With
 * FormatValueShowMultiplier a space, the prefix (the symbol, or the name with
 * FormatValueMultiplierName) and the unit follow; without it, or for
 * MultiplierNone, a space and the unit; nothing when the unit is empty too.
 * A multiplier outside multiplierTable, or above MultiplierYotta with
 * FormatValueBinaryMultiplier, leaves the value unscaled and writes no prefix.
 *
 * @code
 * const QLocale english(QLocale::English);
 * const QString hz = QStringLiteral("Hz"), bytes = QStringLiteral("B");
 * formatDoubleValueAndUnits(1500000, 1, MultiplierMega, hz, FormatValueShowMultiplier, english);  // "1.5 MHz"
 * formatDoubleValueAndUnits(1500000, 1, MultiplierMega, hz,
 *                           FormatValueShowMultiplier | FormatValueMultiplierName, english);     // "1.5 megaHz"
 * formatDoubleValueAndUnits(1500000, 1, MultiplierMega, hz, {}, english);                         // "1.5 Hz"
 * formatDoubleValueAndUnits(1500, 1, MultiplierKilo, QString(), FormatValueShowMultiplier, english); // "1.5 k"
 * formatDoubleValueAndUnits(1073741824, 0, MultiplierGiga, bytes,
 *                           FormatValueBinaryMultiplier | FormatValueShowMultiplier, english);   // "1 GiB"
 * @endcode
 */
TAVIXQTBASE_EXPORT QString formatDoubleValueAndUnits(double value, int precision, FormatMultiplier multiplier,
    const QString& unit, FormatValueFlags flags = {}, const QLocale& locale = QLocale());

/** formatDoubleValueAndUnits() of @p value converted to double. */
TAVIXQTBASE_EXPORT QString formatIntegerValueAndUnits(long long value, int precision, FormatMultiplier multiplier,
    const QString& unit, FormatValueFlags flags = {}, const QLocale& locale = QLocale());

/**
 * formatDoubleValueAndUnits() of @p value converted to double; values of 2^63 and
 * above keep their positive magnitude.
 */
TAVIXQTBASE_EXPORT QString formatUnsignedIntegerValueAndUnits(unsigned long long value, int precision,
    FormatMultiplier multiplier, const QString& unit, FormatValueFlags flags = {}, const QLocale& locale = QLocale());

/**
 * Formats @p value with the multiplier that brings it into [1, 1000), or into
 * [1, 1024) with FormatValueBinaryMultiplier, and always shows its prefix.
 *
 * Otherwise the text is exactly that of formatDoubleValueAndUnits() with that
 * multiplier and FormatValueShowMultiplier added to @p flags. When rounding at
 * @p precision would write 1000 (1024), the next larger multiplier is taken
 * instead: 999.96 at precision 1 gives "1.0 k", not "1000.0".
 *
 * The magnitude picks the multiplier, so a negative value has the prefix of its
 * absolute value. Zero, NaN and infinities take MultiplierNone: the number (or
 * the locale's text for NaN and infinity), a space and the unit. Magnitudes of
 * 1000 yotta (1024 yobi) and above stay at yotta; nonzero magnitudes below
 * 1 yocto are written in yocto. Binary multipliers do not shrink, so below 1 a
 * binary value has no prefix.
 *
 * @code
 * const QLocale english(QLocale::English);
 * formatDoubleValueAndAutoUnits(1500000, 1, QStringLiteral("Hz"), {}, english);             // "1.5 MHz"
 * formatDoubleValueAndAutoUnits(0.00025, 0, QStringLiteral("s"), {}, english);              // "250 µs"
 * formatDoubleValueAndAutoUnits(1536, 1, QStringLiteral("B"), FormatValueBinaryMultiplier,
 *                               english);                                                   // "1.5 KiB"
 * formatDoubleValueAndAutoUnits(999.96, 1, QStringLiteral("V"), {}, english);               // "1.0 kV"
 * formatDoubleValueAndAutoUnits(-2500, 1, QStringLiteral("V"), {}, english);                // "-2.5 kV"
 * formatDoubleValueAndAutoUnits(0, 1, QStringLiteral("V"), {}, english);                    // "0.0 V"
 * @endcode
 */
TAVIXQTBASE_EXPORT QString formatDoubleValueAndAutoUnits(
    double value, int precision, const QString& unit, FormatValueFlags flags = {}, const QLocale& locale = QLocale());

/**
 * "Images: IMAGES; Errors: ERRORS", both counts with the group separators of the
 * application's default locale, QLocale(). The text is translated (source text
 * "Images: %1; Errors: %2" in the context "TavixQtBase").
 *
 * @code
 * // With QLocale::setDefault(QLocale(QLocale::English)):
 * formatImageCount(1234, 0);  // "Images: 1,234; Errors: 0"
 * // With QLocale::setDefault(QLocale(QLocale::German)) and loadTavixQtBaseTranslation():
 * formatImageCount(1234, 5);  // "Bilder: 1.234; Fehler: 5"
 * @endcode
 */
TAVIXQTBASE_EXPORT QString formatImageCount(unsigned long long images, unsigned long long errors);

/** @} */

/**
 * @name Device and network descriptions
 * @{
 */

/** How formatDeviceName() writes a name. Other bits are ignored. */
enum FormatDeviceNameFlag {
    /** Encloses the name in double quotes: "Cam 1" becomes "\"Cam 1\"". */
    FormatDeviceNameQuoted = 0x02
};
/** A combination of FormatDeviceNameFlag values. */
Q_DECLARE_FLAGS(FormatDeviceNameFlags, FormatDeviceNameFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(FormatDeviceNameFlags)

/**
 * The display name of a device: its property "FriendlyName", else "ModelName",
 * else "FullName", decoded as UTF-8 for a UTF-8 device (see IsUtf8Device()) and
 * as Latin-1 otherwise.
 *
 * A device without any of the three properties is named "???". A debug build
 * (QT_NO_DEBUG not defined) also writes the warning "Missing information in
 * DeviceInfo" to the logging category "tavixqtbase"; a release build stays silent.
 * Neither aborts.
 *
 * @param deviceInfo the device; may be null, which gives a null QString.
 * Exceptions thrown by the device information pass through.
 * @param flags FormatDeviceNameQuoted to enclose the name in double quotes
 */
TAVIXQTBASE_EXPORT QString formatDeviceName(const Tavix::CDeviceInfo* deviceInfo, FormatDeviceNameFlags flags = {});

/**
 * The IP configuration methods set in @p ipConfiguration, in the order
 * "Static IP" (0x01), "DHCP" (0x02), "Auto IP" (0x04), joined with ", ".
 *
 * With bit 0x01 of @p options only the first method present is named. Without
 * it, the methods are named only when "Auto IP" is among them; otherwise the
 * result is a null QString, as it is when no method bit is set. Other bits are
 * ignored. (Write unsigned literals, 0u: a plain 0 could also be the text pointer.)
 * The method names are translated (context "TavixQtBase"); the ", " between them is not.
 *
 * @code
 * formatIPConfiguration(7u, 0u);  // "Static IP, DHCP, Auto IP"
 * formatIPConfiguration(7u, 1u);  // "Static IP"
 * formatIPConfiguration(6u, 1u);  // "DHCP"
 * formatIPConfiguration(5u, 0u);  // "Static IP, Auto IP"
 * formatIPConfiguration(3u, 0u);  // null QString
 * @endcode
 */
TAVIXQTBASE_EXPORT QString formatIPConfiguration(unsigned int ipConfiguration, unsigned int options);

/**
 * As the unsigned overload, with the bits given as decimal text the way the C
 * library's atoi() reads it (leading blanks and a sign allowed, digits up to the
 * first other character, no digits give 0; the result taken as unsigned).
 * A null or empty @p ipConfiguration gives a null QString.
 *
 * @code
 * formatIPConfiguration("6", 0u);   // "DHCP, Auto IP"
 * formatIPConfiguration("-1", 0u);  // "Static IP, DHCP, Auto IP"
 * formatIPConfiguration("abc", 0u); // null QString
 * @endcode
 */
TAVIXQTBASE_EXPORT QString formatIPConfiguration(const char* ipConfiguration, unsigned int options);

/**
 * A MAC address as six pairs of hexadecimal digits joined by @p separator.
 *
 * Every character of @p address that is not a hexadecimal digit is skipped;
 * the digits keep their letter case.
 *
 * @param address the address text; null, empty, or with a number of
 * hexadecimal digits other than 12 gives a null QString.
 * @param separator Latin-1 text put between the pairs; null selects "-", an
 * empty one runs the digits together.
 *
 * @code
 * formatMACAddress("012345AbcDEF");              // "01-23-45-Ab-cD-EF"
 * formatMACAddress("0123.45ab.cdef", ":");       // "01:23:45:ab:cd:ef"
 * formatMACAddress("01-23-45-67-89-AB", "");     // "0123456789AB"
 * formatMACAddress("0123456789A");               // null QString: 11 digits
 * @endcode
 */
TAVIXQTBASE_EXPORT QString formatMACAddress(const char* address, const char* separator = nullptr);

/**
 * Whether the texts of the device are UTF-8: true exactly when its device class
 * is "VelnorGigE" (case-sensitive); false for a null @p deviceInfo.
 */
TAVIXQTBASE_EXPORT bool IsUtf8Device(const Tavix::CDeviceInfo* deviceInfo);

/**
 * The property @p propertyName of the device, decoded as UTF-8 whatever the
 * device class.
 *
 * @return the text (empty, non-null, for a property set to an empty text), or a
 * null QString when either pointer is null or the device cannot read the property.
 */
TAVIXQTBASE_EXPORT QString GetUtf8Property(const Tavix::CDeviceInfo* deviceInfo, const char* propertyName);

/** @} */

#endif
