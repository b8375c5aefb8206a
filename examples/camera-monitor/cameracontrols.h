// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Frame rate, exposure time, gain and pixel format of the selected camera.
#ifndef CAMERAMONITOR_CAMERACONTROLS_H
#define CAMERAMONITOR_CAMERACONTROLS_H

#include "camerasettings.h"

#include <QGroupBox>

class QComboBox;
class QDoubleSpinBox;
class QLabel;

/**
 * Edits the acquisition settings of the selected camera. An edited value is
 * asked of the camera (changeRequested) when its field loses focus or Return is
 * pressed; a pixel format as soon as it is chosen. Beside each field the value
 * the camera reports is shown with its unit ("12.5 ms", "6 dB", "50 fps").
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
     * As if the user entered a value in a field (frame rate in fps, exposure in µs,
     * gain in dB) or chose a pixel format; false when the field is disabled.
     */
    bool enterFrameRate(double framesPerSecond);
    bool enterExposureTime(double microseconds);
    bool enterGain(double decibels);
    bool choosePixelFormat(const QString& name);

    /** The texts beside the fields, for tests: "Frame rate:" → "50 fps", ... */
    QStringList shownValues() const;

Q_SIGNALS:
    void changeRequested(const SettingsChange& change);

private:
    QDoubleSpinBox* addField(const QString& caption, const QString& suffix, int decimals, QLabel** shown);
    void connectField(QDoubleSpinBox* box, CameraFeature CameraSettings::*reported, double SettingsChange::*setting);
    bool enterNumber(QDoubleSpinBox* box, double value, double SettingsChange::*setting);

    QDoubleSpinBox* m_frameRate = nullptr;
    QDoubleSpinBox* m_exposureTime = nullptr;
    QDoubleSpinBox* m_gain = nullptr;
    QComboBox* m_pixelFormat = nullptr;
    QLabel* m_frameRateShown = nullptr;
    QLabel* m_exposureTimeShown = nullptr;
    QLabel* m_gainShown = nullptr;
    CameraSettings m_reported; ///< as the fields hold it
    bool m_showing = false;
};

/** "50 fps", "12.5 ms", "6 dB": the camera's values with their units, in the system locale. */
QString formatFrameRateSetting(double framesPerSecond);
QString formatExposureTime(double microseconds);
QString formatGain(double decibels);

#endif
