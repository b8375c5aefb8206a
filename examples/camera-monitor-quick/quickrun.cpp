// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "quickrun.h"

#include "monitorcontroller.h"

#include <QJsonArray>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>

namespace {

// The shown settings in the order of the Widgets monitor's --dump-texts "controls".
const char* const shownSettings[] = { "frame-rate", "exposure-time", "gain", "pixel-format", "offset-x", "offset-y",
    "width", "height", "binning-horizontal", "binning-vertical", "auto-exposure", "auto-gain" };

QJsonArray jsonRect(const QRect& rect)
{
    return { rect.x(), rect.y(), rect.width(), rect.height() };
}

/** The texts of the figures, by their captions: the items named "figure" with a caption and a text. */
QJsonObject figureTexts(const QQuickWindow* window)
{
    QJsonObject labels;
    for (const QObject* item : window->findChildren<QObject*>(QStringLiteral("figure"))) {
        labels.insert(item->property("caption").toString(), item->property("text").toString());
    }
    return labels;
}

/** A setting as shown: a label's text, a list's choice, or a switch's "on", "off" or "unavailable". */
QString shownSetting(const QObject* item)
{
    if (!item) {
        return QString();
    }
    const QVariant checked = item->property("checked");
    if (!checked.isValid()) {
        const QVariant chosen = item->property("displayText");
        return (chosen.isValid() ? chosen : item->property("text")).toString();
    }
    return !item->property("enabled").toBool() ? QStringLiteral("unavailable")
        : checked.toBool()                     ? QStringLiteral("on")
                                               : QStringLiteral("off");
}

QJsonArray settingTexts(const QQuickWindow* window)
{
    QJsonArray texts;
    for (const char* name : shownSettings) {
        texts.append(shownSetting(window->findChild<QObject*>(QStringLiteral("shown-") + QLatin1String(name))));
    }
    return texts;
}

QJsonArray chartPoints(const QVector<RatePoint>& history)
{
    QJsonArray points;
    for (const RatePoint& point : history) {
        points.append(QJsonArray { double(point.msecsSinceEpoch), point.framesPerSecond, point.bytesPerSecond,
            point.restarted, point.stalled });
    }
    return points;
}

QJsonObject windowGeometry(const QQuickWindow* window)
{
    return { { QStringLiteral("frame"), jsonRect(window->frameGeometry()) },
        { QStringLiteral("maximized"), window->visibility() == QWindow::Maximized },
        { QStringLiteral("fullScreen"), window->visibility() == QWindow::FullScreen },
        { QStringLiteral("available"), jsonRect(window->screen()->availableGeometry()) } };
}

} // namespace

QuickRun::QuickRun(QQuickWindow* window, MonitorController* monitor, double runTimeSeconds,
    const QString& screenshotFile, const ScriptOptions& options)
    : TimedRun(runTimeSeconds, screenshotFile, options)
    , m_window(window)
    , m_monitor(monitor)
{
    connect(monitor, &MonitorController::streamingStarted, this, &QuickRun::printStreaming);
    connect(monitor, &MonitorController::figuresSampled, this, [this] { printSample(ChannelSet::sampleIntervalMs); });
}

StreamFigures::Snapshot QuickRun::shownFigures() const
{
    return m_monitor->currentFigures();
}

QList<CameraChannel*> QuickRun::channels() const
{
    return m_monitor->channels();
}

bool QuickRun::perform(const QString& action)
{
    const QString name = action.section(QLatin1Char('='), 0, 0);
    const QString value = action.section(QLatin1Char('='), 1);
    if (name == QLatin1String("switch")) {
        const int row = m_monitor->rowOfAddress(value);
        if (row < 0) {
            printLine(QStringLiteral("%1: no such camera in the list").arg(action));
            return false;
        }
        m_monitor->openCamera(row);
    } else if (action == QLatin1String("maximize")) {
        m_window->showMaximized();
    } else if (action == QLatin1String("normal")) {
        m_window->showNormal();
    } else if (name == QLatin1String("move")) {
        m_window->setFramePosition(
            QPoint(value.section(QLatin1Char(','), 0, 0).toInt(), value.section(QLatin1Char(','), 1).toInt()));
    } else if (action == QLatin1String("reconnect")) {
        m_monitor->reconnect();
    } else {
        const bool isSwitch = value == QLatin1String("on") || value == QLatin1String("off");
        if (!m_monitor->changeSetting(name, isSwitch ? QVariant(value == QLatin1String("on")) : QVariant(value))) {
            printLine(QStringLiteral("%1: the camera has no such setting now").arg(action));
            return false;
        }
    }
    return true;
}

QImage QuickRun::grabWindow()
{
    return m_window->grabWindow();
}

bool QuickRun::saveImage(const QString& path) const
{
    return m_monitor->saveImage(path);
}

/**
 * What the window shows, for tests: "size" [width, height], "labels" {caption: text} of the figures,
 * "controls" [the shown settings, as the Widgets monitor lists them], "chart" [[ms since epoch, fps,
 * bytes per second, restarted, stalled]], "image" [width, height], "window" {"frame": [x, y, width,
 * height], "maximized", "fullScreen", "available": the screen's available geometry}.
 */
QJsonObject QuickRun::shownTexts() const
{
    const QImage& image = m_monitor->frame().image;
    return { { QStringLiteral("size"), QJsonArray { m_window->width(), m_window->height() } },
        { QStringLiteral("labels"), figureTexts(m_window) }, { QStringLiteral("controls"), settingTexts(m_window) },
        { QStringLiteral("chart"), chartPoints(m_monitor->history()) },
        { QStringLiteral("image"), QJsonArray { image.width(), image.height() } },
        { QStringLiteral("window"), windowGeometry(m_window) } };
}

void QuickRun::closeWindow()
{
    m_window->close();
}
