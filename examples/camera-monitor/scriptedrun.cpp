// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "scriptedrun.h"

#include "cameracontrols.h"
#include "elidinglabel.h"
#include "imageview.h"
#include "monitorwindow.h"
#include "ratechart.h"
#include "windowstate.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonObject>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>

namespace {

QJsonArray jsonArray(const QStringList& texts)
{
    QJsonArray array;
    for (const QString& text : texts) {
        array.append(text);
    }
    return array;
}

QJsonObject labelTexts(const MonitorWindow* window)
{
    QJsonObject labels;
    for (const ElidingLabel* label : window->findChildren<ElidingLabel*>()) {
        labels.insert(label->accessibleName(), label->fullText());
    }
    return labels;
}

/** The captions of the labels that show only part of their text. */
QJsonArray elidedLabels(const MonitorWindow* window)
{
    QStringList captions;
    for (const ElidingLabel* label : window->findChildren<ElidingLabel*>()) {
        if (label->isElided()) {
            captions.append(label->accessibleName());
        }
    }
    return jsonArray(captions);
}

/**
 * The headers of the table's columns that are narrower than their header or cells, or that reach
 * beyond the table's viewport, behind its scroll bar or its edge.
 */
QJsonArray cutColumns(const QTableView* table)
{
    const QHeaderView* header = table->horizontalHeader();
    const QAbstractItemView* view = table; // sizeHintForColumn() is public in the base class only
    QStringList headers;
    for (int column = 0; column < header->count(); ++column) {
        const int left = header->sectionViewportPosition(column);
        const int width = header->sectionSize(column);
        const bool whole = width >= qMax(header->sectionSizeHint(column), view->sizeHintForColumn(column)) && left >= 0
            && left + width <= table->viewport()->width();
        if (!whole) {
            headers.append(table->model()->headerData(column, Qt::Horizontal).toString());
        }
    }
    return jsonArray(headers);
}

QJsonArray tableTexts(const QAbstractItemModel* model)
{
    QJsonArray table;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            cells.append(model->index(row, column).data().toString());
        }
        table.append(jsonArray(cells));
    }
    return table;
}

QJsonArray messageTexts(const QAbstractItemModel* messages)
{
    QStringList texts;
    for (int row = 0; row < messages->rowCount(); ++row) {
        texts.append(messages->index(row, 0).data().toString());
    }
    return jsonArray(texts);
}

QJsonObject windowGeometry(const MonitorWindow* window)
{
    const WindowState* state = window->findChild<WindowState*>();
    return { { QStringLiteral("frame"), TimedRun::jsonRect(window->frameGeometry()) },
        { QStringLiteral("normal"), TimedRun::jsonRect(QRect(state->normalPosition(), state->normalSize())) },
        { QStringLiteral("maximized"), window->isMaximized() },
        { QStringLiteral("fullScreen"), window->isFullScreen() },
        { QStringLiteral("available"), TimedRun::jsonRect(window->screen()->availableGeometry()) } };
}

/**
 * The texts the window shows, read from its widgets as a user sees them: "size" [width, height],
 * "devicePixelRatio", "labels" {caption (the label's accessible name): whole text}, "elided" [captions of
 * the labels shown cut], "table" [[cell texts]], "cutColumns" [headers of the columns not shown whole],
 * "settingsCut" (the camera settings are wider than their area and scroll sideways), "messages" [texts], "status" the
 * status bar's message, "controls" (CameraControls::shownValues()), "chart" [[ms since epoch, fps, bytes per second,
 * restarted, stalled]], "image" [width, height], "window" {"frame": [x, y, width, height], "normal": [x, y, width,
 * height], "maximized", "fullScreen", "available": the screen's available geometry [x, y, width, height]}.
 */
QJsonObject shownTexts(const MonitorWindow* window)
{
    const QImage image = window->findChild<ImageView*>()->image();
    const QTableView* table = window->findChild<QTableView*>();
    return { { QStringLiteral("size"), QJsonArray { window->width(), window->height() } },
        { QStringLiteral("devicePixelRatio"), window->devicePixelRatioF() },
        { QStringLiteral("labels"), labelTexts(window) }, { QStringLiteral("elided"), elidedLabels(window) },
        { QStringLiteral("table"), tableTexts(table->model()) }, { QStringLiteral("cutColumns"), cutColumns(table) },
        { QStringLiteral("settingsCut"),
            window->findChild<CameraControls*>()->findChild<QScrollArea*>()->horizontalScrollBar()->maximum() > 0 },
        { QStringLiteral("messages"), messageTexts(window->model()->reports()) },
        { QStringLiteral("status"), window->statusBar()->currentMessage() },
        { QStringLiteral("controls"), jsonArray(window->findChild<CameraControls*>()->shownValues()) },
        { QStringLiteral("chart"), TimedRun::jsonChart(window->findChild<RateChart*>()->points()) },
        { QStringLiteral("image"), QJsonArray { image.width(), image.height() } },
        { QStringLiteral("window"), windowGeometry(window) } };
}

/** Presses Return on the table row of the camera at @p address, as a user picks it; false without such a row. */
bool activateCameraAt(MonitorWindow* window, const QString& address)
{
    auto* table = window->findChild<QTableView*>();
    const QAbstractItemModel* model = table->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            if (model->index(row, column).data().toString() == address) {
                table->setCurrentIndex(model->index(row, column));
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QCoreApplication::sendEvent(table, &press);
                return true;
            }
        }
    }
    return false;
}

} // namespace

ScriptedRun::ScriptedRun(
    MonitorWindow* window, double runTimeSeconds, const QString& screenshotFile, const ScriptOptions& options)
    : TimedRun(window->model(), runTimeSeconds, screenshotFile, options)
    , m_window(window)
{
}

bool ScriptedRun::perform(const QString& action)
{
    const QString name = action.section(QLatin1Char('='), 0, 0);
    const QString value = action.section(QLatin1Char('='), 1);
    if (name == QLatin1String("switch")) {
        if (!activateCameraAt(m_window, value)) {
            printLine(QStringLiteral("%1: no such camera in the table").arg(action));
            return false;
        }
    } else if (action == QLatin1String("maximize")) {
        m_window->showMaximized();
    } else if (action == QLatin1String("normal")) {
        m_window->showNormal();
    } else if (name == QLatin1String("move")) {
        m_window->move(value.section(QLatin1Char(','), 0, 0).toInt(), value.section(QLatin1Char(','), 1).toInt());
    } else if (action == QLatin1String("reconnect")) {
        m_window->reconnect();
    } else {
        return changeSetting(action);
    }
    return true;
}

bool ScriptedRun::enterSetting(const CameraSetting& setting, const QVariant& value)
{
    return m_window->findChild<CameraControls*>()->enterSetting(setting, value);
}

QImage ScriptedRun::grabWindow()
{
    // Offscreen, the window's backing store is an image of what it shows: once the pending repaints are done,
    // it is the screenshot, without painting every widget once more or copying the image. On a display the
    // screen's pixels may hold other windows, so the window paints itself into a pixmap.
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        if (const auto* shown = dynamic_cast<const QImage*>(m_window->backingStore()->paintDevice())) {
            return *shown;
        }
    }
    return m_window->grab().toImage();
}

QJsonObject ScriptedRun::shownTexts() const
{
    return ::shownTexts(m_window);
}

void ScriptedRun::closeWindow()
{
    m_window->close();
}
