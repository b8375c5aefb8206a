// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The command-line options of a scripted run, for tests; hidden from --help.
#ifndef CAMERACORE_SCRIPTOPTIONS_H
#define CAMERACORE_SCRIPTOPTIONS_H

#include <QString>
#include <QStringList>

class QCommandLineParser;

/** What a timed run does besides reporting, set by options hidden from --help. */
struct ScriptOptions
{
    QString textsFile; ///< written with the window's texts as JSON when the run time is over; empty: none
    /**
     * Done during the run: "<seconds>:reconnect", "<seconds>:switch=<address>", or a setting asked of
     * the selected camera: "<seconds>:<key>=<value>" with a key of cameraSettingTable() and a number in
     * its unit (degrees for the rotation), a pixel format's name, or "on" or "off" of a switch or flip;
     * or a change of the window: "<seconds>:maximize", "normal", "move=<x>,<y>"
     */
    QStringList actions;
    QString imageFile; ///< the shown image is saved there as PNG, and its raw bytes beside it, at the end
};

/** Adds the options of ScriptOptions to @p parser, hidden from --help. */
void addScriptOptions(QCommandLineParser* parser);
/** Reads them from @p parser once it parsed; false with @p error set for a malformed action. */
bool readScriptOptions(const QCommandLineParser& parser, ScriptOptions* options, QString* error);

#endif
