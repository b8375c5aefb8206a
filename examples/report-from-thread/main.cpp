// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Reports errors from a worker thread and prints what the GUI thread receives.
//
// The global error queue is created in the main thread (by connecting to it), a
// worker thread reports a warning, a critical message and a caught exception,
// and the main thread's event loop delivers them as displayError() signals.

#include <TavixQtBase/errorreporting.h>

#include <QApplication>
#include <QThread>
#include <QTimer>

#include <GenICam/GCException.h>

#include <cstdio>

namespace {

const char* severityName(AsyncErrorQueue::ErrorSeverity severity)
{
    return severity == AsyncErrorQueue::Warning ? "warning" : "critical";
}

void reportFromWorker()
{
    showWarningMessage(QStringLiteral("Acquisition"), QStringLiteral("worker"),
        QStringLiteral("frame 17 arrived incomplete"), nullptr);
    showCriticalMessage(QStringLiteral("Acquisition"), QStringLiteral("worker"),
        QStringLiteral("the camera stopped streaming"), QStringLiteral("no frame for 2 s"), nullptr);
    try {
        throw GenICam::GenericException("node 'ExposureTime' is not writable");
    } catch (const GenICam::GenericException& e) {
        showException(QStringLiteral("worker"), e, nullptr);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    constexpr int expectedReports = 3;
    int received = 0;
    QObject::connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, &app,
        [&](AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details, QWidget*) {
            std::printf("GUI thread received %s: %s%s%s\n", severityName(severity), message.toLocal8Bit().constData(),
                details.isEmpty() ? "" : " / ", details.toLocal8Bit().constData());
            std::fflush(stdout);
            if (++received == expectedReports) {
                app.quit();
            }
        });

    QThread* worker = QThread::create(reportFromWorker);
    worker->start();
    QTimer::singleShot(10000, &app, [&app] { app.exit(1); });
    const int status = app.exec();
    worker->wait();
    delete worker;
    std::printf("%d of %d reports delivered\n", received, expectedReports);
    return status;
}
