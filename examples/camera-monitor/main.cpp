// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Camera monitor: shows the live figures of a GigE Vision camera with the
// library's formatting, frame-rate statistic, error reporting, layout
// persistence and support functions. See --help for the options.

#include "monitorstartup.h"
#include "monitorwindow.h"
#include "scriptedrun.h"

#include <QApplication>
#include <QDir>

#include <memory>

int main(int argc, char* argv[])
{
    MonitorOptions options;
    if (const std::optional<int> exitCode
        = readMonitorCommandLine(QStringLiteral("camera-monitor"), argc, argv, &options)) {
        return *exitCode;
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tavix"));
    QCoreApplication::setApplicationName(QStringLiteral("CameraMonitor"));
    loadMonitorTranslations(&app, QStringLiteral("camera-monitor"),
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(CAMERA_MONITOR_TRANSLATIONS_FROM_BINDIR)));

    auto window = std::make_unique<MonitorWindow>(channelSetOptions(options));
    window->show();
    std::unique_ptr<ScriptedRun> scriptedRun;
    if (options.runTimeSeconds > 0.0) {
        scriptedRun = std::make_unique<ScriptedRun>(
            window.get(), options.runTimeSeconds, options.screenshotFile, options.script);
    }
    const int loopStatus = app.exec();
    window.reset();
    return finishMonitor(loopStatus, scriptedRun.get());
}
