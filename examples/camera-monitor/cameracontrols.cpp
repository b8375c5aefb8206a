// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "cameracontrols.h"

#include <TavixQtBase/stringhelpers.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>

namespace {

constexpr FormatValueFlags settingFlags
    = FormatValueShowMultiplier | FormatValueTrimZeros | FormatValueOmitZeroFraction;

} // namespace

QString formatFrameRateSetting(double framesPerSecond)
{
    return formatDoubleValueAndUnits(
        framesPerSecond, 2, MultiplierNone, QStringLiteral("fps"), settingFlags, getSystemLocale());
}

QString formatExposureTime(double microseconds)
{
    const double seconds = microseconds / 1e6;
    const FormatMultiplier multiplier = seconds >= 1.0 ? MultiplierNone
        : seconds >= 1e-3                              ? MultiplierMilli
                                                       : MultiplierMicro;
    return formatDoubleValueAndUnits(seconds, 3, multiplier, QStringLiteral("s"), settingFlags, getSystemLocale());
}

QString formatGain(double decibels)
{
    return formatDoubleValueAndUnits(
        decibels, 2, MultiplierNone, QStringLiteral("dB"), settingFlags, getSystemLocale());
}

CameraControls::CameraControls(QWidget* parent)
    : QGroupBox(tr("Camera settings"), parent)
{
    auto* grid = new QGridLayout(this);
    m_frameRate = addField(tr("Frame rate:"), tr(" fps"), 2, &m_frameRateShown);
    m_exposureTime = addField(tr("Exposure time:"), tr(" \u00b5s"), 0, &m_exposureTimeShown);
    m_gain = addField(tr("Gain:"), tr(" dB"), 2, &m_gainShown);
    m_pixelFormat = new QComboBox;
    m_pixelFormat->setAccessibleName(tr("Pixel format:"));
    grid->addWidget(new QLabel(tr("Pixel format:")), 3, 0);
    grid->addWidget(m_pixelFormat, 3, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    connectField(m_frameRate, &CameraSettings::frameRate, &SettingsChange::frameRate);
    connectField(m_exposureTime, &CameraSettings::exposureTime, &SettingsChange::exposureTime);
    connectField(m_gain, &CameraSettings::gain, &SettingsChange::gain);
    connect(m_pixelFormat, QOverload<int>::of(&QComboBox::activated), this,
        [this](int index) { choosePixelFormat(m_pixelFormat->itemText(index)); });
    clear();
}

// Leaving a field unchanged asks nothing of the camera: a change restarts the rate's statistic.
void CameraControls::connectField(
    QDoubleSpinBox* box, CameraFeature CameraSettings::*reported, double SettingsChange::*setting)
{
    connect(box, &QDoubleSpinBox::editingFinished, this, [this, box, reported, setting] {
        if (box->value() != (m_reported.*reported).value) {
            enterNumber(box, box->value(), setting);
        }
    });
}

QDoubleSpinBox* CameraControls::addField(const QString& caption, const QString& suffix, int decimals, QLabel** shown)
{
    auto* grid = static_cast<QGridLayout*>(layout());
    const int row = grid->rowCount() == 1 && !grid->itemAtPosition(0, 0) ? 0 : grid->rowCount();
    auto* box = new QDoubleSpinBox;
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    box->setKeyboardTracking(false);
    box->setAccessibleName(caption);
    *shown = new QLabel;
    (*shown)->setAccessibleName(caption);
    grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(*shown, row, 2);
    return box;
}

void CameraControls::showSettings(const CameraSettings& settings)
{
    // Setting the fields must not read as the user's edits.
    m_showing = true;
    m_reported = settings;
    const auto show = [](QDoubleSpinBox* box, QLabel* shown, CameraFeature& feature, QString (*format)(double)) {
        box->setEnabled(feature.available);
        shown->setText(feature.available ? format(feature.value) : tr("not available"));
        if (feature.available) {
            box->setRange(feature.minimum, feature.maximum);
            box->setValue(feature.value);
            // Compared later with what the field holds, rounded to its decimals.
            feature.value = box->value();
        }
    };
    show(m_frameRate, m_frameRateShown, m_reported.frameRate, formatFrameRateSetting);
    show(m_exposureTime, m_exposureTimeShown, m_reported.exposureTime, formatExposureTime);
    show(m_gain, m_gainShown, m_reported.gain, formatGain);
    m_pixelFormat->clear();
    m_pixelFormat->addItems(settings.pixelFormats);
    m_pixelFormat->setCurrentText(settings.pixelFormat);
    m_pixelFormat->setEnabled(!settings.pixelFormats.isEmpty());
    m_showing = false;
}

void CameraControls::clear()
{
    showSettings(CameraSettings());
    for (QLabel* shown : { m_frameRateShown, m_exposureTimeShown, m_gainShown }) {
        shown->setText(tr("-"));
    }
}

bool CameraControls::enterNumber(QDoubleSpinBox* box, double value, double SettingsChange::*setting)
{
    if (m_showing || !box->isEnabled()) {
        return false;
    }
    box->setValue(value);
    SettingsChange change;
    change.*setting = box->value();
    Q_EMIT changeRequested(change);
    return true;
}

bool CameraControls::enterFrameRate(double framesPerSecond)
{
    return enterNumber(m_frameRate, framesPerSecond, &SettingsChange::frameRate);
}

bool CameraControls::enterExposureTime(double microseconds)
{
    return enterNumber(m_exposureTime, microseconds, &SettingsChange::exposureTime);
}

bool CameraControls::enterGain(double decibels)
{
    return enterNumber(m_gain, decibels, &SettingsChange::gain);
}

bool CameraControls::choosePixelFormat(const QString& name)
{
    if (!m_showing && m_pixelFormat->isEnabled() && m_pixelFormat->findText(name) >= 0) {
        m_pixelFormat->setCurrentText(name);
        SettingsChange change;
        change.pixelFormat = name;
        Q_EMIT changeRequested(change);
        return true;
    }
    return false;
}

QStringList CameraControls::shownValues() const
{
    return { m_frameRateShown->text(), m_exposureTimeShown->text(), m_gainShown->text(), m_pixelFormat->currentText() };
}
