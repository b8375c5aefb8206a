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
     * Enters @p value in the field of @p setting as a user would: types a number and presses Return,
     * sets a check box or picks an item. False when the field is disabled or cannot hold the value.
     */
    bool enterSetting(const CameraSetting& setting, const QVariant& value);

    /**
     * The texts beside the fields, for tests, in the order of dumpedSettingKeys(): a number with its
     * unit ("50 fps", ...), the pixel format, and an automatic mode's "on", "off" or "unavailable".
     */
    QStringList shownValues() const;

Q_SIGNALS:
    void changeRequested(const SettingsChange& change);

private:
    /** The editor of one setting: a spin box and the reported value beside it, a check box or a list. */
    struct Field
    {
        const CameraSetting* setting;
        QString (*format)(double); ///< of a number's reported value
        QDoubleSpinBox* box = nullptr;
        QLabel* shown = nullptr;
        QCheckBox* check = nullptr;
        QComboBox* list = nullptr;
        QWidget* editor = nullptr; ///< the one of them that is shown
    };

    void addField(const CameraSetting& setting);
    void request(const Field& field, const QVariant& value);
    void show(const Field& field, const SettingState& state);

    QScrollArea* m_scroll = nullptr;
    QGridLayout* m_grid = nullptr;
    std::vector<Field> m_fields;
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
