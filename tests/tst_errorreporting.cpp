// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/errorreporting.h>

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <GenICam/GCException.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// The messages of a spy's displayError() emissions, in order.
QStringList messages(const QSignalSpy& deliveries)
{
    QStringList result;
    for (const QList<QVariant>& delivery : deliveries) {
        result << delivery.at(1).toString();
    }
    return result;
}

// A queue that declares a slot of its own under the name that the queued call uses.
class CountingQueue : public AsyncErrorQueue
{
    Q_OBJECT

public:
    int calls = 0;

protected Q_SLOTS:
    void asyncSignaler()
    {
        ++calls;
        AsyncErrorQueue::asyncSignaler();
    }
};

// One call of a show function, given a widget to pass as the parent.
using ShowCall = std::function<void(QWidget*)>;

} // namespace

Q_DECLARE_METATYPE(ShowCall)
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
Q_DECLARE_METATYPE(QtMsgType)
Q_DECLARE_METATYPE(AsyncErrorQueue::ErrorSeverity)
#endif

class ErrorReportingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    void initTestCase()
    {
        qRegisterMetaType<AsyncErrorQueue::ErrorSeverity>();
    }
#endif
    void queueDeliversNewestFirstInLaterCalls_data();
    void queueDeliversNewestFirstInLaterCalls();
    void showFunctionsLogAndQueue_data();
    void showFunctionsLogAndQueue();
    void stressManyThreadsLoseNothing();
    void globalQueueInFreshProcesses_data();
    void globalQueueInFreshProcesses();
};

void ErrorReportingTest::queueDeliversNewestFirstInLaterCalls_data()
{
    QTest::addColumn<bool>("subclass");
    QTest::newRow("plain queue") << false;
    QTest::newRow("subclass with a slot of the same name") << true;
}

void ErrorReportingTest::queueDeliversNewestFirstInLaterCalls()
{
    QFETCH(bool, subclass);
    AsyncErrorQueue plain;
    CountingQueue counting;
    AsyncErrorQueue& queue = subclass ? counting : plain;
    QSignalSpy deliveries(&queue, &AsyncErrorQueue::displayError);
    QObject::connect(&queue, &AsyncErrorQueue::displayError,
        [&queue](AsyncErrorQueue::ErrorSeverity, const QString& message, const QString&, QWidget*) {
            if (message == QLatin1String("R2")) {
                // Would recurse if the queue emitted synchronously, and the count from
                // another thread would wait forever if the queue held its lock.
                queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("R3"), QString(), nullptr);
                QCOMPARE(std::async(std::launch::async, [&queue] { return queue.count(); }).get(), 2);
            }
        });
    auto* doomed = new QWidget;
    // A severity the library never produces, and empty details, are carried all the same.
    QVERIFY(queue.reportErrorAsync(AsyncErrorQueue::ErrorSeverity(20), QStringLiteral("R1"), QString(), doomed));
    queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("R2"), QString(), nullptr);
    delete doomed;
    QVERIFY2(deliveries.isEmpty() && counting.calls == 0, "delivered before the event loop ran");
    QTRY_COMPARE(deliveries.size(), 3);
    QCOMPARE(messages(deliveries), (QStringList { QStringLiteral("R2"), QStringLiteral("R3"), QStringLiteral("R1") }));
    const QList<QVariant>& odd = deliveries.last();
    QCOMPARE(int(odd.at(0).value<AsyncErrorQueue::ErrorSeverity>()), 20);
    QVERIFY(odd.at(2).toString().isEmpty());
    QCOMPARE(odd.at(3).value<QWidget*>(), nullptr);
    QCOMPARE(counting.calls, subclass ? 3 : 0);
}

