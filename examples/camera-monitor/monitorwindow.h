// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The camera monitor's main window.
#ifndef CAMERAMONITOR_MONITORWINDOW_H
#define CAMERAMONITOR_MONITORWINDOW_H

#include "channelset.h"
#include "figuresformat.h"
#include "streamfigures.h"

#include <TavixQtBase/errorreporting.h>

#include <QHash>
#include <QMainWindow>

class CameraControls;
class ElidingLabel;
class ImageView;
class MessageLog;
class QAction;
class QSplitter;
class QStandardItemModel;
class QTableView;
class RateChart;
class WindowState;

/**
 * Lists the cameras found and streams from the selected one, or from all of
 * them, through a ChannelSet; shows the selected camera's live image,
 * figures, rate chart and settings, and each streaming camera's rates in the
 * table. Errors of any thread arrive through the library's error queue and are
 * shown without blocking: in the status bar and in a message list that merges
 * repeats. Window geometry and state and the table's column layout are kept in
 * the application's settings.
 */
class MonitorWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MonitorWindow(const ChannelSet::Options& options, QWidget* parent = nullptr);

    /** The figures of the selected camera as the window shows them now. */
    StreamFigures::Snapshot currentFigures() const;
    /** The cameras streamed so far, each with the figures the window read last. */
    const QList<CameraChannel*>& channels() const { return m_channels.channels(); }
    /**
     * Writes the shown image to @p path as PNG, as File > Save image does; with
     * keepRawFrames also the camera's bytes of it to @p path + ".raw". False
     * without an image or when a file cannot be written.
     */
    bool saveImage(const QString& path) const;

Q_SIGNALS:
    /** A connection to the camera with Aravis's device id @p cameraId (as visibleText()) streams. */
    void streamingStarted(const QString& cameraId);
    /** Every camera's figures were read and added to its chart history; once every ChannelSet::sampleIntervalMs. */
    void figuresSampled();

public Q_SLOTS:
    /** Drops the selected camera's connection and connects anew, reporting a failure. */
    void reconnect();

protected:
    void closeEvent(QCloseEvent* event) override;

private Q_SLOTS:
    void onDisplayError(
        AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details, QWidget* parent);
    void onCamerasDiscovered(const QList<CameraDescription>& cameras);
    void onCameraActivated(const QModelIndex& index);
    void contactSupport();
    void sendFeedback();
    void showSystemInformation();
    void saveImageAs();

private:
    /** Gives the camera settings the width of all their columns, taken from the image and chart. */
    void widenControls();
    QWidget* arrangePanes(QWidget* messagesBox);
    QWidget* createFiguresPanel();
    void limitColumnWidths();
    void createMenus();
    void follow(CameraChannel* channel);
    void onSelectionChanged();
    void onChannelStarted(CameraChannel* channel, const CameraDescription& camera);
    void onFiguresSampled();
    void showFigures();
    void showLatestImage();
    void updateTableRates();
    void selectCameraRow(const CameraDescription& camera);
    void restoreLayout();
    void saveLayout() const;
    UnitPrefixes unitPrefixes() const;

    ChannelSet m_channels;
    bool m_headerLayoutRestored = false;

    QStandardItemModel* m_cameras = nullptr;
    QTableView* m_cameraTable = nullptr;
    QHash<QByteArray, long long> m_ipConfigurations; ///< by camera id, as read when each camera was last opened
    ElidingLabel* m_cameraLabel = nullptr;
    ElidingLabel* m_stateLabel = nullptr;
    ElidingLabel* m_frameRateLabel = nullptr;
    ElidingLabel* m_dataRateLabel = nullptr;
    ElidingLabel* m_frameSizeLabel = nullptr;
    ElidingLabel* m_countLabel = nullptr;
    ImageView* m_imageView = nullptr;
    RateChart* m_chart = nullptr;
    CameraControls* m_controls = nullptr;
    QSplitter* m_panes = nullptr; ///< the figures and messages, the camera settings, the image and chart
    MessageLog* m_messages = nullptr;
    QAction* m_binaryPrefixes = nullptr;
    WindowState* m_windowState = nullptr;
};

#endif
