// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "scriptedrun.h"

#include "cameracontrols.h"
#include "elidinglabel.h"
#include "imageview.h"
#include "messagelog.h"
#include "monitoroptions.h"
#include "monitorwindow.h"
#include "ratechart.h"
#include "streamsession.h"
#include "windowstate.h"

#include <TavixQtBase/errorreporting.h>
#include <TavixQtBase/stringhelpers.h>

#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

QJsonArray jsonRect(const QRect& rect)
{
    return { rect.x(), rect.y(), rect.width(), rect.height() };
}

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

QJsonArray messageTexts(const MessageLog* messages)
{
    QStringList texts;
    for (int row = 0; row < messages->count(); ++row) {
        texts.append(messages->item(row)->text());
    }
    return jsonArray(texts);
}

QJsonArray chartPoints(const RateChart* chart)
{
    QJsonArray points;
    for (const RatePoint& point : chart->points()) {
        points.append(QJsonArray { double(point.msecsSinceEpoch), point.framesPerSecond, point.bytesPerSecond,
            point.restarted, point.stalled });
    }
    return points;
}

QJsonObject windowGeometry(const MonitorWindow* window)
{
    const WindowState* state = window->findChild<WindowState*>();
    return { { QStringLiteral("frame"), jsonRect(window->frameGeometry()) },
        { QStringLiteral("normal"), jsonRect(QRect(state->normalPosition(), state->normalSize())) },
        { QStringLiteral("maximized"), window->isMaximized() },
        { QStringLiteral("fullScreen"), window->isFullScreen() },
        { QStringLiteral("available"), jsonRect(window->screen()->availableGeometry()) } };
}

/**
 * The texts the window shows, read from its widgets as a user sees them: "size" [width, height],
 * "devicePixelRatio", "labels" {caption (the label's accessible name): whole text}, "elided" [captions of
 * the labels shown cut], "table" [[cell texts]], "cutColumns" [headers of the columns not shown whole],
 * "messages" [texts], "status" the status bar's message, "controls" (CameraControls::shownValues()),
 * "chart" [[ms since epoch, fps, bytes per second, restarted, stalled]], "image" [width, height],
 * "window" {"frame": [x, y, width, height], "normal": [x, y, width, height], "maximized", "fullScreen",
 * "available": the screen's available geometry [x, y, width, height]}.
 */
