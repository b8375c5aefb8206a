// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The cameras a monitor streams from, and the one it shows.
#ifndef CAMERACORE_CHANNELSET_H
#define CAMERACORE_CHANNELSET_H

#include "camerachannel.h"

#include <QObject>
#include <QTimer>

/**
 * Streams from the selected camera, or from every camera found, each in its
 * own CameraChannel, whatever window shows them. A timer reads every
 * channel's figures twice a second and adds a chart point to each once a
 * second, so that everything a window shows comes from one reading; the
 * selected camera's newest converted image is taken as soon as its channel
 * tells of one, up to LatestFrame::maxImagesPerSecond times a second. GUI thread.
 */
class ChannelSet : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        QString cameraName;
        double frameRate = 0.0;
        double retryIntervalSeconds = 2.0;
        bool allCameras = false; ///< stream from every camera found, not only the selected one
        bool keepRawFrames = false; ///< keep the camera's bytes of the shown image, for saveFrame()
    };

    /** How often the figures are read and sampled for the chart, in ms. */
    static constexpr qint64 sampleIntervalMs = 1000;

    explicit ChannelSet(const Options& options, QObject* parent = nullptr);
    ~ChannelSet() override;

    /** Adds and selects the channel for the camera the options name; it connects once asked to. */
    void addFirst();
    const QList<CameraChannel*>& channels() const { return m_channels; }
    CameraChannel* selected() const { return m_selected; }
    CameraChannel* channelFor(const QByteArray& cameraId) const;
    /** The selected camera's newest frame taken so far; empty after a new selection. */
    const LatestFrame::Frame& shownFrame() const { return m_shownFrame; }
    /** Where the window shows the selected camera's image, in device pixels: see LatestFrame::setDisplaySize(). */
    void setDisplaySize(const QSize& size);
    /**
     * Selects the camera with Aravis's id @p cameraId and streams from it, as a double-click in a camera
     * list does: through its channel if it has one, else through a new one, which replaces the one
     * before unless the options ask for every camera.
     */
    void activate(const QByteArray& cameraId);
    /**
     * When the options ask for every camera, opens a channel for each of @p cameras, as discovered,
     * that has none; the camera that the first channel still looks for by name stays that channel's.
     */
    void openOthers(const QList<CameraDescription>& cameras);
    /** Stops the timer and drops every connection without waiting for its thread. */
    void stop();

Q_SIGNALS:
    /** A new channel, before it connects, for the window to follow. */
    void channelAdded(CameraChannel* channel);
    void selectionChanged();
    /** Every channel's figures were read; twice a second. */
    void figuresRead();
    /** After figuresRead(), each channel's figures were added to its history; once every sampleIntervalMs. */
    void figuresSampled();
    /** shownFrame() holds a newer frame of the selected camera. */
    void frameTaken();

private:
    CameraChannel* addChannel(const QByteArray& cameraId);
    void select(CameraChannel* channel);
    void onFiguresTimer();
    void takeFrame();

    const Options m_options;
    QList<CameraChannel*> m_channels;
    CameraChannel* m_selected = nullptr;
    LatestFrame::Frame m_shownFrame;
    QSize m_displaySize;
    QTimer m_figuresTimer;
    bool m_sampleDue = false; ///< every other tick of the figures timer adds a chart point
};

#endif