void ErrorReportingTest::showFunctionsLogAndQueue_data()
{
    QTest::addColumn<ShowCall>("call");
    // A warning's report has the severity Warning, a critical message's Critical.
    QTest::addColumn<QtMsgType>("logType");
    QTest::addColumn<QString>("logLine");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("details");
    QTest::addColumn<bool>("widgetQueued");

    // Source S, title T, message M, details D; the exceptions' 8-bit text is Latin-1 "caf\xe9".
    static const QString S = QStringLiteral("S"), T = QStringLiteral("T"), M = QStringLiteral("M"),
                         D = QStringLiteral("D"), X = QStringLiteral("caf\u00e9");
    static const GenICam::GenericException genericException("caf\xe9");
    static const std::runtime_error stdException("caf\xe9");
    const auto row = [](const char* name, const ShowCall& call) -> QTestData& { return QTest::newRow(name) << call; };
    row("warning: details queued but not logged", [](QWidget* w) { showWarningMessage(T, S, M, D, w); })
        << QtWarningMsg << "Warning: S: T : M" << M << D << true;
    row("warning without details", [](QWidget* w) { showWarningMessage(T, S, M, w); })
        << QtWarningMsg << "Warning: S: T : M" << M << "" << true;
    row("critical logs all four fields", [](QWidget* w) { showCriticalMessage(T, S, M, D, w); })
        << QtCriticalMsg << "Critical message: S : T : M : D" << M << D << true;
    row("critical without details ends in a blank", [](QWidget* w) { showCriticalMessage(T, S, M, w); })
        << QtCriticalMsg << "Critical message: S : T : M : " << M << "" << true;
    row("GenICam exception becomes the message", [](QWidget* w) { showException(S, genericException, w); })
        << QtCriticalMsg << QStringLiteral("Critical message: S : Error : %1 : ").arg(X) << X << "" << false;
    row("GenICam exception becomes the details", [](QWidget* w) { showException(S, genericException, M, w); })
        << QtCriticalMsg << QStringLiteral("Critical message: S : Error : M : %1").arg(X) << M << X << false;
    row("std exception becomes the message", [](QWidget* w) { showException(S, stdException, w); })
        << QtCriticalMsg << QStringLiteral("Critical message: S : Error : %1 : ").arg(X) << X << "" << false;
    row("std exception becomes the details", [](QWidget* w) { showException(S, stdException, M, w); })
        << QtCriticalMsg << QStringLiteral("Critical message: S : Error : M : %1").arg(X) << M << X << false;
    row("unexpected exception: title logged only", [](QWidget* w) { showUnexpectedException(S, M, w); })
        << QtCriticalMsg << "Critical message: S : Unexpected exception occurred : M : " << M << "" << false;

    // The log line is Latin-1, the report keeps the full text.
    const auto latin1Row = [&row](const char* name, const QString& text, const QString& logged) {
        row(name, [text](QWidget*) { showCriticalMessage(text, text, text, text, nullptr); })
            << QtCriticalMsg << QStringLiteral("Critical message: %1 : %1 : %1 : %1").arg(logged) << text << text
            << false;
    };
    latin1Row("U+0080 alone", QStringLiteral("\u0080"), QStringLiteral("\u0080"));
    const QString latin1ThenAscii = QString(300, QChar(0xe9)) + QStringLiteral(" 2026");
    latin1Row("300 Latin-1 characters, 600 bytes in UTF-8, then only ASCII", latin1ThenAscii, latin1ThenAscii);
    // A character beyond the Basic Multilingual Plane is two UTF-16 units, each a question mark.
    latin1Row("U+00FF, then U+0100, U+FFFF and U+1F600", QStringLiteral("\u00ff\u0100\uffff\U0001f600"),
        QStringLiteral("\u00ff????"));
}

void ErrorReportingTest::showFunctionsLogAndQueue()
{
    QFETCH(ShowCall, call);
    QFETCH(QtMsgType, logType);
    QFETCH(QString, logLine);
    QFETCH(QString, message);
    QFETCH(QString, details);
    QFETCH(bool, widgetQueued);

    AsyncErrorQueue* queue = GetTheGlobalAsyncErrorQueue();
    QCoreApplication::sendPostedEvents();
    QSignalSpy deliveries(queue, &AsyncErrorQueue::displayError);
    QWidget widget;
    QTest::ignoreMessage(
        logType, QRegularExpression(QRegularExpression::anchoredPattern(QRegularExpression::escape(logLine))));
    call(&widget);
    QVERIFY2(deliveries.isEmpty(), "delivered before the event loop ran");
    QCoreApplication::sendPostedEvents();
    QCOMPARE(deliveries.size(), 1);
    const QList<QVariant>& delivery = deliveries.first();
    QCOMPARE(delivery.at(0).value<AsyncErrorQueue::ErrorSeverity>(),
        logType == QtWarningMsg ? AsyncErrorQueue::Warning : AsyncErrorQueue::Critical);
    QCOMPARE(delivery.at(1).toString(), message);
    QCOMPARE(delivery.at(2).toString(), details);
    QVERIFY2(!delivery.at(2).toString().isNull(), "empty details must be an empty, not a null, string");
    QCOMPARE(delivery.at(3).value<QWidget*>(), widgetQueued ? &widget : nullptr);
}

