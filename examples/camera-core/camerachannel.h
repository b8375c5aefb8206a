// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// One camera the monitor streams from, with its figures, image and history.
#ifndef CAMERACORE_CAMERACHANNEL_H
#define CAMERACORE_CAMERACHANNEL_H

#include "camerastreamer.h"
#include "latestframe.h"
#include "ratepoint.h"
#include "streamfigures.h"

#include <QObject>
#include <QTimer>

#include <memory>

/**
 * The monitor's side of one camera connection: runs a CameraStreamer after
 * another for it (a lost or missing camera is retried after the retry
 * interval), and keeps what the window shows of it: its figures, its newest
 * image, the settings it reported and one chart point per second. GUI thread.
 */
class CameraChannel : public QObject
{
    Q_OBJECT

public:
    CameraChannel(const CameraStreamer::Request& request, int retryIntervalMs, QObject* parent = nullptr);
    ~CameraChannel() override;

    /** Drops the current connection, if any, and connects anew. */
    void connectCamera(bool reportFailure);
    /** Drops the connection without waiting for its thread and retries no more. */
    void stop();

    /** Aravis's id of the camera: the one asked for, else the one streaming or last streamed. */
    QByteArray cameraId() const { return m_cameraId; }
    bool isStreaming() const { return m_streaming; }
    QString stateText() const { return m_state; }
    const CameraDescription& camera() const { return m_camera; }
    const CameraSettings& settings() const { return m_settings; }
    LatestFrame& frame() { return *m_frame; }
    const QVector<RatePoint>& history() const { return m_history; }

    /**
     * Takes the rates from @p frameRate, a FrameRate of the QML module TavixQtBase,
     * from now on: it receives every frame through FrameRateFeed, and
     * readFigures() reads its figures. The channel takes ownership; a null or
     * other object leaves the rates to the channel's own statistic.
     */
    void setFrameRate(QObject* frameRate);
    /** Reads the stream's figures; the window's timer calls it for every channel at once. */
    void readFigures();
    /** The figures as of the last readFigures(). */
    const StreamFigures::Snapshot& figuresNow() const { return m_figuresNow; }
    /** Adds the figures now read to the history as one chart point; the window calls it once a second. */
    void sample(qint64 msecsSinceEpoch);
    /**
     * Asks the camera for @p change, turns the shown image as it says and
     * remembers its region, binning, automatic modes and orientation for the
     * next opening of this camera, in this run or a later one.
     */
    void changeSettings(const SettingsChange& change);

Q_SIGNALS:
    void camerasDiscovered(const QList<CameraDescription>& cameras);
    void streamingStarted(const CameraDescription& camera);
    void settingsRead(const CameraSettings& settings);
    /** frame() holds an image not taken yet. */
    void imageReady();
    void stateChanged(const QString& state);

private:
    void setState(const QString& state);
    void onStreamingEnded(CameraStreamer::EndReason reason, const QString& message);
    /** Asks the camera just opened for what was remembered of it. */
    void applyRememberedSettings();

    CameraStreamer::Request m_request;
    const std::shared_ptr<StreamFigures> m_figures;
    const std::shared_ptr<LatestFrame> m_frame;
    CameraStreamer* m_streamer = nullptr;
    QTimer m_retryTimer;
    QByteArray m_cameraId;
    CameraDescription m_camera;
    CameraSettings m_settings;
    QString m_state;
    bool m_streaming = false;
    QObject* m_frameRate = nullptr; ///< a child, fed by the stream's thread; see setFrameRate()
    StreamFigures::Snapshot m_figuresNow;
    StreamFigures::Snapshot m_lastSample; ///< the figures of the newest chart point
    QVector<RatePoint> m_history;
};

#endif
