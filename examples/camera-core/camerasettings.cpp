// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "camerasettings.h"

#include <QSettings>
#include <QUrl>

namespace {

struct RememberedNumber
{
    const char* key;
    double SettingsChange::*member;
};

constexpr RememberedNumber rememberedNumbers[] = {
    { "offsetX", &SettingsChange::offsetX },
    { "offsetY", &SettingsChange::offsetY },
    { "width", &SettingsChange::width },
    { "height", &SettingsChange::height },
    { "binningHorizontal", &SettingsChange::binningHorizontal },
    { "binningVertical", &SettingsChange::binningVertical },
};

struct RememberedSwitch
{
    const char* key;
    std::optional<bool> SettingsChange::*member;
};

constexpr RememberedSwitch rememberedSwitches[] = {
    { "autoExposure", &SettingsChange::autoExposure },
    { "autoGain", &SettingsChange::autoGain },
};

const QString rotationKey = QStringLiteral("rotation");
const QString flipHorizontalKey = QStringLiteral("flipHorizontal");
const QString flipVerticalKey = QStringLiteral("flipVertical");

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
    for (double SettingsChange::*member : { &SettingsChange::frameRate, &SettingsChange::exposureTime,
             &SettingsChange::gain, &SettingsChange::offsetX, &SettingsChange::offsetY, &SettingsChange::width,
             &SettingsChange::height, &SettingsChange::binningHorizontal, &SettingsChange::binningVertical }) {
        takeNumber(&(this->*member), newer.*member);
    }
    pixelFormat = newer.pixelFormat.isEmpty() ? pixelFormat : newer.pixelFormat;
    autoExposure = newer.autoExposure ? newer.autoExposure : autoExposure;
    autoGain = newer.autoGain ? newer.autoGain : autoGain;
    orientation = newer.orientation ? newer.orientation : orientation;
}

bool SettingsChange::resizesFrames() const
{
    return !pixelFormat.isEmpty() || offsetX >= 0.0 || offsetY >= 0.0 || width >= 0.0 || height >= 0.0
        || binningHorizontal >= 0.0 || binningVertical >= 0.0;
}

bool SettingsChange::leavesCamera() const
{
    return frameRate < 0.0 && exposureTime < 0.0 && gain < 0.0 && !resizesFrames() && !autoExposure && !autoGain;
}

void rememberSettings(const QString& cameraKey, const SettingsChange& change)
{
    QSettings settings;
    settings.beginGroup(cameraGroup(cameraKey));
    for (const RememberedNumber& number : rememberedNumbers) {
        if (change.*number.member >= 0.0) {
            settings.setValue(QLatin1String(number.key), change.*number.member);
        }
    }
    for (const RememberedSwitch& automatic : rememberedSwitches) {
        if (change.*automatic.member) {
            settings.setValue(QLatin1String(automatic.key), *(change.*automatic.member));
        }
    }
    if (change.orientation) {
        settings.setValue(rotationKey, change.orientation->rotation);
        settings.setValue(flipHorizontalKey, change.orientation->flipHorizontal);
        settings.setValue(flipVerticalKey, change.orientation->flipVertical);
    }
}

SettingsChange rememberedSettings(const QString& cameraKey)
{
    QSettings settings;
    settings.beginGroup(cameraGroup(cameraKey));
    SettingsChange change;
    for (const RememberedNumber& number : rememberedNumbers) {
        change.*number.member = settings.value(QLatin1String(number.key), -1.0).toDouble();
    }
    for (const RememberedSwitch& automatic : rememberedSwitches) {
        if (settings.contains(QLatin1String(automatic.key))) {
            change.*automatic.member = settings.value(QLatin1String(automatic.key)).toBool();
        }
    }
    if (settings.contains(rotationKey)) {
        ImageOrientation orientation;
        // Only quarter turns: a hand-edited file cannot ask for a skewed image.
        orientation.rotation = (settings.value(rotationKey).toInt() / 90 % 4 + 4) % 4 * 90;
        orientation.flipHorizontal = settings.value(flipHorizontalKey).toBool();
        orientation.flipVertical = settings.value(flipVerticalKey).toBool();
        change.orientation = orientation;
    }
    return change;
}