void ErrorReportingTest::stressManyThreadsLoseNothing()
{
    constexpr int threadCount = 16;
    constexpr int reportsPerThread = 20000;
    AsyncErrorQueue queue;
    std::vector<int> seen(threadCount * reportsPerThread, 0);
    int delivered = 0;
    QObject::connect(&queue, &AsyncErrorQueue::displayError,
        [&](AsyncErrorQueue::ErrorSeverity, const QString& message, const QString& details, QWidget*) {
            const int id = message.toInt();
            QVERIFY(id >= 0 && id < int(seen.size()));
            QCOMPARE(details, message);
            QVERIFY(++seen[size_t(id)] == 1);
            ++delivered;
        });

    std::atomic<int> finished { 0 };
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&queue, &finished, t] {
            for (int i = 0; i < reportsPerThread; ++i) {
                const QString id = QString::number(t * reportsPerThread + i);
                queue.reportErrorAsync(AsyncErrorQueue::Warning, id, id, nullptr);
            }
            finished.fetch_add(1);
        });
    }
    // Deliver while the reporters are still at work.
    while (finished.load() < threadCount) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    QCoreApplication::sendPostedEvents();
    // With none twice, all of them once.
    QCOMPARE(delivered, threadCount * reportsPerThread);
    QCOMPARE(queue.count(), 0);
}

static const char madeAwayFromMainThreadWarning[]
    = "TavixQtBase: the global error queue was made in a thread other than the application's main thread, and "
      "delivers its reports only in that thread's event loop. Call GetTheGlobalAsyncErrorQueue() in the main "
      "thread before another thread reports.\n";

void ErrorReportingTest::globalQueueInFreshProcesses_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("output");
    // Standard error exactly; null where reporters race the exit: then any number of late lines, the last one
    // perhaps cut short.
    QTest::addColumn<QByteArray>("errors");
    // A race is won or lost anew in each process.
    QTest::addColumn<int>("runs");
    const auto row
        = [](const char* name, const char* scenario, const char* output, const QByteArray& errors, int runs) {
              QTest::newRow(name) << QString::fromLatin1(scenario) << QString::fromLatin1(output) << errors << runs;
          };
    // Two workers make the first call: the queue is theirs, not the GUI's, and that is said once.
    row("concurrent first calls share one queue", "first-calls", "same queue\n", madeAwayFromMainThreadWarning, 100);
    row("reports while main returns are dropped", "return", "", QByteArray(), 100);
    row("reports while main calls exit are dropped", "exit", "", QByteArray(), 100);
    row("a log window's handler waiting for the GUI thread", "log-window", "100 worker lines shown\n", "", 100);
    // The line under way as the application goes is shown and its report dropped; a later line goes straight
    // to standard error, past the application's handler.
    row("reports after the application object are logged, not queued", "after-application",
        "handled: Critical message: S : T : during : \n0 queued\n", "Critical message: S : T : late : \n", 3);
    row("a handler that exits waits for another thread's line, not for its own", "exit-in-handler",
        "worker line ended\n", "", 10);
    // The report pending as the first application goes is discarded.
    row("a second application object gets its own reports", "second-application",
        "10 queued\n10 handled, 10 delivered\n", "Critical message: S : T : pending : \n", 3);
    row("the process ends though a handler threw in a worker", "throwing-handler", "worker caught\n", "", 3);
    row("the process ends though another thread's line never does", "stuck-line", "",
        "TavixQtBase: log lines of other threads were still under way after a second of waiting at exit; the "
        "process ends without them.\n",
        3);
}

