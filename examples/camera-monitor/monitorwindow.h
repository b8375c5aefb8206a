// The camera monitor's main window.
#ifndef CAMERAMONITOR_MONITORWINDOW_H
#define CAMERAMONITOR_MONITORWINDOW_H

#include "camerastreamer.h"
#include "figuresformat.h"
#include "streamfigures.h"

#include <TavixQtBase/errorreporting.h>

#include <QMainWindow>
#include <QTimer>

#include <memory>

class MessageLog;
class QAction;
class QLabel;
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

Q_SIGNALS:
    /** A connection to the camera with Aravis's device id @p cameraId streams. */
    void streamingStarted(const QString& cameraId);

public Q_SLOTS:
    /** Drops the current connection and connects anew, reporting a failure. */
    void reconnect();
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
    void createMenus();
    void connectTo(const QString& cameraName, bool reportFailure);
    void stopStreaming();
    void selectCameraRow(const CameraDescription& camera);
    void restoreLayout();
    void saveLayout() const;
    UnitPrefixes unitPrefixes() const;

    QString m_cameraName;
    const double m_frameRate;
    StreamFigures m_figures;
    std::unique_ptr<CameraStreamer> m_streamer;
    QTimer m_figuresTimer;
    QTimer m_retryTimer;
    int m_reportsReceived = 0;
    bool m_headerLayoutRestored = false;

    QStandardItemModel* m_cameras = nullptr;
    QTableView* m_cameraTable = nullptr;
    QLabel* m_cameraLabel = nullptr;
    QLabel* m_stateLabel = nullptr;
    QLabel* m_frameRateLabel = nullptr;
    QLabel* m_dataRateLabel = nullptr;
    QLabel* m_frameSizeLabel = nullptr;
    QLabel* m_countLabel = nullptr;
    MessageLog* m_messages = nullptr;
    QAction* m_binaryPrefixes = nullptr;
};

#endif
