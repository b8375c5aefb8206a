// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "camerasettings.h"

#include <QSettings>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int quarterTurn = 90;

/** The key of @p setting in the settings file: "offset-x" as "offsetX". */
QString storedKey(const CameraSetting& setting)
{
    QStringList words = QString::fromLatin1(setting.key).split(QLatin1Char('-'));
    for (qsizetype word = 1; word < words.size(); ++word) {
        words[word][0] = words[word][0].toUpper();
    }
    return words.join(QString());
}

void takeNumber(double* mine, double newer)
{
    if (newer >= 0.0) {
        *mine = newer;
    }
}

/** The settings group of one camera; the key is percent-encoded, so no character of it splits groups. */
QString cameraGroup(const QString& cameraKey)
{
    return QStringLiteral("Cameras/") + QString::fromLatin1(QUrl::toPercentEncoding(cameraKey));
}

} // namespace

void SettingsChange::merge(const SettingsChange& newer)
{
    for (const CameraSetting& setting : cameraSettingTable()) {
        if (setting.kind == SettingKind::Number) {
            takeNumber(&(this->*setting.number), newer.*setting.number);
        } else if (setting.kind == SettingKind::Switch && newer.*setting.switchChange) {
            this->*setting.switchChange = newer.*setting.switchChange;
        }
    }
    pixelFormat = newer.pixelFormat.isEmpty() ? pixelFormat : newer.pixelFormat;
    orientation = newer.orientation ? newer.orientation : orientation;
}

bool SettingsChange::resizesFrames() const
{
    return !pixelFormat.isEmpty() || offsetX >= 0.0 || offsetY >= 0.0 || width >= 0.0 || height >= 0.0
        || binningHorizontal >= 0.0 || binningVertical >= 0.0;
}

bool SettingsChange::leavesCamera() const
{
    const auto asks = [this](const CameraSetting& setting) {
        return (setting.kind == SettingKind::Number && this->*setting.number >= 0.0)
            || (setting.kind == SettingKind::Switch && this->*setting.switchChange);
    };
    const std::vector<CameraSetting>& table = cameraSettingTable();
    return pixelFormat.isEmpty() && std::none_of(table.cbegin(), table.cend(), asks);
}

const std::vector<CameraSetting>& cameraSettingTable()
{
    using Kind = SettingKind;
    static const std::vector<CameraSetting> table {
        { "frame-rate", Kind::Number, "fps", false, &CameraSettings::frameRate, &SettingsChange::frameRate },
        { "exposure-time", Kind::Number, "\u00b5s", false, &CameraSettings::exposureTime,
            &SettingsChange::exposureTime },
        { "auto-exposure", Kind::Switch, "", true, nullptr, nullptr, &CameraSettings::autoExposure,
            &SettingsChange::autoExposure },
        { "gain", Kind::Number, "dB", false, &CameraSettings::gain, &SettingsChange::gain },
        { "auto-gain", Kind::Switch, "", true, nullptr, nullptr, &CameraSettings::autoGain, &SettingsChange::autoGain },
        { "pixel-format", Kind::Choice, "", false },
        { "offset-x", Kind::Number, "px", true, &CameraSettings::offsetX, &SettingsChange::offsetX },
        { "offset-y", Kind::Number, "px", true, &CameraSettings::offsetY, &SettingsChange::offsetY },
        { "width", Kind::Number, "px", true, &CameraSettings::width, &SettingsChange::width },
        { "height", Kind::Number, "px", true, &CameraSettings::height, &SettingsChange::height },
        { "binning-horizontal", Kind::Number, "", true, &CameraSettings::binningHorizontal,
            &SettingsChange::binningHorizontal },
        { "binning-vertical", Kind::Number, "", true, &CameraSettings::binningVertical,
            &SettingsChange::binningVertical },
        { "rotation", Kind::Rotation, "", true },
        { "flip-horizontal", Kind::Flip, "", true, nullptr, nullptr, nullptr, nullptr,
            &ImageOrientation::flipHorizontal },
        { "flip-vertical", Kind::Flip, "", true, nullptr, nullptr, nullptr, nullptr, &ImageOrientation::flipVertical },
    };
    return table;
}

const CameraSetting* findCameraSetting(const QString& key)
{
    for (const CameraSetting& setting : cameraSettingTable()) {
        if (key == QLatin1String(setting.key)) {
            return &setting;
        }
    }
    return nullptr;
}

QStringList dumpedSettingKeys()
{
    QStringList values;
    QStringList switches;
    for (const CameraSetting& setting : cameraSettingTable()) {
        if (setting.kind == SettingKind::Switch) {
            switches.append(QLatin1String(setting.key));
        } else if (setting.kind == SettingKind::Number || setting.kind == SettingKind::Choice) {
            values.append(QLatin1String(setting.key));
        }
    }
    return values + switches;
}

