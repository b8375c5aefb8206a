// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "cameracontrols.h"

#include <TavixQtBase/stringhelpers.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr FormatValueFlags settingFlags
    = FormatValueShowMultiplier | FormatValueTrimZeros | FormatValueOmitZeroFraction;

// The pixel format follows the frame rate, the exposure time and the gain.
constexpr int pixelFormatPosition = 3;
constexpr int quarterTurn = 90;

/**
 * Scrolls the fields where the window is small, and asks for the width that shows all their columns
 * beside a vertical scroll bar: a column behind a sideways scroll bar would go unseen.
 */
class FieldsArea : public QScrollArea
{
public:
    QSize sizeHint() const override
    {
        return QSize(widget()->sizeHint().width() + verticalScrollBar()->sizeHint().width() + 2 * frameWidth(),
            QScrollArea::sizeHint().height());
    }
};

/** "on" or "off" of a scripted setting; nullopt for anything else. */
std::optional<bool> switchValue(const QString& value)
{
    if (value == QLatin1String("on") || value == QLatin1String("off")) {
        return value == QLatin1String("on");
    }
    return std::nullopt;
}

} // namespace

QString formatFrameRateSetting(double framesPerSecond)
{
    return formatDoubleValueAndUnits(
        framesPerSecond, 2, MultiplierNone, QStringLiteral("fps"), settingFlags, getSystemLocale());
}

QString formatExposureTime(double microseconds)
{
    return formatDoubleValueAndAutoUnits(microseconds / 1e6, 3, QStringLiteral("s"), settingFlags, getSystemLocale());
}

QString formatGain(double decibels)
{
    return formatDoubleValueAndUnits(
        decibels, 2, MultiplierNone, QStringLiteral("dB"), settingFlags, getSystemLocale());
}

QString formatPixels(double pixels)
{
    return formatIntegerValueAndUnits(
        qRound64(pixels), 0, MultiplierNone, QStringLiteral("px"), settingFlags, getSystemLocale());
}

QString formatBinning(double factor)
{
    return formatIntegerValue(qRound64(factor), {}, getSystemLocale());
}

CameraControls::CameraControls(QWidget* parent)
    : QGroupBox(tr("Camera settings"), parent)
{
    // The fields scroll where the window is small, rather than set its smallest size.
    auto* fields = new QWidget;
    m_grid = new QGridLayout(fields);
    m_scroll = new FieldsArea;
    m_scroll->setWidget(fields);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    auto* boxLayout = new QVBoxLayout(this);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    boxLayout->addWidget(m_scroll);
    addNumberField(QStringLiteral("frame-rate"), tr("Frame rate:"), tr(" fps"), 2, &CameraSettings::frameRate,
        &SettingsChange::frameRate, formatFrameRateSetting);
    addNumberField(QStringLiteral("exposure-time"), tr("Exposure time:"), tr(" \u00b5s"), 0,
        &CameraSettings::exposureTime, &SettingsChange::exposureTime, formatExposureTime);
    m_autoExposure = addSwitch(tr("Automatic"), &SettingsChange::autoExposure);
    addNumberField(
        QStringLiteral("gain"), tr("Gain:"), tr(" dB"), 2, &CameraSettings::gain, &SettingsChange::gain, formatGain);
    m_autoGain = addSwitch(tr("Automatic"), &SettingsChange::autoGain);
    m_pixelFormat = new QComboBox;
    m_pixelFormat->setAccessibleName(tr("Pixel format:"));
    const int pixelFormatRow = m_grid->rowCount();
    m_grid->addWidget(new QLabel(tr("Pixel format:")), pixelFormatRow, 0);
    m_grid->addWidget(m_pixelFormat, pixelFormatRow, 1, 1, 2);
    connect(m_pixelFormat, QOverload<int>::of(&QComboBox::activated), this,
        [this](int index) { choosePixelFormat(m_pixelFormat->itemText(index)); });
    addNumberField(QStringLiteral("offset-x"), tr("Offset X:"), tr(" px"), 0, &CameraSettings::offsetX,
        &SettingsChange::offsetX, formatPixels);
    addNumberField(QStringLiteral("offset-y"), tr("Offset Y:"), tr(" px"), 0, &CameraSettings::offsetY,
        &SettingsChange::offsetY, formatPixels);
    addNumberField(QStringLiteral("width"), tr("Width:"), tr(" px"), 0, &CameraSettings::width, &SettingsChange::width,
        formatPixels);
    addNumberField(QStringLiteral("height"), tr("Height:"), tr(" px"), 0, &CameraSettings::height,
        &SettingsChange::height, formatPixels);
    addNumberField(QStringLiteral("binning-horizontal"), tr("Binning horizontally:"), QString(), 0,
        &CameraSettings::binningHorizontal, &SettingsChange::binningHorizontal, formatBinning);
    addNumberField(QStringLiteral("binning-vertical"), tr("Binning vertically:"), QString(), 0,
        &CameraSettings::binningVertical, &SettingsChange::binningVertical, formatBinning);
    addOrientationRow();
    m_grid->setColumnStretch(2, 1);
    clear();
}

