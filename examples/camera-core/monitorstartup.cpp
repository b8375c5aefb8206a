// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "monitorstartup.h"

#include "camerastreamer.h"
#include "timedrun.h"

#include <TavixQtBase/translations.h>

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

// How long the program waits at its end for released streamers to close their cameras cleanly.
constexpr int releaseGraceMs = 300;

// The platform Qt is told to use, without its arguments ("offscreen:configfile=screens.json").
QByteArray platformName()
{
    return qgetenv("QT_QPA_PLATFORM").split(':').constFirst();
}

bool hasDisplay()
{
    const QByteArray platform = platformName();
    if (platform == "offscreen" || platform == "minimal") {
        return false;
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QStringList argumentList(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

} // namespace

std::optional<int> readMonitorCommandLine(const QString& programName, int argc, char* argv[], MonitorOptions* options)
{
    QString text;
    switch (parseMonitorOptions(programName, argumentList(argc, argv), hasDisplay(), options, &text)) {
    case ParseOutcome::ShowHelp:
        printLine(text);
        return ExitFramesArrived;
    case ParseOutcome::Error:
        std::fprintf(
            stderr, "%s: %s\nTry --help.\n", programName.toLocal8Bit().constData(), text.toLocal8Bit().constData());
        return ExitUsage;
    case ParseOutcome::Run:
        break;
    }
    // An offscreen platform asked for keeps its arguments, such as a file with its screens.
    if (options->offscreen && platformName() != "offscreen") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return std::nullopt;
}

ChannelSet::Options channelSetOptions(const MonitorOptions& options)
{
    ChannelSet::Options channelOptions;
    channelOptions.cameraName = options.cameraName;
    channelOptions.frameRate = options.frameRate;
    channelOptions.retryIntervalSeconds = options.retryIntervalSeconds;
    channelOptions.allCameras = options.allCameras;
    channelOptions.keepRawFrames = !options.script.imageFile.isEmpty();
    return channelOptions;
}

void loadMonitorTranslations(QCoreApplication* app, const QString& name, const QString& directory)
{
    Q_INIT_RESOURCE(camera_core_translations);
    loadTavixQtBaseTranslation();
    const QString underscore = QStringLiteral("_");
    auto* core = new QTranslator(app);
    // English has a translation of its own, for its plural forms; it also serves languages without one.
    const QString coreDirectory = QStringLiteral(":/i18n");
    if (!(core->load(QLocale(), QStringLiteral("camera-core"), underscore, coreDirectory)
            || core->load(QStringLiteral("camera-core_en"), coreDirectory))
        || !QCoreApplication::installTranslator(core)) {
        delete core;
    }
    auto* window = new QTranslator(app);
    if (!window->load(QLocale(), name, underscore, directory) || !QCoreApplication::installTranslator(window)) {
        delete window;
    }
}

int finishMonitor(int loopStatus, const TimedRun* run)
{
    const int status = run ? loopStatus : ExitFramesArrived;
    const bool streamersEnded = CameraStreamer::finishReleased(QDeadlineTimer(releaseGraceMs));
    if (run) {
        run->printExitTime();
    }
    if (!streamersEnded) {
        // A camera holds a streamer inside Aravis. Static destructors would tear down
        // what that thread may still touch when it returns, so they do not run.
        std::fflush(stderr);
        std::quick_exit(status);
    }
    return status;
}
