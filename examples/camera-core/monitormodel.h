// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// What both camera monitors show, whatever their widgets or QML.
#ifndef CAMERACORE_MONITORMODEL_H
#define CAMERACORE_MONITORMODEL_H

#include "cameralist.h"
#include "channelset.h"
#include "reportlist.h"

#include <QObject>

/**
 * The presentation model of a camera monitor: streams through a ChannelSet,
 * lists the cameras found with their rates, follows the selected camera (its
 * name, state, settings and image message) and lists the error queue's reports.
 * Its signals tell a window what to show anew; the window formats the texts.
 * The selected camera connects once the window calls reconnect(). GUI thread.
 */
class MonitorModel : public QObject
{
    Q_OBJECT
    /** The cameras found; the roles are named in CameraListModel::roleNames(), e.g. "name", "framesPerSecond". */
    Q_PROPERTY(QAbstractItemModel* cameras READ cameras CONSTANT)
    /** The reports of the error queue, newest first, repeats merged; roles "display" and "severity". */
    Q_PROPERTY(QAbstractItemModel* reports READ reports CONSTANT)
    Q_PROPERTY(int selectedRow READ selectedRow NOTIFY selectedRowChanged)
    Q_PROPERTY(QString camera READ cameraText NOTIFY cameraChanged)
    Q_PROPERTY(QString state READ state NOTIFY stateChanged)
    Q_PROPERTY(QString imageMessage READ imageMessage NOTIFY imageChanged)

public:
    explicit MonitorModel(const ChannelSet::Options& options, QObject* parent = nullptr);

    ChannelSet& channels() { return m_channels; }
    const ChannelSet& channels() const { return m_channels; }
    CameraListModel* cameras() { return &m_cameras; }
    const CameraListModel* cameras() const { return &m_cameras; }
    ReportList* reports() { return &m_reports; }
    const ReportList* reports() const { return &m_reports; }
    CameraChannel* selected() const { return m_channels.selected(); }
    /** The row of the selected camera in cameras() while it streams, else -1. */
    int selectedRow() const;
    /** The selected camera's id and address, for showing; the last one's until a new one streams. */
    QString cameraText() const { return m_cameraText; }
    QString state() const { return selected()->stateText(); }
    /** Why there is no image to show, empty while there is one. */
    QString imageMessage() const { return m_imageMessage; }

    /** Connects the selected camera (anew), reporting a failure. */
    Q_INVOKABLE void reconnect();
    /** Streams from the camera in @p row of cameras(), as a double-click on it does. */
    Q_INVOKABLE void openCamera(int row);
    /** Stops every stream without waiting for its thread; for the window's close. */
    Q_INVOKABLE void stop() { m_channels.stop(); }
    /**
     * Asks the selected camera for @p value in the setting @p key of cameraSettingTable();
     * false when it has no such setting now or the value does not fit it.
     */
    Q_INVOKABLE bool changeSetting(const QString& key, const QVariant& value);
    /** Writes the shown image as PNG, and with keepRawFrames the camera's bytes beside it; see saveFrame(). */
    bool saveImage(const QString& path) const;

Q_SIGNALS:
    void selectionChanged();
    void selectedRowChanged();
    void cameraChanged();
    void stateChanged();
    /** The selected camera's settings changed, or what it reported of them. */
    void settingsChanged();
    /** Every channel's figures were read, and cameras() shows their rates; twice a second. */
    void figuresRead();
    /** Every camera's figures were added to its history; once every ChannelSet::sampleIntervalMs. */
    void figuresSampled();
    /** The shown frame or imageMessage() changed. */
    void imageChanged();
    /** The selected camera streams, described as @p camera. */
    void selectedStarted(const CameraDescription& camera);
    /** A connection to the camera with Aravis's device id @p cameraId (as visibleText()) streams. */
    void streamingStarted(const QString& cameraId);

private:
    void follow(CameraChannel* channel);
    void onSelectionChanged();
    void onCamerasDiscovered(const QList<CameraDescription>& cameras);
    void onChannelStarted(CameraChannel* channel, const CameraDescription& camera);
    void onFrameTaken();
    void nameCamera(const CameraDescription& camera);

    ChannelSet m_channels;
    CameraListModel m_cameras;
    ReportList m_reports;
    QString m_cameraText;
    QString m_imageMessage;
};

#endif
