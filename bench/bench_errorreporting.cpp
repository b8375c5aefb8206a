// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/errorreporting.h>

#include "benchsupport.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

// A report travels through the event loop of the queue's thread, so each operation here
// posts and then delivers by one processEvents(): its ratio to the floor covers the post
// and the delivery. The event dispatcher is Qt's default one (GLib's where Qt was built
// with it); run the program with QT_NO_GLIB=1 for the UNIX one.
namespace {

// The one slot each delivery reaches.
class Receiver : public QObject
{
    Q_OBJECT

public:
    long long calls = 0;

public Q_SLOTS:
    void slot() { ++calls; }
};

// Connects one slot to the queue's signal.
QMetaObject::Connection connectReceiver(AsyncErrorQueue* queue, Receiver* receiver)
{
    return QObject::connect(queue, &AsyncErrorQueue::displayError, receiver,
        [receiver](AsyncErrorQueue::ErrorSeverity, const QString&, const QString&, QWidget*) { ++receiver->calls; });
}

void deliver()
{
    QCoreApplication::processEvents();
}

// Log lines are dropped in the handler, so that the figures hold no terminal or file.
void dropMessage(QtMsgType, const QMessageLogContext&, const QString& text)
{
    benchmark::DoNotOptimize(text.size());
}

// What a report cannot be cheaper than: one queued call by name and its delivery.
void BM_Floor_QueuedInvoke(benchmark::State& state)
{
    Receiver receiver;
    timedLoop(state, [&receiver] {
        QMetaObject::invokeMethod(&receiver, "slot", Qt::QueuedConnection);
        deliver();
    });
}
BENCHMARK(BM_Floor_QueuedInvoke);

void BM_ReportErrorAsync(benchmark::State& state)
{
    AsyncErrorQueue queue;
    Receiver receiver;
    connectReceiver(&queue, &receiver);
    const QString message = QStringLiteral("Frame 17 was incomplete");
    const QString details = QStringLiteral("");
    timedLoop(state, [&] {
        queue.reportErrorAsync(AsyncErrorQueue::Warning, message, details, nullptr);
        deliver();
    });
    state.SetLabel("vs=BM_Floor_QueuedInvoke goal=1.2 igoal=1.0");
}
BENCHMARK(BM_ReportErrorAsync);

const QString title = QStringLiteral("Acquisition");
const QString source = QStringLiteral("grabber");
const QString message = QStringLiteral("Frame 17 was incomplete");

// The log line of a warning written by qWarning, and the floor of its report.
void BM_Floor_LogAndQueuedInvoke(benchmark::State& state)
{
    const QByteArray line = "Warning: grabber: Acquisition : Frame 17 was incomplete";
    Receiver receiver;
    timedLoop(state, [&] {
        qWarning("%s", line.constData());
        QMetaObject::invokeMethod(&receiver, "slot", Qt::QueuedConnection);
        deliver();
    });
}
BENCHMARK(BM_Floor_LogAndQueuedInvoke);

void BM_ShowWarningMessage(benchmark::State& state)
{
    Receiver receiver;
    const QMetaObject::Connection connection = connectReceiver(GetTheGlobalAsyncErrorQueue(), &receiver);
    timedLoop(state, [] {
        showWarningMessage(title, source, message, nullptr);
        deliver();
    });
    QObject::disconnect(connection);
    state.SetLabel("vs=BM_Floor_LogAndQueuedInvoke igoal=1.2");
}
BENCHMARK(BM_ShowWarningMessage);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    qInstallMessageHandler(dropMessage);
    GetTheGlobalAsyncErrorQueue();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "bench_errorreporting.moc"
