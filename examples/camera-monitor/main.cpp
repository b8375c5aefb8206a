// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Camera monitor: shows the live figures of a GigE Vision camera with the
// library's formatting, frame-rate statistic, error reporting, layout
// persistence and support functions. See --help for the options.

#include "monitoroptions.h"
#include "monitorwindow.h"
#include "scriptedrun.h"

#include <TavixQtBase/translations.h>

#include <QApplication>
#include <QDir>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <memory>

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

/**
 * Installs the monitor's translation and the library's for the system locale. Both
 * stay English when there is none for its languages. Command-line texts (--help,
 * usage errors, the lines for scripts) are never translated: they are read before
 * the application object exists, or by scripts.
 */
void loadTranslations(QApplication* app)
{
    loadTavixQtBaseTranslation();
    auto* translator = new QTranslator(app);
    const QString directory = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral(CAMERA_MONITOR_TRANSLATIONS_FROM_BINDIR));
    // English has a translation of its own, for its plural forms; it also serves
    // languages without one.
    if (!(translator->load(QLocale(), QStringLiteral("camera-monitor"), QStringLiteral("_"), directory)
            || translator->load(QStringLiteral("camera-monitor_en"), directory))
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    MonitorOptions options;
    QString text;
    switch (parseMonitorOptions(
        QStringLiteral("camera-monitor"), argumentList(argc, argv), hasDisplay(), &options, &text)) {
    case ParseOutcome::ShowHelp:
        printLine(text);
        return ExitFramesArrived;
    case ParseOutcome::Error:
        std::fprintf(stderr, "camera-monitor: %s\nTry --help.\n", text.toLocal8Bit().constData());
        return ExitUsage;
    case ParseOutcome::Run:
        break;
    }
    // An offscreen platform asked for keeps its arguments, such as a file with its screens.
    if (options.offscreen && platformName() != "offscreen") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tavix"));
    QCoreApplication::setApplicationName(QStringLiteral("CameraMonitor"));
    loadTranslations(&app);

    MonitorWindow::Options windowOptions;
    windowOptions.cameraName = options.cameraName;
    windowOptions.frameRate = options.frameRate;
    windowOptions.retryIntervalSeconds = options.retryIntervalSeconds;
    windowOptions.allCameras = options.allCameras;
    windowOptions.keepRawFrames = !options.script.imageFile.isEmpty();
    auto window = std::make_unique<MonitorWindow>(windowOptions);
    window->show();
    std::unique_ptr<ScriptedRun> scriptedRun;
    if (options.runTimeSeconds > 0.0) {
        scriptedRun = std::make_unique<ScriptedRun>(
            window.get(), options.runTimeSeconds, options.screenshotFile, options.script);
    }
    const int loopStatus = app.exec();
    const int status = scriptedRun ? loopStatus : ExitFramesArrived;
    window.reset();
    const bool streamersEnded = CameraStreamer::finishReleased(QDeadlineTimer(releaseGraceMs));
    if (scriptedRun) {
        scriptedRun->printExitTime();
    }
    if (!streamersEnded) {
        // A camera holds a streamer inside Aravis. Static destructors would tear down
        // what that thread may still touch when it returns, so they do not run.
        std::fflush(stderr);
        std::quick_exit(status);
    }
    return status;
}
