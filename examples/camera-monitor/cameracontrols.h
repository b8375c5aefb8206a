// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The acquisition settings of the selected camera and the orientation of its image.
#ifndef CAMERAMONITOR_CAMERACONTROLS_H
#define CAMERAMONITOR_CAMERACONTROLS_H

#include "camerasettings.h"

#include <QGroupBox>

#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QScrollArea;

/**
 * Edits the acquisition settings of the selected camera: frame rate, exposure
 * time, gain, pixel format, region of interest, binning and automatic exposure
 * and gain, and how its image is shown: rotated by quarter turns and flipped.
 * An edited number is asked of the camera (changeRequested) when its field
 * loses focus or Return is pressed; a choice as soon as it is made. Beside each
 * number the value the camera reports is shown with its unit ("12.5 ms", "6 dB",
 * "50 fps", "320 px"). A setting the camera lacks is disabled, its tooltip says why.
 */
class CameraControls : public QGroupBox
{
    Q_OBJECT

public:
    explicit CameraControls(QWidget* parent = nullptr);

    /** Shows what the camera reported and enables the fields it has. */
    void showSettings(const CameraSettings& settings);
    /** Disables every field: no camera streams. */
    void clear();

    /**
     * As if the user entered @p value in the setting @p name: "frame-rate" (fps),
     * "exposure-time" (µs), "gain" (dB), "offset-x", "offset-y", "width", "height"
     * (pixels), "binning-horizontal", "binning-vertical", "pixel-format" (a name),
     * "rotation" (degrees), or "auto-exposure", "auto-gain", "flip-horizontal",
     * "flip-vertical" ("on" or "off"). False when the field is disabled or unknown.
     */
    bool enterSetting(const QString& name, const QString& value);

    /**
     * The texts beside the fields, for tests: frame rate, exposure time, gain, pixel format,
     * offset x, offset y, width, height, horizontal and vertical binning ("50 fps", ...), then
     * automatic exposure and gain: "on", "off" or "unavailable".
     */
    QStringList shownValues() const;

Q_SIGNALS:
    void changeRequested(const SettingsChange& change);

private:
    struct NumberField
    {
        QString name; ///< as enterSetting() knows it
        QDoubleSpinBox* box;
        QLabel* shown;
        CameraFeature CameraSettings::*reported;
        double SettingsChange::*setting;
        QString (*format)(double);
    };

    void addNumberField(const QString& name, const QString& caption, const QString& suffix, int decimals,
        CameraFeature CameraSettings::*reported, double SettingsChange::*setting, QString (*format)(double));
    QCheckBox* addSwitch(const QString& caption, std::optional<bool> SettingsChange::*setting);
    void addOrientationRow();
    bool enterNumber(const NumberField& field, double value);
    bool choosePixelFormat(const QString& name);
    bool setSwitch(QCheckBox* box, bool on);
    bool chooseRotation(int degrees);
    void requestOrientation();
    ImageOrientation shownOrientation() const;

    QScrollArea* m_scroll = nullptr;
    QGridLayout* m_grid = nullptr;
    std::vector<NumberField> m_numbers;
    QComboBox* m_pixelFormat = nullptr;
    QCheckBox* m_autoExposure = nullptr;
    QCheckBox* m_autoGain = nullptr;
    QComboBox* m_rotation = nullptr;
    QCheckBox* m_flipHorizontal = nullptr;
    QCheckBox* m_flipVertical = nullptr;
    CameraSettings m_reported; ///< as the fields hold it
    bool m_showing = false;
};

/** "50 fps", "12.5 ms", "6 dB", "320 px", "2": the camera's values with their units, in the system locale. */
QString formatFrameRateSetting(double framesPerSecond);
QString formatExposureTime(double microseconds);
QString formatGain(double decibels);
QString formatPixels(double pixels);
QString formatBinning(double factor);

#endif
