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
    for (const QString& key : dumpedSettingKeys()) {
        texts.append(shownSetting(window->findChild<QObject*>(QStringLiteral("shown-") + key)));
    }
    return texts;
}

QJsonObject windowGeometry(const QQuickWindow* window)
{
    return { { QStringLiteral("frame"), TimedRun::jsonRect(window->frameGeometry()) },
        { QStringLiteral("maximized"), window->visibility() == QWindow::Maximized },
        { QStringLiteral("fullScreen"), window->visibility() == QWindow::FullScreen },
        { QStringLiteral("available"), TimedRun::jsonRect(window->screen()->availableGeometry()) } };
}

} // namespace

QuickRun::QuickRun(QQuickWindow* window, MonitorController* monitor, double runTimeSeconds,
    const QString& screenshotFile, const ScriptOptions& options)
    : TimedRun(monitor, runTimeSeconds, screenshotFile, options)
    , m_window(window)
    , m_monitor(monitor)
{
}

bool QuickRun::perform(const QString& action)
{
    const QString name = action.section(QLatin1Char('='), 0, 0);
    const QString value = action.section(QLatin1Char('='), 1);
    if (name == QLatin1String("switch")) {
        const int row = m_monitor->cameras()->rowOfAddress(value);
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
        return changeSetting(action);
    }
    return true;
}

QImage QuickRun::grabWindow()
{
    return m_window->grabWindow();
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
        { QStringLiteral("chart"), jsonChart(m_monitor->history()) },
        { QStringLiteral("image"), QJsonArray { image.width(), image.height() } },
        { QStringLiteral("window"), windowGeometry(m_window) } };
}

void QuickRun::closeWindow()
{
    m_window->close();
}