void CameraControls::addNumberField(const QString& name, const QString& caption, const QString& suffix, int decimals,
    CameraFeature CameraSettings::*reported, double SettingsChange::*setting, QString (*format)(double))
{
    const int row = m_grid->rowCount();
    auto* box = new QDoubleSpinBox;
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    box->setKeyboardTracking(false);
    box->setAccessibleName(caption);
    auto* shown = new QLabel;
    shown->setAccessibleName(caption);
    m_grid->addWidget(new QLabel(caption), row, 0);
    m_grid->addWidget(box, row, 1);
    m_grid->addWidget(shown, row, 2);
    m_numbers.push_back({ name, box, shown, reported, setting, format });
    // Leaving a field unchanged asks nothing of the camera: a change restarts the rate's statistic.
    connect(box, &QDoubleSpinBox::editingFinished, this, [this, index = m_numbers.size() - 1] {
        const NumberField& field = m_numbers[index];
        if (field.box->value() != (m_reported.*field.reported).value) {
            enterNumber(field, field.box->value());
        }
    });
}

QCheckBox* CameraControls::addSwitch(const QString& caption, std::optional<bool> SettingsChange::*setting)
{
    // Below its field rather than beside it: three columns fit the settings' default width.
    auto* box = new QCheckBox(caption);
    m_grid->addWidget(box, m_grid->rowCount(), 1, 1, 2);
    connect(box, &QCheckBox::clicked, this, [this, setting](bool on) {
        SettingsChange change;
        change.*setting = on;
        Q_EMIT changeRequested(change);
    });
    return box;
}

void CameraControls::addOrientationRow()
{
    const int row = m_grid->rowCount();
    m_rotation = new QComboBox;
    m_rotation->setAccessibleName(tr("Rotation:"));
    for (int degrees = 0; degrees < 360; degrees += quarterTurn) {
        m_rotation->addItem(tr("%1\u00b0").arg(degrees), degrees);
    }
    m_flipHorizontal = new QCheckBox(tr("Flip horizontally"));
    m_flipVertical = new QCheckBox(tr("Flip vertically"));
    m_grid->addWidget(new QLabel(tr("Rotation:")), row, 0);
    m_grid->addWidget(m_rotation, row, 1);
    m_grid->addWidget(m_flipHorizontal, row + 1, 1, 1, 2);
    m_grid->addWidget(m_flipVertical, row + 2, 1, 1, 2);
    connect(m_rotation, QOverload<int>::of(&QComboBox::activated), this, &CameraControls::requestOrientation);
    for (QCheckBox* flip : { m_flipHorizontal, m_flipVertical }) {
        connect(flip, &QCheckBox::clicked, this, &CameraControls::requestOrientation);
    }
}

