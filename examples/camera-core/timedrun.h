// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// A timed run of a camera monitor that reports on stdout, for people, scripts and tests.
#ifndef CAMERACORE_TIMEDRUN_H
#define CAMERACORE_TIMEDRUN_H

#include "ratepoint.h"
#include "scriptoptions.h"
#include "streamfigures.h"

#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>

class CameraChannel;
struct CameraSetting;
class MonitorModel;

/** Writes @p line and a newline to stdout at once. */
void printLine(const QString& line);

/**
 * Runs a monitor's window for a given time and reports on stdout, whatever
 * the window is made of: a line for each connection that starts streaming and
 * a line of figures each time the window has read them for its chart, once a
 * second; at the end the screenshot, the figures in words, a last line of
 * figures ("result:") and how the run went ("timing:"). With more than one
 * camera a line per camera follows each line of figures ("camera-figures:",
 * "camera-result:") with its receiving thread's CPU time. The actions of
 * ScriptOptions run at their times and print how long the GUI thread spent in
 * them ("reconnect: 3 ms"). At the end the run also saves the shown image and
 * the window's texts as the options ask, closes the window and quits the event
 * loop with the exit code. A subclass connects the window to
 * printStreaming() and printSample(). GUI thread.
 */
class TimedRun : public QObject
{
public:
    TimedRun(MonitorModel* model, double runTimeSeconds, const QString& screenshotFile, const ScriptOptions& options);

    /** Prints how long the program took to end after the run closed the window. */
    void printExitTime() const;

    static QJsonArray jsonRect(const QRect& rect);
    /** The chart's points as [[ms since epoch, fps, bytes per second, restarted, stalled]]. */
    static QJsonArray jsonChart(const QVector<RatePoint>& points);

protected:
    /** Asks the selected camera for the setting "key=value" of @p action; false, having printed why, when it cannot. */
    bool changeSetting(const QString& action);
    /**
     * Asks for @p value of @p setting as the window's user would; by default straight through the
     * model. False when the window does not take it now.
     */
    virtual bool enterSetting(const CameraSetting& setting, const QVariant& value);
    /** Does one action of ScriptOptions; false, having printed why, when it cannot. */
    virtual bool perform(const QString& action) = 0;
    virtual QImage grabWindow() = 0;
    /** What the window shows, for --dump-texts. */
    virtual QJsonObject shownTexts() const = 0;
    virtual void closeWindow() = 0;

private:
    /**
     * The window read every camera's figures and sampled them for its chart, as it does
     * every ChannelSet::sampleIntervalMs: how much later it came at worst counts once a camera streams.
     */
    void printSample();
    void performTimed(const QString& action);
    void printFigures(const QString& prefix) const;
    void finish();

    MonitorModel* const m_model;
    const QString m_screenshotFile;
    const ScriptOptions m_options;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceSample;
    QElapsedTimer m_sinceClose;
    qint64 m_maxLatenessMs = 0;
    int m_reports = 0;
};

#endif