void ErrorReportingTest::globalQueueInFreshProcesses()
{
    QFETCH(QString, scenario);
    QFETCH(QString, output);
    QFETCH(QByteArray, errors);
    QFETCH(int, runs);
    const QByteArray logLine = "Critical message: S : T : late : ";
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // ThreadSanitizer would wait a second at exit for the reporters, which never stop.
    environment.insert(QStringLiteral("TSAN_OPTIONS"),
        environment.value(QStringLiteral("TSAN_OPTIONS")) + QStringLiteral(":atexit_sleep_ms=0"));
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--child"), scenario });
        QVERIFY(child.waitForFinished(30000));
        QByteArray printedErrors = child.readAllStandardError();
        if (errors.isNull()) {
            // Anything but the log lines (the last one may be cut short by the exit) is a sanitizer's or Qt's
            // complaint.
            QByteArrayList complaints = printedErrors.split('\n');
            if (logLine.startsWith(complaints.last())) {
                complaints.removeLast();
            }
            complaints.removeAll(logLine);
            printedErrors = complaints.join('\n');
        }
        QCOMPARE(printedErrors, errors);
        QCOMPARE(QString::fromLatin1(child.readAllStandardOutput()), output);
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }
}

// Child modes: a critical message from source S with title T.
static void reportCritical(const char* message)
{
    showCriticalMessage(QStringLiteral("T"), QStringLiteral("S"), QString::fromLatin1(message), nullptr);
}

// Child mode: threads keep reporting while main returns, or calls exit() with the application still alive.
// The reports pending at exit are discarded with the queue: a "displayError" line would show one emitted.
static std::atomic<int> s_lateReports { 0 };

static int runReportWhileExiting(bool callExit, int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QObject::connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, [] { std::puts("displayError"); });
    constexpr int threadCount = 4;
    for (int i = 0; i < threadCount; ++i) {
        std::thread([] {
            for (;;) {
                reportCritical("late");
                s_lateReports.fetch_add(1);
            }
        }).detach();
    }
    while (s_lateReports.load() < threadCount) {
        std::this_thread::yield();
    }
    if (callExit) {
        std::exit(0);
    }
    return 0;
}

// Child mode: the message handler of a log window, which hands the lines of other threads to the
// GUI thread through a blocking queued connection, while a worker and the GUI thread both report.
// A library that wrote its log lines under a lock of its own would deadlock here.
static int runLogWindow(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    static int workerLinesShown = 0;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { ++workerLinesShown; }, Qt::BlockingQueuedConnection);
        }
    });
    GetTheGlobalAsyncErrorQueue();
    std::atomic<bool> done { false };
    std::thread worker([&done] {
        for (int i = 0; i < 100; ++i) {
            showWarningMessage(QStringLiteral("T"), QStringLiteral("worker"), QStringLiteral("line"), nullptr);
        }
        done.store(true);
    });
    while (!done.load()) {
        showWarningMessage(QStringLiteral("T"), QStringLiteral("GUI"), QStringLiteral("line"), nullptr);
        QCoreApplication::processEvents();
    }
    worker.join();
    std::printf("%d worker lines shown\n", workerLinesShown);
    return 0;
}

// Child mode: a worker's line is under way while the application object is destroyed; then the main thread
// reports once more. The handler shows the lines it is given on standard output.
static int runReportAfterApplication(int argc, char* argv[])
{
    static QSemaphore workerLineBegun;
    static QSemaphore applicationGone;
    static const std::thread::id mainThread = std::this_thread::get_id();
    std::thread worker;
    {
        QCoreApplication app(argc, argv);
        GetTheGlobalAsyncErrorQueue();
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            std::printf("handled: %s\n", text.toLocal8Bit().constData());
            if (std::this_thread::get_id() != mainThread) {
                workerLineBegun.release();
                applicationGone.acquire();
            }
        });
        worker = std::thread(reportCritical, "during");
        workerLineBegun.acquire();
    }
    applicationGone.release();
    worker.join();
    reportCritical("late");
    std::printf("%d queued\n", GetTheGlobalAsyncErrorQueue()->count());
    return 0;
}

