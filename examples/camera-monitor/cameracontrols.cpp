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

#include <algorithm>

namespace {

constexpr FormatValueFlags settingFlags
    = FormatValueShowMultiplier | FormatValueTrimZeros | FormatValueOmitZeroFraction;

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

namespace {

/** How the window shows one setting of cameraSettingTable(). */
struct FieldLook
{
    const char* key;
    const char* caption;
    int decimals = 0; ///< of a number's field
    QString (*format)(double) = nullptr; ///< of a number's reported value
};

// Below its field, the automatic mode is captioned by the field's name.
const FieldLook fieldLooks[] = {
    { "frame-rate", QT_TRANSLATE_NOOP("CameraControls", "Frame rate:"), 2, formatFrameRateSetting },
    { "exposure-time", QT_TRANSLATE_NOOP("CameraControls", "Exposure time:"), 0, formatExposureTime },
    { "auto-exposure", QT_TRANSLATE_NOOP("CameraControls", "Automatic") },
    { "gain", QT_TRANSLATE_NOOP("CameraControls", "Gain:"), 2, formatGain },
    { "auto-gain", QT_TRANSLATE_NOOP("CameraControls", "Automatic") },
    { "pixel-format", QT_TRANSLATE_NOOP("CameraControls", "Pixel format:") },
    { "offset-x", QT_TRANSLATE_NOOP("CameraControls", "Offset X:"), 0, formatPixels },
    { "offset-y", QT_TRANSLATE_NOOP("CameraControls", "Offset Y:"), 0, formatPixels },
    { "width", QT_TRANSLATE_NOOP("CameraControls", "Width:"), 0, formatPixels },
    { "height", QT_TRANSLATE_NOOP("CameraControls", "Height:"), 0, formatPixels },
    { "binning-horizontal", QT_TRANSLATE_NOOP("CameraControls", "Binning horizontally:"), 0, formatBinning },
    { "binning-vertical", QT_TRANSLATE_NOOP("CameraControls", "Binning vertically:"), 0, formatBinning },
    { "rotation", QT_TRANSLATE_NOOP("CameraControls", "Rotation:") },
    { "flip-horizontal", QT_TRANSLATE_NOOP("CameraControls", "Flip horizontally") },
    { "flip-vertical", QT_TRANSLATE_NOOP("CameraControls", "Flip vertically") },
};

const FieldLook& lookOf(const CameraSetting& setting)
{
    const auto look = std::find_if(std::begin(fieldLooks), std::end(fieldLooks),
        [&setting](const FieldLook& candidate) { return qstrcmp(candidate.key, setting.key) == 0; });
    Q_ASSERT(look != std::end(fieldLooks));
    return *look;
}

} // namespace

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
    for (const CameraSetting& setting : cameraSettingTable()) {
        addField(setting);
    }
    m_grid->setColumnStretch(2, 1);
    clear();
}

void CameraControls::addField(const CameraSetting& setting)
{
    const FieldLook& look = lookOf(setting);
    const QString caption = tr(look.caption);
    const int row = m_grid->rowCount();
    Field field { &setting, look.format };
    switch (setting.kind) {
    case SettingKind::Number:
        field.editor = field.box = new QDoubleSpinBox;
        field.box->setDecimals(look.decimals);
        field.box->setSuffix(*setting.unit ? QLatin1Char(' ') + QString::fromUtf8(setting.unit) : QString());
        field.box->setKeyboardTracking(false);
        field.shown = new QLabel;
        field.shown->setAccessibleName(caption);
        m_grid->addWidget(field.box, row, 1);
        m_grid->addWidget(field.shown, row, 2);
        // Leaving a field unchanged asks nothing of the camera: a change restarts the rate's statistic.
        connect(field.box, &QDoubleSpinBox::editingFinished, this, [this, index = m_fields.size()] {
            const Field& edited = m_fields[index];
            if (edited.box->value() != (m_reported.*edited.setting->feature).value) {
                request(edited, edited.box->value());
            }
        });
        break;
    case SettingKind::Switch:
    case SettingKind::Flip:
        // Below its field rather than beside it: three columns fit the settings' default width.
        field.editor = field.check = new QCheckBox(caption);
        m_grid->addWidget(field.check, row, 1, 1, 2);
        connect(field.check, &QCheckBox::clicked, this,
            [this, index = m_fields.size()](bool on) { request(m_fields[index], on); });
        break;
    case SettingKind::Choice:
    case SettingKind::Rotation:
        field.editor = field.list = new QComboBox;
        for (int degrees = 0; setting.kind == SettingKind::Rotation && degrees < 360; degrees += 90) {
            field.list->addItem(tr("%1\u00b0").arg(degrees), degrees);
        }
        m_grid->addWidget(field.list, row, 1, 1, setting.kind == SettingKind::Choice ? 2 : 1);
        connect(field.list, QOverload<int>::of(&QComboBox::activated), this, [this, index = m_fields.size()](int item) {
            const QComboBox* list = m_fields[index].list;
            request(m_fields[index], list->itemData(item).isValid() ? list->itemData(item) : list->itemText(item));
        });
        break;
    }
    if (!field.check) {
        field.editor->setAccessibleName(caption);
        m_grid->addWidget(new QLabel(caption), row, 0);
    }
    m_fields.push_back(field);
}

