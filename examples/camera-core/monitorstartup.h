// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The start and the end of a camera monitor's main(), whatever its window is made of.
#ifndef CAMERACORE_MONITORSTARTUP_H
#define CAMERACORE_MONITORSTARTUP_H

#include "channelset.h"
#include "monitoroptions.h"

#include <QString>

#include <optional>

class QCoreApplication;
class TimedRun;

/**
 * Reads the command line of the monitor @p programName before the application
 * object exists. On --help or a usage error it prints the help or the error and
 * returns the exit code; otherwise it fills @p options, chooses the offscreen
 * platform when they ask for it or there is no display, and returns nothing.
 */
std::optional<int> readMonitorCommandLine(const QString& programName, int argc, char* argv[], MonitorOptions* options);

/** What @p options ask of the camera connections. */
ChannelSet::Options channelSetOptions(const MonitorOptions& options);

/**
 * Installs the translations for the system locale: the library's, the core's
 * (embedded) and the window's, <name>_<language>.qm from @p directory. All stay
 * English when there is none for the locale's languages; the core's English one
 * gives the plural forms. Command-line texts (--help, usage errors, the lines
 * for scripts) are never translated: they are read before the application
 * object exists, or by scripts.
 */
void loadMonitorTranslations(QCoreApplication* app, const QString& name, const QString& directory);

/**
 * Ends the monitor after its event loop returned @p loopStatus and its window
 * is gone: waits briefly for the released camera threads, prints the exit time
 * of @p run (null without a timed run) and returns the exit code, or ends the
 * process at once when a camera still holds a thread.
 */
int finishMonitor(int loopStatus, const TimedRun* run);

#endif
