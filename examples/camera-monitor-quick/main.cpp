// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Camera monitor in Qt Quick: the Widgets monitor's cameras, figures, image,
// chart and settings in a Qt Quick Controls window, on the same acquisition
// core and the QML module TavixQtBase. See --help for the options.

#include "monitorcontroller.h"
#include "monitorstartup.h"
#include "quickrun.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>

#include <memory>

int main(int argc, char* argv[])
{
    MonitorOptions options;
    if (const std::optional<int> exitCode
        = readMonitorCommandLine(QStringLiteral("camera-monitor-quick"), argc, argv, &options)) {
        return *exitCode;
    }

    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tavix"));
    QCoreApplication::setApplicationName(QStringLiteral("CameraMonitorQuick"));
    QQuickStyle::setStyle(QStringLiteral("Fusion"));
    // An image, a chart and controls at most 30 times a second are light work for Qt Quick's own
    // software renderer; OpenGL without a graphics processor (Xvfb, virtual machines) cost five times
    // the CPU per frame. QT_QUICK_BACKEND still chooses another.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    loadMonitorTranslations(&app, QStringLiteral("camera-monitor-quick"), QStringLiteral(":/i18n"));

    auto monitor = std::make_unique<MonitorController>(channelSetOptions(options));
    MonitorController::setInstance(monitor.get());

    auto engine = std::make_unique<QQmlApplicationEngine>();
    engine->addImportPath(QStringLiteral(CAMERA_MONITOR_QUICK_IMPORT_PATH));
    engine->load(QUrl(QStringLiteral("qrc:/CameraMonitorQuick/Main.qml")));
    auto* window
        = engine->rootObjects().isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(engine->rootObjects().constFirst());
    if (!window) {
        return ExitNoFrame; // the engine said why
    }
    std::unique_ptr<QuickRun> run;
    if (options.runTimeSeconds > 0.0) {
        run = std::make_unique<QuickRun>(
            window, monitor.get(), options.runTimeSeconds, options.screenshotFile, options.script);
    }
    const int loopStatus = app.exec();
    engine.reset();
    monitor.reset();
    return finishMonitor(loopStatus, run.get());
}
