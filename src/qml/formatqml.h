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
 * The QML singleton Format: the number, count and address formatters of
 * stringhelpers.h under their C++ names, with their parameters in the same order.
 *
 * A value that QML cannot hand over as the C++ type (see the module's page)
 * gives an empty string instead of a text. The locale is optional: a Qt.locale()
 * object or a locale name such as "de_DE"; anything else, or none, is the
 * application's default locale.
 */
class QmlFormat : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(Format)
    QML_SINGLETON

public:
    enum FormatValueFlag {
        FormatValueTrimZeros = ::FormatValueTrimZeros,
        FormatValueGeneral = ::FormatValueGeneral,
        FormatValueOmitZeroFraction = ::FormatValueOmitZeroFraction,
        FormatValueGroupDigits = ::FormatValueGroupDigits,
        FormatValueBinaryMultiplier = ::FormatValueBinaryMultiplier,
        FormatValueShowMultiplier = ::FormatValueShowMultiplier,
        FormatValueMultiplierName = ::FormatValueMultiplierName
    };
    Q_ENUM(FormatValueFlag)

    enum FormatMultiplier {
        MultiplierNone = ::MultiplierNone,
        MultiplierKilo = ::MultiplierKilo,
        MultiplierMega = ::MultiplierMega,
        MultiplierGiga = ::MultiplierGiga,
        MultiplierTera = ::MultiplierTera,
        MultiplierPeta = ::MultiplierPeta,
        MultiplierExa = ::MultiplierExa,
        MultiplierZetta = ::MultiplierZetta,
        MultiplierYotta = ::MultiplierYotta,
        MultiplierMilli = ::MultiplierMilli,
        MultiplierMicro = ::MultiplierMicro,
        MultiplierNano = ::MultiplierNano,
        MultiplierPico = ::MultiplierPico,
        MultiplierFemto = ::MultiplierFemto,
        MultiplierAtto = ::MultiplierAtto,
        MultiplierZepto = ::MultiplierZepto,
        MultiplierYocto = ::MultiplierYocto
    };
    Q_ENUM(FormatMultiplier)

    using QObject::QObject;

    Q_INVOKABLE QString formatDoubleValue(
        const QJSValue& value, int precision, int flags = 0, const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatIntegerValue(
        const QJSValue& value, int flags = 0, const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatUnsignedIntegerValue(
        const QJSValue& value, int flags = 0, const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatDoubleValueAndUnits(const QJSValue& value, int precision, int multiplier,
        const QString& unit, int flags = 0, const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatIntegerValueAndUnits(const QJSValue& value, int precision, int multiplier,
        const QString& unit, int flags = 0, const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatUnsignedIntegerValueAndUnits(const QJSValue& value, int precision, int multiplier,
        const QString& unit, int flags = 0, const QVariant& locale = QVariant()) const;
    Q_INVOKABLE QString formatDoubleValueAndAutoUnits(const QJSValue& value, int precision, const QString& unit,
        int flags = 0, const QVariant& locale = QVariant()) const;
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
