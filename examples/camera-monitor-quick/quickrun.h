// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// A timed run of the Qt Quick monitor.
#ifndef CAMERAMONITORQUICK_QUICKRUN_H
#define CAMERAMONITORQUICK_QUICKRUN_H

#include "timedrun.h"

class MonitorController;
class QQuickWindow;

/** A timed run of the Qt Quick window and its Monitor (see TimedRun). */
class QuickRun : public TimedRun
{
public:
    QuickRun(QQuickWindow* window, MonitorController* monitor, double runTimeSeconds, const QString& screenshotFile,
        const ScriptOptions& options);

protected:
    bool perform(const QString& action) override;
    QImage grabWindow() override;
    QJsonObject shownTexts() const override;
    void closeWindow() override;

private:
    QQuickWindow* const m_window;
    MonitorController* const m_monitor;
};

#endif
