// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The acquisition settings of an open camera, as read from and written to it.
#ifndef CAMERAMONITOR_CAMERASETTINGS_H
#define CAMERAMONITOR_CAMERASETTINGS_H

#include <QMetaType>
#include <QString>
#include <QStringList>

/** One number feature of the camera: its value and bounds; not available when the camera lacks it. */
struct CameraFeature
{
    bool available = false;
    double value = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
};

/** What the camera reported after opening or after a change. */
struct CameraSettings
{
    CameraFeature frameRate; ///< frames per second
    CameraFeature exposureTime; ///< microseconds
    CameraFeature gain; ///< decibels
    QString pixelFormat; ///< GenICam name, e.g. "Mono8"
    QStringList pixelFormats; ///< the names the camera offers
};
Q_DECLARE_METATYPE(CameraSettings)

/** Changes asked of the camera; a negative number or an empty name leaves that setting alone. */
struct SettingsChange
{
    double frameRate = -1.0;
    double exposureTime = -1.0;
    double gain = -1.0;
    QString pixelFormat;

    /** Takes over what @p newer sets; a later request wins. */
    void merge(const SettingsChange& newer)
    {
        frameRate = newer.frameRate >= 0.0 ? newer.frameRate : frameRate;
        exposureTime = newer.exposureTime >= 0.0 ? newer.exposureTime : exposureTime;
        gain = newer.gain >= 0.0 ? newer.gain : gain;
        pixelFormat = newer.pixelFormat.isEmpty() ? pixelFormat : newer.pixelFormat;
    }
    bool isEmpty() const { return frameRate < 0.0 && exposureTime < 0.0 && gain < 0.0 && pixelFormat.isEmpty(); }
};

#endif
