// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "formatqml.h"

#include <QJSEngine>
#include <QLocale>
#include <QVariant>

#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>

namespace {

// A number, or a text that reads as one in the C locale ("1e3", "nan").
std::optional<double> toDouble(const QJSValue& value)
{
    if (value.isNumber()) {
        return value.toNumber();
    }
    bool isNumber = false;
    const double number = value.isString() ? value.toString().toDouble(&isNumber) : 0.0;
    return isNumber ? std::optional<double>(number) : std::nullopt;
}

// A decimal text is read exactly, so that the whole 64-bit range can be passed as
// text. A number is truncated toward zero and must lie within the type's range.
template <typename Integer> std::optional<Integer> toInteger(const QJSValue& value)
{
    if (value.isString()) {
        bool isInteger = false;
        if constexpr (std::is_signed_v<Integer>) {
            const qlonglong integer = value.toString().toLongLong(&isInteger);
            return isInteger ? std::optional<Integer>(integer) : std::nullopt;
        } else {
            const qulonglong integer = value.toString().toULongLong(&isInteger);
            const bool fits = isInteger && integer <= std::numeric_limits<Integer>::max();
            return fits ? std::optional<Integer>(Integer(integer)) : std::nullopt;
        }
    }
    if (!value.isNumber()) {
        return std::nullopt;
    }
    const double number = std::trunc(value.toNumber());
    // The first double beyond the type (2^32, 2^63, 2^64); NaN fails both comparisons.
    const double limit = double(std::numeric_limits<Integer>::max()) + 1.0;
    const double lowest = std::is_signed_v<Integer> ? -limit : 0.0;
    if (!(number >= lowest && number < limit)) {
        return std::nullopt;
    }
    return Integer(number);
}

// Calls format with the converted value, or gives an empty text when there is none.
template <typename Number, typename Format> QString formatConverted(const std::optional<Number>& value, Format format)
{
    return value ? format(*value) : QString();
}

// The locale of a Qt.locale() object, which the engine hands over as a QLocale, or
// of a locale name; anything else is the default locale.
QLocale toLocale(const QVariant& locale)
{
    if (locale.metaType() == QMetaType::fromType<QLocale>()) {
        return locale.value<QLocale>();
    }
    if (locale.metaType() == QMetaType::fromType<QString>()) {
        return QLocale(locale.toString());
    }
    return QLocale();
}

} // namespace

void Format::dependOnTranslation() const
{
    if (m_translationLookup.isUndefined()) {
        QJSEngine* engine = qjsEngine(this);
        if (!engine) {
            return;
        }
        m_translationLookup = engine->evaluate(QStringLiteral("(function() { qsTranslate(\"TavixQtBase\", \"\") })"));
    }
    m_translationLookup.call();
}

QString Format::formatDoubleValue(
    const QJSValue& value, int precision, FormatValueFlags flags, const QVariant& locale) const
{
    return formatConverted(toDouble(value),
        [&](double number) { return ::formatDoubleValue(number, precision, flags, toLocale(locale)); });
}

QString Format::formatIntegerValue(const QJSValue& value, FormatValueFlags flags, const QVariant& locale) const
{
    return formatConverted(toInteger<qlonglong>(value),
        [&](qlonglong number) { return ::formatIntegerValue(number, flags, toLocale(locale)); });
}

QString Format::formatUnsignedIntegerValue(const QJSValue& value, FormatValueFlags flags, const QVariant& locale) const
{
    return formatConverted(toInteger<qulonglong>(value),
        [&](qulonglong number) { return ::formatUnsignedIntegerValue(number, flags, toLocale(locale)); });
}

QString Format::formatDoubleValueAndUnits(const QJSValue& value, int precision, FormatMultiplier multiplier,
    const QString& unit, FormatValueFlags flags, const QVariant& locale) const
{
    return formatConverted(toDouble(value), [&](double number) {
        return ::formatDoubleValueAndUnits(number, precision, multiplier, unit, flags, toLocale(locale));
    });
}

QString Format::formatIntegerValueAndUnits(const QJSValue& value, int precision, FormatMultiplier multiplier,
    const QString& unit, FormatValueFlags flags, const QVariant& locale) const
{
    return formatConverted(toInteger<qlonglong>(value), [&](qlonglong number) {
        return ::formatIntegerValueAndUnits(number, precision, multiplier, unit, flags, toLocale(locale));
    });
}

QString Format::formatUnsignedIntegerValueAndUnits(const QJSValue& value, int precision, FormatMultiplier multiplier,
    const QString& unit, FormatValueFlags flags, const QVariant& locale) const
{
    return formatConverted(toInteger<qulonglong>(value), [&](qulonglong number) {
        return ::formatUnsignedIntegerValueAndUnits(number, precision, multiplier, unit, flags, toLocale(locale));
    });
}

QString Format::formatDoubleValueAndAutoUnits(
    const QJSValue& value, int precision, const QString& unit, FormatValueFlags flags, const QVariant& locale) const
{
    return formatConverted(toDouble(value), [&](double number) {
        return ::formatDoubleValueAndAutoUnits(number, precision, unit, flags, toLocale(locale));
    });
}

QString Format::formatImageCount(const QJSValue& images, const QJSValue& errors) const
{
    dependOnTranslation();
    const std::optional<qulonglong> imageCount = toInteger<qulonglong>(images);
    const std::optional<qulonglong> errorCount = toInteger<qulonglong>(errors);
    return imageCount && errorCount ? ::formatImageCount(*imageCount, *errorCount) : QString();
}

QString Format::formatIPConfiguration(const QJSValue& ipConfiguration, const QJSValue& options) const
{
    dependOnTranslation();
    const std::optional<quint32> bits = toInteger<quint32>(ipConfiguration);
    const std::optional<quint32> optionBits = toInteger<quint32>(options);
    return bits && optionBits ? ::formatIPConfiguration(uint(*bits), uint(*optionBits)) : QString();
}

QString Format::formatMACAddress(const QJSValue& address, const QJSValue& separator) const
{
    if (!address.isString()) {
        return QString();
    }
    const QByteArray separatorText = separator.toString().toLatin1();
    const bool hasSeparator = separator.isString();
    return ::formatMACAddress(
        address.toString().toLatin1().constData(), hasSeparator ? separatorText.constData() : nullptr);
}