void CameraControls::showSettings(const CameraSettings& settings)
{
    // Setting the fields must not read as the user's edits.
    m_showing = true;
    m_reported = settings;
    for (const Field& field : m_fields) {
        show(field, settingState(*field.setting, settings));
        if (field.box && field.box->isEnabled()) {
            // Compared later with what the field holds, rounded to its decimals.
            (m_reported.*field.setting->feature).value = field.box->value();
        }
    }
    m_showing = false;
    // The camera's ranges change the fields' widths.
    m_scroll->updateGeometry();
}

void CameraControls::show(const Field& field, const SettingState& state)
{
    field.editor->setEnabled(state.available);
    field.editor->setToolTip(state.available ? QString() : tr("The camera does not offer this setting."));
    if (field.box) {
        field.shown->setText(state.available ? field.format(state.value.toDouble()) : tr("not available"));
        if (state.available) {
            field.box->setRange(state.minimum, state.maximum);
            field.box->setValue(state.value.toDouble());
        }
    } else if (field.check) {
        field.check->setChecked(state.value.toBool());
    } else if (field.setting->kind == SettingKind::Choice) {
        field.list->clear();
        field.list->addItems(state.options);
        field.list->setCurrentText(state.value.toString());
    } else {
        field.list->setCurrentIndex(field.list->findData(state.value.toInt()));
    }
}

void CameraControls::clear()
{
    showSettings(CameraSettings());
    for (const Field& field : m_fields) {
        if (field.shown) {
            field.shown->setText(tr("-"));
        }
    }
}

bool CameraControls::enterSetting(const CameraSetting& setting, const QVariant& value)
{
    const auto field = std::find_if(
        m_fields.begin(), m_fields.end(), [&setting](const Field& candidate) { return candidate.setting == &setting; });
    if (field == m_fields.end() || !field->editor->isEnabled() || !value.isValid()) {
        return false;
    }
    if (field->box) {
        field->box->setValue(value.toDouble());
        Q_EMIT field->box->editingFinished();
    } else if (field->check) {
        if (field->check->isChecked() != value.toBool()) {
            field->check->click();
        }
    } else {
        const int item = field->setting->kind == SettingKind::Rotation ? field->list->findData(value.toInt())
                                                                       : field->list->findText(value.toString());
        if (item == -1) {
            return false;
        }
        field->list->setCurrentIndex(item);
        Q_EMIT field->list->activated(item);
    }
    return true;
}

void CameraControls::request(const Field& field, const QVariant& value)
{
    const std::optional<SettingsChange> change
        = m_showing ? std::nullopt : settingChange(*field.setting, m_reported, value);
    if (!change) {
        return;
    }
    // The next turn of the image starts from this one, before the camera reports it.
    m_reported.orientation = change->orientation.value_or(m_reported.orientation);
    Q_EMIT changeRequested(*change);
}

QStringList CameraControls::shownValues() const
{
    QStringList values;
    for (const QString& key : dumpedSettingKeys()) {
        const Field& field = *std::find_if(m_fields.begin(), m_fields.end(),
            [&key](const Field& candidate) { return key == QLatin1String(candidate.setting->key); });
        if (field.shown) {
            values.append(field.shown->text());
        } else if (field.list) {
            values.append(field.list->currentText());
        } else {
            values.append(!field.check->isEnabled() ? QStringLiteral("unavailable")
                    : field.check->isChecked()      ? QStringLiteral("on")
                                                    : QStringLiteral("off"));
        }
    }
    return values;
}
