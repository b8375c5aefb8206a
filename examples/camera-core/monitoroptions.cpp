// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "monitoroptions.h"

#include <QCommandLineParser>

namespace {

constexpr double defaultOffscreenRunTime = 10.0;

bool readNonNegative(const QCommandLineParser& parser, const QCommandLineOption& option, double* value, QString* error)
{
    if (!parser.isSet(option)) {
        return true;
    }
    bool ok = false;
    const double number = parser.value(option).toDouble(&ok);
    if (!ok || number < 0.0) {
        *error = QStringLiteral("--%1 needs a number of 0 or more, not \"%2\"")
                     .arg(option.names().constLast(), parser.value(option));
        return false;
    }
    *value = number;
    return true;
}

} // namespace

ParseOutcome parseMonitorOptions(
    const QString& programName, const QStringList& arguments, bool hasDisplay, MonitorOptions* options, QString* text)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Shows the frame rate, data rate and errors of a GigE Vision camera.\n"
        "Without a display it runs offscreen for the run time, writes a screenshot and prints the figures:\n"
        "  result: t=<s> fps=<n> bytes_per_second=<n> width=<n> height=<n> images=<n> errors=<n> reports=<n>\n"
        "Exit codes: 0 frames arrived, 1 no frame arrived (no camera, or it sent nothing), 2 bad command line."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption camera({ QStringLiteral("c"), QStringLiteral("camera") },
        QStringLiteral("Camera to open: its address, MAC address, serial number or id. "
                       "Default: the one at 127.0.0.1, else the first found."),
        QStringLiteral("name"));
    const QCommandLineOption frameRate({ QStringLiteral("r"), QStringLiteral("frame-rate") },
        QStringLiteral("Frame rate to ask of the camera, in frames per second."), QStringLiteral("fps"));
    const QCommandLineOption runTime({ QStringLiteral("t"), QStringLiteral("run-time") },
        QStringLiteral("Quit after this many seconds (offscreen default: %1).").arg(defaultOffscreenRunTime),
        QStringLiteral("seconds"));
    const QCommandLineOption screenshot({ QStringLiteral("s"), QStringLiteral("screenshot") },
        QStringLiteral("Save a PNG of the window when the run time is over "
                       "(offscreen default: %1.png).")
            .arg(programName),
        QStringLiteral("file"));
    const QCommandLineOption offscreen(
        QStringLiteral("offscreen"), QStringLiteral("Run without a display, even if there is one."));
    const QCommandLineOption retryInterval(QStringLiteral("retry-interval"),
        QStringLiteral("Reconnect this many seconds after the camera was lost "
                       "or not found; 0 turns it off. Default: 2."),
        QStringLiteral("seconds"));
    const QCommandLineOption allCameras(QStringLiteral("all-cameras"),
        QStringLiteral("Stream from every camera found, each in its own thread; the table shows their rates."));
    parser.addOptions({ camera, frameRate, runTime, screenshot, offscreen, retryInterval, allCameras });
    addScriptOptions(&parser);

    if (!parser.parse(arguments)) {
        *text = parser.errorText();
        return ParseOutcome::Error;
    }
    if (parser.isSet(helpOption)) {
        // Without an application object the parser cannot know the program's name.
        *text = parser.helpText().replace(QStringLiteral("<executable_name>"), programName);
        return ParseOutcome::ShowHelp;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *text = QStringLiteral("Unexpected argument \"%1\"").arg(parser.positionalArguments().constFirst());
        return ParseOutcome::Error;
    }
    options->cameraName = parser.value(camera);
    options->screenshotFile = parser.value(screenshot);
    options->allCameras = parser.isSet(allCameras);
    options->offscreen = parser.isSet(offscreen) || !hasDisplay;
    if (!readNonNegative(parser, frameRate, &options->frameRate, text)
        || !readNonNegative(parser, runTime, &options->runTimeSeconds, text)
        || !readNonNegative(parser, retryInterval, &options->retryIntervalSeconds, text)
        || !readScriptOptions(parser, &options->script, text)) {
        return ParseOutcome::Error;
    }
    if (options->offscreen) {
        if (!parser.isSet(runTime)) {
            options->runTimeSeconds = defaultOffscreenRunTime;
        }
        if (options->screenshotFile.isEmpty()) {
            options->screenshotFile = programName + QStringLiteral(".png");
        }
    }
    return ParseOutcome::Run;
}
