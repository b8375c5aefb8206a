// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The camera monitor's main window.
#ifndef CAMERAMONITOR_MONITORWINDOW_H
#define CAMERAMONITOR_MONITORWINDOW_H

#include "figuresformat.h"
#include "monitormodel.h"

#include <TavixQtBase/errorreporting.h>

#include <QMainWindow>

class CameraControls;
class ElidingLabel;
class ImageView;
class QAction;
class QSplitter;
class CameraTable;
class QTableView;
class RateChart;
class WindowState;

/**
 * Shows a MonitorModel in widgets: the cameras found, with each streaming
 * camera's rates, in a table; the selected camera's live image, figures, rate
 * chart and settings. Errors of any thread arrive through the library's error
 * queue and are shown without blocking: in the status bar and in the model's
 * report list. Window geometry and state and the table's column layout are kept in
 * the application's settings.
 */
class MonitorWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MonitorWindow(const ChannelSet::Options& options, QWidget* parent = nullptr);

    MonitorModel* model() { return &m_model; }
    const MonitorModel* model() const { return &m_model; }

public Q_SLOTS:
    /** Drops the selected camera's connection and connects anew, reporting a failure. */
    void reconnect();

protected:
    void closeEvent(QCloseEvent* event) override;

private Q_SLOTS:
    void onDisplayError(
        AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details, QWidget* parent);
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
    void onSelectionChanged();
    void onSelectedRowChanged();
    void showSettings();
    void showFigures();
    void showLatestImage();
    void restoreLayout();
    void saveLayout() const;
    UnitPrefixes unitPrefixes() const;

    MonitorModel m_model;
    bool m_headerLayoutRestored = false;

    CameraTable* m_cameras = nullptr;
    QTableView* m_cameraTable = nullptr;
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
    QAction* m_binaryPrefixes = nullptr;
    WindowState* m_windowState = nullptr;
};

#endif
