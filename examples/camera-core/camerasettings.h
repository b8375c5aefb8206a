// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The acquisition settings of an open camera, as read from and written to it.
#ifndef CAMERACORE_CAMERASETTINGS_H
#define CAMERACORE_CAMERASETTINGS_H

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

/** One number feature of the camera: its value and bounds; not available when the camera lacks it. */
struct CameraFeature
{
    bool available = false;
    double value = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
};

/** An automatic mode of the camera (exposure, gain): on or off; not available when the camera lacks it. */
struct CameraSwitch
{
    bool available = false;
    bool on = false;
};

/** How the monitor turns a camera's image for showing: mirrored first, then rotated clockwise. */
struct ImageOrientation
{
    int rotation = 0; ///< 0, 90, 180 or 270 degrees clockwise
    bool flipHorizontal = false; ///< left and right swapped
    bool flipVertical = false; ///< top and bottom swapped

    bool operator==(const ImageOrientation& other) const
    {
        return rotation == other.rotation && flipHorizontal == other.flipHorizontal
            && flipVertical == other.flipVertical;
    }
};

/** What the camera reported after opening or after a change, with the orientation the monitor shows it in. */
struct CameraSettings
{
    CameraFeature frameRate; ///< frames per second
    CameraFeature exposureTime; ///< microseconds
    CameraFeature gain; ///< decibels
    QString pixelFormat; ///< GenICam name, e.g. "Mono8"
    QStringList pixelFormats; ///< the names the camera offers
    CameraFeature offsetX; ///< the region of interest in pixels of the sensor, after binning
    CameraFeature offsetY;
    CameraFeature width;
    CameraFeature height;
    CameraFeature binningHorizontal; ///< sensor pixels combined into one
    CameraFeature binningVertical;
    CameraSwitch autoExposure;
    CameraSwitch autoGain;
    ImageOrientation orientation;
};
Q_DECLARE_METATYPE(CameraSettings)

/**
 * Changes asked of the camera; a negative number, an empty name or an unset
 * optional leaves that setting alone. The orientation is the monitor's own and
 * never reaches the camera.
 */
struct SettingsChange
{
    double frameRate = -1.0;
    double exposureTime = -1.0;
    double gain = -1.0;
    QString pixelFormat;
    double offsetX = -1.0;
    double offsetY = -1.0;
    double width = -1.0;
    double height = -1.0;
    double binningHorizontal = -1.0;
    double binningVertical = -1.0;
    std::optional<bool> autoExposure;
    std::optional<bool> autoGain;
    std::optional<ImageOrientation> orientation;

    /** Takes over what @p newer sets; a later request wins. */
    void merge(const SettingsChange& newer);
    /** True when nothing is asked of the camera itself. */
    bool leavesCamera() const;
    /** True when the frames change size, which needs a new stream with buffers of the new size. */
    bool resizesFrames() const;
};

/** How a setting is shown and entered. */
enum class SettingKind {
    Number, ///< a CameraFeature within its bounds
    Switch, ///< an automatic mode of the camera, on or off
    Choice, ///< one of the names the camera offers
    Rotation, ///< quarter turns of the shown image, in degrees
    Flip, ///< the shown image mirrored, on or off
};

/**
 * One setting of the table that both monitors, their scripted actions and the
 * remembered settings go through: where it is read in CameraSettings and asked
 * for in SettingsChange. The members of the other kinds stay null.
 */
struct CameraSetting
{
    const char* key; ///< as scripted actions and QML name it, e.g. "offset-x"
    SettingKind kind;
    const char* unit; ///< of a number as its field shows it, e.g. "px"; empty for a plain factor
    bool remembered; ///< kept per camera between runs, see rememberSettings()
    CameraFeature CameraSettings::*feature = nullptr; ///< Number
    double SettingsChange::*number = nullptr;
    CameraSwitch CameraSettings::*reportedSwitch = nullptr; ///< Switch
    std::optional<bool> SettingsChange::*switchChange = nullptr;
    bool ImageOrientation::*flip = nullptr; ///< Flip
};

/** Every setting, in the order the Widgets monitor shows them. */
const std::vector<CameraSetting>& cameraSettingTable();
/** The entry of @p key; null for an unknown key. */
const CameraSetting* findCameraSetting(const QString& key);
/**
 * The keys of the camera's own settings in the order the monitors' --dump-texts
 * lists them: numbers and choices, then switches; the orientation is left out.
 */
QStringList dumpedSettingKeys();

/** What the camera reported of one setting. */
struct SettingState
{
    bool available = false;
    QVariant value; ///< a double, a bool, a name or degrees
    double minimum = 0.0; ///< of a number
    double maximum = 0.0;
    QStringList options; ///< of a choice
};

/**
 * @p setting as @p reported holds it. The orientation is the monitor's own: it can
 * be chosen whenever a camera reported its pixel formats, that is streams.
 */
SettingState settingState(const CameraSetting& setting, const CameraSettings& reported);
/**
 * The change that asks for @p value in @p setting of a camera that reported
 * @p reported: a number within its bounds, a bool, one of the offered names or
 * a quarter turn; nullopt when the camera lacks the setting or @p value does not fit.
 */
std::optional<SettingsChange> settingChange(
    const CameraSetting& setting, const CameraSettings& reported, const QVariant& value);
/** The value of a scripted action's text @p text for @p setting: "on" or "off" of a switch, else the text. */
QVariant scriptedValue(const CameraSetting& setting, const QString& text);

/**
 * Stores what @p change sets of the settings remembered per camera between runs
 * (region, binning, automatic modes and orientation) for the camera @p cameraKey.
 */
void rememberSettings(const QString& cameraKey, const SettingsChange& change);
/** The remembered settings of @p cameraKey; a change that sets nothing for a camera never changed. */
SettingsChange rememberedSettings(const QString& cameraKey);

#endif
