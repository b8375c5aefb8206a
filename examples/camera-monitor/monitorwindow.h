// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The camera monitor's main window.
#ifndef CAMERAMONITOR_MONITORWINDOW_H
#define CAMERAMONITOR_MONITORWINDOW_H

#include "camerastreamer.h"
#include "figuresformat.h"
#include "streamfigures.h"

#include <TavixQtBase/errorreporting.h>

#include <QHash>
#include <QJsonObject>
#include <QMainWindow>
#include <QTimer>

#include <memory>

class ElidingLabel;
class MessageLog;
class QAction;
class QStandardItemModel;
class QTableView;

/**
 * Lists the cameras found, streams from one of them in a CameraStreamer and
 * shows its live figures, refreshed by a timer. Errors of any thread arrive
 * through the library's error queue and are shown without blocking: in the
 * status bar and in a message list that merges repeats. Window geometry and
 * the table's column layout are kept in the application's settings.
 */
class MonitorWindow : public QMainWindow
{
    Q_OBJECT

public:
    MonitorWindow(const QString& cameraName, double frameRate, double retryIntervalSeconds, QWidget* parent = nullptr);
    ~MonitorWindow() override;

    /** The figures as the display shows them now. */
    StreamFigures::Snapshot currentFigures();
    /** Number of error reports received from the queue so far. */
    int reportsReceived() const { return m_reportsReceived; }
    /**
     * The texts the window shows, for tests: "size" [width, height], "labels"
     * {caption (the label's accessible name): whole text}, "table" [[cell texts]], "messages" [texts],
     * "status" the status bar's message.
     */
    QJsonObject shownTexts() const;

Q_SIGNALS:
    /** A connection to the camera with Aravis's device id @p cameraId (as visibleText()) streams. */
    void streamingStarted(const QString& cameraId);

public Q_SLOTS:
    /** Drops the current connection and connects anew, reporting a failure. */
    void reconnect();
    /**
     * Connects to the camera in the table at @p address, as a double-click on its
     * row does; returns false when no row has this address.
     */
    bool activateCameraAt(const QString& address);
    /** Shows the current figures; the timer calls it twice a second. */
    void updateFigures();

protected:
    void closeEvent(QCloseEvent* event) override;

private Q_SLOTS:
    void onDisplayError(
        AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details, QWidget* parent);
    void onCamerasDiscovered(const QList<CameraDescription>& cameras);
    void onStreamingStarted(const CameraDescription& camera);
    void onStreamingEnded(CameraStreamer::EndReason reason, const QString& message);
    void onCameraActivated(const QModelIndex& index);
    void contactSupport();
    void sendFeedback();
    void showSystemInformation();

private:
    QWidget* createFiguresPanel();
    void limitColumnWidths();
    void createMenus();
    void connectTo(bool reportFailure);
    void stopStreaming();
    void selectCameraRow(const CameraDescription& camera);
    void restoreLayout();
    void saveLayout() const;
    UnitPrefixes unitPrefixes() const;

    CameraStreamer::Request m_request;
    const std::shared_ptr<StreamFigures> m_figures;
    CameraStreamer* m_streamer = nullptr;
    QTimer m_figuresTimer;
    QTimer m_retryTimer;
    int m_reportsReceived = 0;
    bool m_headerLayoutRestored = false;

    QStandardItemModel* m_cameras = nullptr;
    QTableView* m_cameraTable = nullptr;
    QHash<QByteArray, long long> m_ipConfigurations; ///< by camera id, as read when each camera was last opened
    QList<ElidingLabel*> m_figureLabels;
    ElidingLabel* m_cameraLabel = nullptr;
    ElidingLabel* m_stateLabel = nullptr;
    ElidingLabel* m_frameRateLabel = nullptr;
    ElidingLabel* m_dataRateLabel = nullptr;
    ElidingLabel* m_frameSizeLabel = nullptr;
    ElidingLabel* m_countLabel = nullptr;
    MessageLog* m_messages = nullptr;
    QAction* m_binaryPrefixes = nullptr;
};

#endif
