// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// A timed run of the monitor that reports on stdout, for people, scripts and tests.
#ifndef CAMERAMONITOR_SCRIPTEDRUN_H
#define CAMERAMONITOR_SCRIPTEDRUN_H

#include "timedrun.h"

class MonitorWindow;

/** A timed run of the Widgets window (see TimedRun). */
class ScriptedRun : public TimedRun
{
public:
    ScriptedRun(
        MonitorWindow* window, double runTimeSeconds, const QString& screenshotFile, const ScriptOptions& options);

protected:
    bool perform(const QString& action) override;
    /** Enters the setting in the window's field of it, as its user would. */
    bool enterSetting(const CameraSetting& setting, const QVariant& value) override;
    QImage grabWindow() override;
    QJsonObject shownTexts() const override;
    void closeWindow() override;

private:
    MonitorWindow* const m_window;
};

#endif
