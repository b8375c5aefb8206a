// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// A timed run of the monitor that reports on stdout, for people, scripts and tests.
#ifndef CAMERAMONITOR_SCRIPTEDRUN_H
#define CAMERAMONITOR_SCRIPTEDRUN_H

#include "scriptoptions.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class MonitorWindow;

/** Writes @p line and a newline to stdout at once. */
void printLine(const QString& line);

/**
 * Reports a timed run on stdout: a line for each connection that starts
 * streaming and a line of figures each time the window has read them for its
 * chart, once a second; at the end the screenshot, a last line of figures and
 * the exit code. With more than one camera a line per camera follows each line
 * of figures ("camera-figures:", "camera-result:"), and the result ends with
 * how late the window's once-a-second reading came at worst. Actions print how
 * long the GUI thread spent in them ("reconnect: 3 ms").
 */
class ScriptedRun : public QObject
{
public:
    ScriptedRun(
        MonitorWindow* window, double runTimeSeconds, const QString& screenshotFile, const ScriptOptions& options);

    /** Prints how long the program took to end after the run closed the window. */
    void printExitTime() const;

private:
    void perform(const QString& action);
    void onFiguresSampled();
    void printFigures(const QString& prefix);
    void printResult();
    void writeTexts() const;
    void finish();

    MonitorWindow* const m_window;
    const QString m_screenshotFile;
    const ScriptOptions m_options;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceSample;
    QElapsedTimer m_sinceClose;
    qint64 m_maxLatenessMs = 0;
    int m_reports = 0;
};

#endif