void CameraControls::showSettings(const CameraSettings& settings)
{
    // Setting the fields must not read as the user's edits.
    m_showing = true;
    m_reported = settings;
    for (const NumberField& field : m_numbers) {
        CameraFeature& feature = m_reported.*field.reported;
        field.box->setEnabled(feature.available);
        field.box->setToolTip(feature.available ? QString() : tr("The camera does not offer this setting."));
        field.shown->setText(feature.available ? field.format(feature.value) : tr("not available"));
        if (feature.available) {
            field.box->setRange(feature.minimum, feature.maximum);
            field.box->setValue(feature.value);
            // Compared later with what the field holds, rounded to its decimals.
            feature.value = field.box->value();
        }
    }
    const auto showSwitch = [](QCheckBox* box, const CameraSwitch& automatic, const QString& lacking) {
        box->setEnabled(automatic.available);
        box->setChecked(automatic.on);
        box->setToolTip(automatic.available ? QString() : lacking);
    };
    showSwitch(m_autoExposure, settings.autoExposure, tr("The camera has no automatic exposure."));
    showSwitch(m_autoGain, settings.autoGain, tr("The camera has no automatic gain."));
    m_pixelFormat->clear();
    m_pixelFormat->addItems(settings.pixelFormats);
    m_pixelFormat->setCurrentText(settings.pixelFormat);
    m_pixelFormat->setEnabled(!settings.pixelFormats.isEmpty());
    // The orientation is the monitor's: it can be chosen whenever a camera streams.
    const bool streaming = !settings.pixelFormats.isEmpty();
    m_rotation->setCurrentIndex(m_rotation->findData(settings.orientation.rotation));
    m_flipHorizontal->setChecked(settings.orientation.flipHorizontal);
    m_flipVertical->setChecked(settings.orientation.flipVertical);
    for (QWidget* widget : std::initializer_list<QWidget*> { m_rotation, m_flipHorizontal, m_flipVertical }) {
        widget->setEnabled(streaming);
    }
    m_showing = false;
    // The camera's ranges change the fields' widths.
    m_scroll->updateGeometry();
}

void CameraControls::clear()
{
    showSettings(CameraSettings());
    for (const NumberField& field : m_numbers) {
        field.shown->setText(tr("-"));
    }
}

bool CameraControls::enterSetting(const QString& name, const QString& value)
{
    for (const NumberField& field : m_numbers) {
        if (field.name == name) {
            return enterNumber(field, value.toDouble());
        }
    }
    const std::optional<bool> on = switchValue(value);
    if (name == QLatin1String("auto-exposure") && on) {
        return setSwitch(m_autoExposure, *on);
    }
    if (name == QLatin1String("auto-gain") && on) {
        return setSwitch(m_autoGain, *on);
    }
    if (name == QLatin1String("flip-horizontal") && on) {
        return setSwitch(m_flipHorizontal, *on);
    }
    if (name == QLatin1String("flip-vertical") && on) {
        return setSwitch(m_flipVertical, *on);
    }
    if (name == QLatin1String("rotation")) {
        return chooseRotation(value.toInt());
    }
    return name == QLatin1String("pixel-format") && choosePixelFormat(value);
}

bool CameraControls::enterNumber(const NumberField& field, double value)
{
    if (m_showing || !field.box->isEnabled()) {
        return false;
    }
    field.box->setValue(value);
    SettingsChange change;
    change.*field.setting = field.box->value();
    Q_EMIT changeRequested(change);
    return true;
}

// As a click: the box's own clicked signal asks for the change.
bool CameraControls::setSwitch(QCheckBox* box, bool on)
{
    if (m_showing || !box->isEnabled()) {
        return false;
    }
    box->setChecked(on);
    Q_EMIT box->clicked(on);
    return true;
}

bool CameraControls::chooseRotation(int degrees)
{
    const int index = m_rotation->findData(degrees);
    if (m_showing || !m_rotation->isEnabled() || index < 0) {
        return false;
    }
    m_rotation->setCurrentIndex(index);
    requestOrientation();
    return true;
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

void CameraControls::requestOrientation()
{
    SettingsChange change;
    change.orientation = shownOrientation();
    Q_EMIT changeRequested(change);
}

ImageOrientation CameraControls::shownOrientation() const
{
    ImageOrientation orientation;
    orientation.rotation = m_rotation->currentData().toInt();
    orientation.flipHorizontal = m_flipHorizontal->isChecked();
    orientation.flipVertical = m_flipVertical->isChecked();
    return orientation;
}

QStringList CameraControls::shownValues() const
{
    QStringList values;
    for (const NumberField& field : m_numbers) {
        values.append(field.shown->text());
    }
    values.insert(pixelFormatPosition, m_pixelFormat->currentText());
    for (const QCheckBox* box : { m_autoExposure, m_autoGain }) {
        values.append(!box->isEnabled() ? QStringLiteral("unavailable")
                : box->isChecked()      ? QStringLiteral("on")
                                        : QStringLiteral("off"));
    }
    return values;
}
