// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// A timed run of a camera monitor that reports on stdout, for people, scripts and tests.
#ifndef CAMERACORE_TIMEDRUN_H
#define CAMERACORE_TIMEDRUN_H

#include "scriptoptions.h"
#include "streamfigures.h"

#include <QElapsedTimer>
#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>

class CameraChannel;

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
    TimedRun(double runTimeSeconds, const QString& screenshotFile, const ScriptOptions& options);

    /** Prints how long the program took to end after the run closed the window. */
    void printExitTime() const;

protected:
    /** A connection to the camera with the id @p cameraId (as visibleText()) streams. */
    void printStreaming(const QString& cameraId) const;
    /**
     * The window read every camera's figures and sampled them for its chart, as it does
     * every @p intervalMs: how much later it came at worst counts once a camera streams.
     */
    void printSample(qint64 intervalMs);

    /** The figures of the selected camera as the window shows them now. */
    virtual StreamFigures::Snapshot shownFigures() const = 0;
    /** The window's cameras, each with the figures it read last. */
    virtual QList<CameraChannel*> channels() const = 0;
    /** Does one action of ScriptOptions; false, having printed why, when it cannot. */
    virtual bool perform(const QString& action) = 0;
    virtual QImage grabWindow() = 0;
    /** Saves the shown image as PNG and the camera's bytes of it beside it; false on failure. */
    virtual bool saveImage(const QString& path) const = 0;
    /** What the window shows, for --dump-texts. */
    virtual QJsonObject shownTexts() const = 0;
    virtual void closeWindow() = 0;

private:
    void performTimed(const QString& action);
    void printFigures(const QString& prefix) const;
    void finish();

    const QString m_screenshotFile;
    const ScriptOptions m_options;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceSample;
    QElapsedTimer m_sinceClose;
    qint64 m_maxLatenessMs = 0;
    int m_reports = 0;
};

#endif
