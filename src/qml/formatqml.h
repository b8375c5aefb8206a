// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_QML_FORMATQML_H
#define TAVIXQTBASE_QML_FORMATQML_H

#include <TavixQtBase/stringhelpers.h>

#include <QJSValue>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

/**
 * The enumerations of stringhelpers.h with a metaobject, so that QML and its
 * tools know them: moc reads the lists of enumerators as enumerations of this
 * namespace, while the compiler sees the library's own types and enumerators.
 * So the values are the library's, and the formatters take the library's types.
 */
namespace QmlFormatEnums {
Q_NAMESPACE
#define TAVIXQTBASE_FORMAT_VALUE_FLAGS(X)                                                                              \
    X(FormatValueTrimZeros)                                                                                            \
    X(FormatValueGeneral)                                                                                              \
    X(FormatValueOmitZeroFraction)                                                                                     \
    X(FormatValueGroupDigits)                                                                                          \
    X(FormatValueBinaryMultiplier)                                                                                     \
    X(FormatValueShowMultiplier)                                                                                       \
    X(FormatValueMultiplierName)
#define TAVIXQTBASE_FORMAT_MULTIPLIERS(X)                                                                              \
    X(MultiplierNone)                                                                                                  \
    X(MultiplierKilo)                                                                                                  \
    X(MultiplierMega)                                                                                                  \
    X(MultiplierGiga)                                                                                                  \
    X(MultiplierTera)                                                                                                  \
    X(MultiplierPeta)                                                                                                  \
    X(MultiplierExa)                                                                                                   \
    X(MultiplierZetta)                                                                                                 \
    X(MultiplierYotta)                                                                                                 \
    X(MultiplierMilli)                                                                                                 \
    X(MultiplierMicro)                                                                                                 \
    X(MultiplierNano)                                                                                                  \
    X(MultiplierPico)                                                                                                  \
    X(MultiplierFemto)                                                                                                 \
    X(MultiplierAtto)                                                                                                  \
    X(MultiplierZepto)                                                                                                 \
    X(MultiplierYocto)
#ifdef Q_MOC_RUN
#define TAVIXQTBASE_ENUMERATOR(name) name,
enum FormatValueFlag { TAVIXQTBASE_FORMAT_VALUE_FLAGS(TAVIXQTBASE_ENUMERATOR) };
Q_DECLARE_FLAGS(FormatValueFlags, FormatValueFlag)
enum FormatMultiplier { TAVIXQTBASE_FORMAT_MULTIPLIERS(TAVIXQTBASE_ENUMERATOR) };
#else
#define TAVIXQTBASE_ENUMERATOR(name) using ::name;
using ::FormatMultiplier;
using ::FormatValueFlag;
using ::FormatValueFlags;
TAVIXQTBASE_FORMAT_VALUE_FLAGS(TAVIXQTBASE_ENUMERATOR)
TAVIXQTBASE_FORMAT_MULTIPLIERS(TAVIXQTBASE_ENUMERATOR)
#endif
#undef TAVIXQTBASE_ENUMERATOR
Q_FLAGS(FormatValueFlags)
Q_ENUMS(FormatMultiplier)
} // namespace QmlFormatEnums

/**
 * The QML singleton Format: the number, count and address formatters of
 * stringhelpers.h under their C++ names, with their parameters in the same order.
 *
 * A value that QML cannot hand over as the C++ type (see the module's page)
 * gives an empty string instead of a text. The locale is optional: a Qt.locale()
 * object or a locale name such as "de_DE"; anything else, or none, is the
 * application's default locale.
 */
class Format : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    QML_EXTENDED_NAMESPACE(QmlFormatEnums)

public:
    using QObject::QObject;

    Q_INVOKABLE QString formatDoubleValue(const QJSValue& value, int precision,
        QmlFormatEnums::FormatValueFlags flags = {}, const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatIntegerValue(
        const QJSValue& value, QmlFormatEnums::FormatValueFlags flags = {}, const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatUnsignedIntegerValue(
        const QJSValue& value, QmlFormatEnums::FormatValueFlags flags = {}, const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatDoubleValueAndUnits(const QJSValue& value, int precision,
        QmlFormatEnums::FormatMultiplier multiplier, const QString& unit, QmlFormatEnums::FormatValueFlags flags = {},
        const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatIntegerValueAndUnits(const QJSValue& value, int precision,
        QmlFormatEnums::FormatMultiplier multiplier, const QString& unit, QmlFormatEnums::FormatValueFlags flags = {},
        const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatUnsignedIntegerValueAndUnits(const QJSValue& value, int precision,
        QmlFormatEnums::FormatMultiplier multiplier, const QString& unit, QmlFormatEnums::FormatValueFlags flags = {},
        const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatDoubleValueAndAutoUnits(const QJSValue& value, int precision, const QString& unit,
        QmlFormatEnums::FormatValueFlags flags = {}, const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatImageCount(const QJSValue& images, const QJSValue& errors) const;
    Q_INVOKABLE QString formatIPConfiguration(const QJSValue& ipConfiguration, const QJSValue& options) const;
    Q_INVOKABLE QString formatMACAddress(const QJSValue& address, const QJSValue& separator = QJSValue()) const;

private:
    void dependOnTranslation() const;

    // A script function that looks up a translation: called by the translated
    // formatters, it makes the QML binding that calls them a translation binding,
    // which QQmlEngine::retranslate() evaluates anew.
    mutable QJSValue m_translationLookup;
};

#endif