SettingState settingState(const CameraSetting& setting, const CameraSettings& reported)
{
    const bool streaming = !reported.pixelFormats.isEmpty();
    switch (setting.kind) {
    case SettingKind::Number: {
        const CameraFeature& feature = reported.*setting.feature;
        return { feature.available, feature.value, feature.minimum, feature.maximum, {} };
    }
    case SettingKind::Switch:
        return { (reported.*setting.reportedSwitch).available, (reported.*setting.reportedSwitch).on, 0.0, 0.0, {} };
    case SettingKind::Choice:
        return { streaming, reported.pixelFormat, 0.0, 0.0, reported.pixelFormats };
    case SettingKind::Rotation:
        return { streaming, reported.orientation.rotation, 0.0, 0.0, {} };
    case SettingKind::Flip:
        break;
    }
    return { streaming, reported.orientation.*setting.flip, 0.0, 0.0, {} };
}

std::optional<SettingsChange> settingChange(
    const CameraSetting& setting, const CameraSettings& reported, const QVariant& value)
{
    const SettingState state = settingState(setting, reported);
    bool number = false;
    const double amount = value.toDouble(&number);
    const bool onOff = value.userType() == QMetaType::Bool;
    SettingsChange change;
    ImageOrientation orientation = reported.orientation;
    bool fits = state.available;
    switch (setting.kind) {
    case SettingKind::Number:
        fits = fits && number;
        change.*setting.number = qBound(state.minimum, amount, state.maximum);
        break;
    case SettingKind::Switch:
        fits = fits && onOff;
        change.*setting.switchChange = value.toBool();
        break;
    case SettingKind::Choice:
        fits = fits && state.options.contains(value.toString());
        change.pixelFormat = value.toString();
        break;
    case SettingKind::Rotation:
        fits = fits && number && int(amount) % quarterTurn == 0 && amount >= 0 && amount < 4 * quarterTurn;
        orientation.rotation = int(amount);
        change.orientation = orientation;
        break;
    case SettingKind::Flip:
        fits = fits && onOff;
        orientation.*setting.flip = value.toBool();
        change.orientation = orientation;
        break;
    }
    return fits ? std::optional<SettingsChange>(change) : std::nullopt;
}

QVariant scriptedValue(const CameraSetting& setting, const QString& text)
{
    if (setting.kind != SettingKind::Switch && setting.kind != SettingKind::Flip) {
        return text;
    }
    if (text == QLatin1String("on") || text == QLatin1String("off")) {
        return text == QLatin1String("on");
    }
    return QVariant();
}

void rememberSettings(const QString& cameraKey, const SettingsChange& change)
{
    QSettings settings;
    settings.beginGroup(cameraGroup(cameraKey));
    for (const CameraSetting& setting : cameraSettingTable()) {
        QVariant value;
        if (!setting.remembered) {
            continue;
        } else if (setting.kind == SettingKind::Number && change.*setting.number >= 0.0) {
            value = change.*setting.number;
        } else if (setting.kind == SettingKind::Switch && change.*setting.switchChange) {
            value = *(change.*setting.switchChange);
        } else if (setting.kind == SettingKind::Rotation && change.orientation) {
            value = change.orientation->rotation;
        } else if (setting.kind == SettingKind::Flip && change.orientation) {
            value = change.orientation.value().*setting.flip;
        }
        if (value.isValid()) {
            settings.setValue(storedKey(setting), value);
        }
    }
}

SettingsChange rememberedSettings(const QString& cameraKey)
{
    QSettings settings;
    settings.beginGroup(cameraGroup(cameraKey));
    SettingsChange change;
    ImageOrientation orientation;
    for (const CameraSetting& setting : cameraSettingTable()) {
        const QVariant value = settings.value(storedKey(setting));
        if (!setting.remembered || !value.isValid()) {
            continue;
        } else if (setting.kind == SettingKind::Number) {
            change.*setting.number = value.toDouble();
        } else if (setting.kind == SettingKind::Switch) {
            change.*setting.switchChange = value.toBool();
        } else if (setting.kind == SettingKind::Rotation) {
            // Only quarter turns: a hand-edited file cannot ask for a skewed image.
            orientation.rotation = (value.toInt() / quarterTurn % 4 + 4) % 4 * quarterTurn;
            change.orientation = orientation;
        } else if (setting.kind == SettingKind::Flip) {
            orientation.*setting.flip = value.toBool();
            change.orientation = orientation;
        }
    }
    return change;
}