// Child mode: the message handler ends the process from inside a line of the main thread, which has written a
// line before, while a worker's line is under way.
static int runExitInHandler(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    static QSemaphore workerLineBegun;
    static QSemaphore workerLineMayEnd;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
        if (text.endsWith(QLatin1String("worker : "))) {
            workerLineBegun.release();
            workerLineMayEnd.acquire();
            // Time enough for an exit that does not wait for this line to end the process first.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::puts("worker line ended");
        } else if (text.endsWith(QLatin1String("exit : "))) {
            std::exit(0);
        }
    });
    reportCritical("first");
    std::thread(reportCritical, "worker").detach();
    workerLineBegun.acquire();
    // Registered after the global queue was made, so it runs before the queue's holder is destroyed.
    std::atexit([] { workerLineMayEnd.release(); });
    reportCritical("exit");
    return 1;
}

// Child mode: the first application object goes with a report pending; a second one gets the reports made while
// it exists, through its message handler and its event loop.
static int runSecondApplication(int argc, char* argv[])
{
    {
        QCoreApplication first(argc, argv);
        reportCritical("pending");
    }
    QCoreApplication second(argc, argv);
    static int handled = 0;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) { ++handled; });
    int delivered = 0;
    QObject::connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, [&delivered] { ++delivered; });
    for (int i = 0; i < 10; ++i) {
        reportCritical("second");
    }
    std::printf("%d queued\n", GetTheGlobalAsyncErrorQueue()->count());
    QCoreApplication::processEvents();
    std::printf("%d handled, %d delivered\n", handled, delivered);
    return 0;
}

// Child mode: the message handler throws from a worker's line; the worker catches it, and main returns.
static int runThrowingHandler(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    GetTheGlobalAsyncErrorQueue();
    qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString&) { throw std::runtime_error("handler"); });
    std::thread([] {
        try {
            reportCritical("worker");
        } catch (const std::runtime_error&) {
            std::puts("worker caught");
        }
    }).join();
    return 0;
}

// Child mode: a worker's line waits for something that never comes (a full pipe, a logger thread that has
// ended) while main returns.
static int runStuckLine(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    GetTheGlobalAsyncErrorQueue();
    static QSemaphore workerLineBegun;
    static QSemaphore never;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {
        workerLineBegun.release();
        never.acquire();
    });
    std::thread(reportCritical, "worker").detach();
    workerLineBegun.acquire();
    return 0;
}

// Child mode: two threads make the very first call of GetTheGlobalAsyncErrorQueue at once.
static int runFirstCallRace(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::atomic<bool> go { false };
    AsyncErrorQueue* seen[2] = { nullptr, nullptr };
    const auto firstCall = [&go, &seen](int i) {
        while (!go.load()) { }
        seen[i] = GetTheGlobalAsyncErrorQueue();
    };
    std::thread first(firstCall, 0), second(firstCall, 1);
    go.store(true);
    first.join();
    second.join();
    std::puts(seen[0] && seen[0] == seen[1] ? "same queue" : "different queues");
    return 0;
}

int main(int argc, char* argv[])
{
    static const struct
    {
        const char* scenario;
        int (*run)(int argc, char* argv[]);
    } children[] = {
        { "first-calls", runFirstCallRace },
        { "return", [](int argc, char* argv[]) { return runReportWhileExiting(false, argc, argv); } },
        { "exit", [](int argc, char* argv[]) { return runReportWhileExiting(true, argc, argv); } },
        { "log-window", runLogWindow },
        { "after-application", runReportAfterApplication },
        { "exit-in-handler", runExitInHandler },
        { "second-application", runSecondApplication },
        { "throwing-handler", runThrowingHandler },
        { "stuck-line", runStuckLine },
    };
    for (const auto& child : children) {
        if (argc > 2 && qstrcmp(argv[1], "--child") == 0 && qstrcmp(argv[2], child.scenario) == 0) {
            return child.run(argc, argv);
        }
    }
    QApplication app(argc, argv);
    ErrorReportingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorreporting.moc"