QJsonObject shownTexts(MonitorWindow* window)
{
    const QImage image = window->findChild<ImageView*>()->image();
    const QTableView* table = window->findChild<QTableView*>();
    return { { QStringLiteral("size"), QJsonArray { window->width(), window->height() } },
        { QStringLiteral("devicePixelRatio"), window->devicePixelRatioF() },
        { QStringLiteral("labels"), labelTexts(window) }, { QStringLiteral("elided"), elidedLabels(window) },
        { QStringLiteral("table"), tableTexts(table->model()) }, { QStringLiteral("cutColumns"), cutColumns(table) },
        { QStringLiteral("messages"), messageTexts(window->findChild<MessageLog*>()) },
        { QStringLiteral("status"), window->statusBar()->currentMessage() },
        { QStringLiteral("controls"), jsonArray(window->findChild<CameraControls*>()->shownValues()) },
        { QStringLiteral("chart"), chartPoints(window->findChild<RateChart*>()) },
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

double processCpuSeconds()
{
    timespec cpu {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    return double(cpu.tv_sec) + double(cpu.tv_nsec) / 1e9;
}

} // namespace

void printLine(const QString& line)
{
    std::fputs(line.toLocal8Bit().append('\n').constData(), stdout);
    std::fflush(stdout);
}

ScriptedRun::ScriptedRun(
    MonitorWindow* window, double runTimeSeconds, const QString& screenshotFile, const ScriptOptions& options)
    : m_window(window)
    , m_screenshotFile(screenshotFile)
    , m_options(options)
{
    m_clock.start();
    connect(window, &MonitorWindow::streamingStarted, this,
        [](const QString& cameraId) { printLine(QStringLiteral("streaming: %1").arg(cameraId)); });
    connect(window, &MonitorWindow::figuresSampled, this, &ScriptedRun::onFiguresSampled);
    connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, this, [this] { ++m_reports; });
    for (const QString& action : m_options.actions) {
        const int colon = action.indexOf(QLatin1Char(':'));
        QTimer::singleShot(static_cast<int>(action.left(colon).toDouble() * 1000), Qt::PreciseTimer, this,
            [this, what = action.mid(colon + 1)] { perform(what); });
    }
    QTimer::singleShot(static_cast<int>(runTimeSeconds * 1000), Qt::PreciseTimer, this, [this] { finish(); });
}

void ScriptedRun::perform(const QString& action)
{
    const QString name = action.section(QLatin1Char('='), 0, 0);
    const QString value = action.section(QLatin1Char('='), 1);
    QElapsedTimer clock;
    clock.start();
    if (name == QLatin1String("switch")) {
        if (!activateCameraAt(m_window, value)) {
            printLine(QStringLiteral("%1: no such camera in the table").arg(action));
            return;
        }
    } else if (action == QLatin1String("maximize")) {
        m_window->showMaximized();
    } else if (action == QLatin1String("normal")) {
        m_window->showNormal();
    } else if (name == QLatin1String("move")) {
        m_window->move(value.section(QLatin1Char(','), 0, 0).toInt(), value.section(QLatin1Char(','), 1).toInt());
    } else if (action == QLatin1String("reconnect")) {
        m_window->reconnect();
    } else if (!m_window->findChild<CameraControls*>()->enterSetting(name, value)) {
        printLine(QStringLiteral("%1: the camera has no such setting now").arg(action));
        return;
    }
    printLine(QStringLiteral("%1: %2 ms").arg(action).arg(clock.elapsed()));
}

void ScriptedRun::onFiguresSampled()
{
    // Lateness counts once a camera streams: start-up work before that is not the monitor's steady state.
    const QList<CameraChannel*>& channels = m_window->channels();
    const bool streaming = std::any_of(
        channels.cbegin(), channels.cend(), [](const CameraChannel* channel) { return channel->isStreaming(); });
    if (m_sinceSample.isValid() && streaming) {
        m_maxLatenessMs = qMax(m_maxLatenessMs, m_sinceSample.elapsed() - MonitorWindow::sampleIntervalMs);
    }
    m_sinceSample.start();
    printFigures(QStringLiteral("figures:"));
}

void ScriptedRun::printFigures(const QString& prefix)
{
    const QString time = QString::number(m_clock.elapsed() / 1000.0, 'f', 1);
    printLine(QStringLiteral("%1 t=%2 %3 reports=%4")
                  .arg(prefix, time, formatFiguresForScripts(m_window->currentFigures()))
                  .arg(m_reports));
    const QList<CameraChannel*>& channels = m_window->channels();
    if (channels.size() < 2) {
        return;
    }
    // The camera's address first, without a key, so that every key=value pair is a number.
    for (const CameraChannel* channel : channels) {
        const StreamFigures::Snapshot& figures = channel->figuresNow();
        printLine(QStringLiteral("camera-%1 %2 t=%3 %4 cpu_seconds=%5")
                      .arg(prefix, channel->camera().address, time, formatFiguresForScripts(figures))
                      .arg(figures.cpuSeconds, 0, 'f', 3));
    }
}

void ScriptedRun::printResult()
{
    printFigures(QStringLiteral("result:"));
    printLine(QStringLiteral(
        "timing: cameras=%1 timer_max_late_ms=%2 process_cpu_seconds=%3 run_seconds=%4 packet_sockets=%5")
                  .arg(m_window->channels().size())
                  .arg(m_maxLatenessMs)
                  .arg(processCpuSeconds(), 0, 'f', 3)
                  .arg(m_clock.elapsed() / 1000.0, 0, 'f', 1)
                  .arg(int(StreamSession::receivesWithPacketSockets())));
}

void ScriptedRun::writeTexts() const
{
    QFile file(m_options.textsFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(shownTexts(m_window)).toJson()) < 0) {
        std::fprintf(stderr, "camera-monitor: cannot write %s\n", m_options.textsFile.toLocal8Bit().constData());
    }
}

void ScriptedRun::finish()
{
    if (!m_screenshotFile.isEmpty()) {
        if (m_window->grab().save(m_screenshotFile, "PNG")) {
            printLine(QStringLiteral("screenshot: %1").arg(m_screenshotFile));
        } else {
            std::fprintf(
                stderr, "camera-monitor: cannot write the screenshot %s\n", m_screenshotFile.toLocal8Bit().constData());
        }
    }
    const StreamFigures::Snapshot figures = m_window->currentFigures();
    printLine(QCoreApplication::translate("CameraMonitor", "Frame rate: %1; data rate: %2; %3")
                  .arg(formatFrameRate(figures.framesPerSecond),
                      formatDataRate(figures.bytesPerSecond, UnitPrefixes::Decimal),
                      formatImageCount(figures.images, figures.errors)));
    printResult();
    if (!m_options.imageFile.isEmpty() && !m_window->saveImage(m_options.imageFile)) {
        std::fprintf(
            stderr, "camera-monitor: cannot save the image to %s\n", m_options.imageFile.toLocal8Bit().constData());
    }
    if (!m_options.textsFile.isEmpty()) {
        writeTexts();
    }
    m_sinceClose.start();
    m_window->close();
    QCoreApplication::exit(figures.images > 0 ? ExitFramesArrived : ExitNoFrame);
}

void ScriptedRun::printExitTime() const
{
    if (m_sinceClose.isValid()) {
        printLine(QStringLiteral("exit: %1 ms after the close request").arg(m_sinceClose.elapsed()));
    }
}
