// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The command line of the camera monitors.
#ifndef CAMERACORE_MONITOROPTIONS_H
#define CAMERACORE_MONITOROPTIONS_H

#include "scriptoptions.h"

#include <QString>

struct MonitorOptions
{
    QString cameraName; ///< empty: the simulated camera on 127.0.0.1 if found, else the first camera
    double frameRate = 0.0; ///< 0: keep the camera's own setting
    double runTimeSeconds = 0.0; ///< 0: run until the window is closed
    QString screenshotFile; ///< written when the run time is over; empty: none
    bool offscreen = false;
    double retryIntervalSeconds = 2.0; ///< automatic reconnect after a lost or missing camera; 0: off
    bool allCameras = false; ///< stream from every camera found
    ScriptOptions script; ///< for tests, hidden from --help
};

/** Exit codes, also documented in --help. */
enum MonitorExitCode { ExitFramesArrived = 0, ExitNoFrame = 1, ExitUsage = 2 };

enum class ParseOutcome { Run, ShowHelp, Error };

/**
 * Parses @p arguments (the program name first) of the monitor @p programName
 * ("camera-monitor"). Runs before QApplication exists, since the choice of the
 * offscreen platform must come first. Without a display (@p hasDisplay false)
 * the monitor runs offscreen, for 10 s unless a run time is given, and writes
 * <programName>.png unless a screenshot file is given. @p text receives the
 * help text or the error message.
 */
ParseOutcome parseMonitorOptions(
    const QString& programName, const QStringList& arguments, bool hasDisplay, MonitorOptions* options, QString* text);

#endif
