// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// What the Qt Quick monitor's QML sees of its cameras.
#ifndef CAMERAMONITORQUICK_MONITORCONTROLLER_H
#define CAMERAMONITORQUICK_MONITORCONTROLLER_H

#include "channelset.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStandardItemModel>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

/**
 * The QML singleton Monitor: lists the cameras found, streams from them through
 * a ChannelSet and hands QML the selected camera's figures, settings, state
 * and newest image, and each streaming camera's rates in the camera list: the
 * rates of a FrameRate of the module TavixQtBase that the stream feeds.
 * GUI thread.
 */
class MonitorController : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(Monitor)
    QML_SINGLETON
    /** The cameras found; the roles are named in roleNames(), e.g. "name", "address", "framesPerSecond". */
    Q_PROPERTY(QAbstractItemModel* cameras READ cameras CONSTANT)
    /** The row of the selected camera in cameras, -1 while it is not listed. */
    Q_PROPERTY(int selectedRow READ selectedRow NOTIFY selectedRowChanged)
    /** The selected camera's id and address, for showing. */
    Q_PROPERTY(QString camera READ cameraText NOTIFY cameraChanged)
    Q_PROPERTY(QString state READ state NOTIFY stateChanged)
    /**
     * The selected camera's figures: hasRate, framesPerSecond, bytesPerSecond, width, height, frameBytes,
     * images, errors (see StreamFigures::Snapshot).
     */
    Q_PROPERTY(QVariantMap figures READ figures NOTIFY figuresChanged)
    /**
     * The selected camera's settings by the names of the scripted actions: each number ("frame-rate",
     * "exposure-time", "gain", "offset-x", "offset-y", "width", "height", "binning-horizontal",
     * "binning-vertical") as {available, value, minimum, maximum}, "pixel-format" as {available, value,
     * options}, "auto-exposure" and "auto-gain" as {available, value}, and the image's "rotation",
     * "flip-horizontal" and "flip-vertical" as {available, value}. Empty while no camera streams.
     */
    Q_PROPERTY(QVariantMap settings READ settings NOTIFY settingsChanged)
    /** Data rate and frame size with powers of 1024 (KiB, MiB); kept in the settings. */
    Q_PROPERTY(bool binaryPrefixes READ binaryPrefixes WRITE setBinaryPrefixes NOTIFY binaryPrefixesChanged)
    /** Why there is no image to show, empty while there is one. */
    Q_PROPERTY(QString imageMessage READ imageMessage NOTIFY imageChanged)

public:
    explicit MonitorController(const ChannelSet::Options& options, QObject* parent = nullptr);

    /** The instance that QML gets; set it before the QML engine loads anything. */
    static void setInstance(MonitorController* instance);
    static MonitorController* create(QQmlEngine* engine, QJSEngine* scriptEngine);
    /**
     * Points an item's @p current monitor at @p next, dropping the connections
     * the @p receiver had to the old one. False when nothing changes.
     */
    static bool rebind(QPointer<MonitorController>& current, MonitorController* next, QObject* receiver);

    QAbstractItemModel* cameras() { return &m_cameras; }
    int selectedRow() const;
    QString cameraText() const { return m_cameraText; }
    QString state() const { return m_channels.selected()->stateText(); }
    QVariantMap figures() const;
    QVariantMap settings() const;
    bool binaryPrefixes() const { return m_binaryPrefixes; }
    void setBinaryPrefixes(bool binary);
    QString imageMessage() const { return m_imageMessage; }

    /** Streams from the camera in @p row of cameras and shows it, as a double-click on it does. */
    Q_INVOKABLE void openCamera(int row);
    /** Drops the selected camera's connection and connects anew, reporting a failure. */
    Q_INVOKABLE void reconnect();
    /**
     * Asks the selected camera for the setting @p name (a key of settings) at @p value: a number,
     * a pixel format's name, or a bool for the automatic modes and flips. False when the camera has no
     * such setting now.
     */
    Q_INVOKABLE bool changeSetting(const QString& name, const QVariant& value);
    /** Stops every stream without waiting for its thread; for the window's close. */
    Q_INVOKABLE void stop();

    /** The row of the camera at @p address in cameras, -1 when none is listed there. */
    int rowOfAddress(const QString& address) const;
    const QList<CameraChannel*>& channels() const { return m_channels.channels(); }
    StreamFigures::Snapshot currentFigures() const { return m_channels.selected()->figuresNow(); }
    const QVector<RatePoint>& history() const { return m_channels.selected()->history(); }
    /** The newest frame of the selected camera, its image turned as asked; no image before the first. */
    const LatestFrame::Frame& frame() const { return m_channels.shownFrame(); }
    /** Where the image is shown, in device pixels: see LatestFrame::setDisplaySize(). */
    void setDisplaySize(const QSize& size) { m_channels.setDisplaySize(size); }
    /** Writes the shown image as PNG, and with keepRawFrames the camera's bytes beside it; see saveFrame(). */
    bool saveImage(const QString& path) const;

Q_SIGNALS:
    void selectedRowChanged();
    void cameraChanged();
    void stateChanged();
    void figuresChanged();
    void settingsChanged();
    void binaryPrefixesChanged();
    void imageChanged();
    /** A connection to the camera with Aravis's device id @p cameraId (as visibleText()) streams. */
    void streamingStarted(const QString& cameraId);
    /** Every camera's figures were read and added to its history; once every ChannelSet::sampleIntervalMs. */
    void figuresSampled();

private:
    void follow(CameraChannel* channel);
    /** Gives @p channel a FrameRate of the module TavixQtBase for its rates, once the engine is known. */
    void attachFrameRate(CameraChannel* channel);
    void onSelectionChanged();
    void onCamerasDiscovered(const QList<CameraDescription>& cameras);
    void onChannelStarted(CameraChannel* channel, const CameraDescription& camera);
    void updateListRates();
    void onFrameTaken();

    ChannelSet m_channels;
    QPointer<QQmlEngine> m_engine; ///< the engine that made the singleton, which makes the FrameRates
    QStandardItemModel m_cameras;
    QHash<QByteArray, long long> m_ipConfigurations; ///< by camera id, as read when each camera was last opened
    QString m_cameraText;
    QString m_imageMessage;
    bool m_binaryPrefixes = false;
};

#endif
