// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/errorreporting.h>

#include <QApplication>
#include <QMetaMethod>
#include <QProcess>
#include <QtTest>

#include <GenICam/GCException.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

struct Delivery
{
    AsyncErrorQueue::ErrorSeverity severity;
    QString message;
    QString details;
    QWidget* parent;
};

// Records every displayError() emission of one queue.
class DeliveryRecorder
{
public:
    explicit DeliveryRecorder(AsyncErrorQueue* queue)
    {
        m_connection = QObject::connect(queue, &AsyncErrorQueue::displayError,
            [this](AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details,
                QWidget* parent) {
                deliveries.push_back({ severity, message, details, parent });
            });
    }
    ~DeliveryRecorder() { QObject::disconnect(m_connection); }

    QStringList messages() const
    {
        QStringList result;
        for (const Delivery& delivery : deliveries) {
            result << delivery.message;
        }
        return result;
    }

    std::vector<Delivery> deliveries;

private:
    QMetaObject::Connection m_connection;
};

// Captures the lines that go through Qt's message handler while it lives.
class LogCapture
{
public:
    LogCapture()
    {
        s_lines.clear();
        m_previous = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture() { qInstallMessageHandler(m_previous); }

    struct Line
    {
        QtMsgType type;
        QString text;
    };
    static QList<Line> lines() { return s_lines; }

private:
    static void handler(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        s_lines.append({ type, text });
    }

    static QList<Line> s_lines;
    QtMessageHandler m_previous;
};
QList<LogCapture::Line> LogCapture::s_lines;

void processPostedCalls()
{
    QCoreApplication::sendPostedEvents();
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

} // namespace

class ErrorReportingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void metaObjectHasExactlyTheSignalAndTheSlot();
    void oddReportIsCarriedAndDestroyedWidgetIsNull();
    void clearDiscardsPendingReports();
    void subclassSlotOfTheSameNameIsCalled();
    void reportFromInsideASlotOvertakesOlderReports();
    void showFunctionsLogAndQueue_data();
    void showFunctionsLogAndQueue();
    void logLineIsLatin1WhileReportKeepsFullText_data();
    void logLineIsLatin1WhileReportKeepsFullText();
    void stressManyThreadsLoseNothing();
    void globalQueueInFreshProcesses_data();
    void globalQueueInFreshProcesses();
};

void ErrorReportingTest::metaObjectHasExactlyTheSignalAndTheSlot()
{
    const QMetaObject& meta = AsyncErrorQueue::staticMetaObject;
    QCOMPARE(meta.className(), "AsyncErrorQueue");
    QCOMPARE(meta.superClass(), &QObject::staticMetaObject);
    QCOMPARE(meta.methodCount() - meta.methodOffset(), 2);
    QCOMPARE(meta.enumeratorCount() - meta.enumeratorOffset(), 0);

    const QMetaMethod signal = meta.method(meta.methodOffset());
    QCOMPARE(
        signal.methodSignature(), QByteArray("displayError(AsyncErrorQueue::ErrorSeverity,QString,QString,QWidget*)"));
    QCOMPARE(signal.methodType(), QMetaMethod::Signal);

    const QMetaMethod slot = meta.method(meta.methodOffset() + 1);
    QCOMPARE(slot.methodSignature(), QByteArray("asyncSignaler()"));
    QCOMPARE(slot.methodType(), QMetaMethod::Slot);
    QCOMPARE(slot.access(), QMetaMethod::Protected);

    QCOMPARE(int(AsyncErrorQueue::Critical), 10);
    QCOMPARE(int(AsyncErrorQueue::Warning), 30);

    // Applications connect by the normalised signature; it must resolve.
    AsyncErrorQueue queue;
    QObject receiver;
    QVERIFY(QObject::connect(&queue, SIGNAL(displayError(AsyncErrorQueue::ErrorSeverity, QString, QString, QWidget*)),
        &receiver, SLOT(deleteLater())));
}

void ErrorReportingTest::oddReportIsCarriedAndDestroyedWidgetIsNull()
{
    AsyncErrorQueue queue;
    DeliveryRecorder recorder(&queue);
    auto* doomed = new QWidget;
    // A severity the library never produces, and empty texts, are carried all the same.
    QVERIFY(queue.reportErrorAsync(AsyncErrorQueue::ErrorSeverity(20), QString(), QString(), doomed));
    delete doomed;
    processPostedCalls();
    QCOMPARE(int(recorder.deliveries.size()), 1);
    const Delivery& delivery = recorder.deliveries.front();
    QCOMPARE(int(delivery.severity), 20);
    QVERIFY(delivery.message.isEmpty() && delivery.details.isEmpty());
    QCOMPARE(delivery.parent, nullptr);
}

void ErrorReportingTest::clearDiscardsPendingReports()
{
    AsyncErrorQueue queue;
    DeliveryRecorder recorder(&queue);
    queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("R1"), QString(), nullptr);
    queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("R2"), QString(), nullptr);
    queue.clear();
    QCOMPARE(queue.count(), 0);
    processPostedCalls();
    QVERIFY(recorder.deliveries.empty());

    // The surplus posted calls are spent: a new report is delivered exactly once.
    queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("R3"), QString(), nullptr);
    processPostedCalls();
    QCOMPARE(recorder.messages(), QStringList { QStringLiteral("R3") });
}

void ErrorReportingTest::subclassSlotOfTheSameNameIsCalled()
{
    CountingQueue queue;
    DeliveryRecorder recorder(&queue);
    queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("R1"), QString(), nullptr);
    QCOMPARE(queue.calls, 0);
    processPostedCalls();
    QCOMPARE(queue.calls, 1);
    QCOMPARE(recorder.messages(), QStringList { QStringLiteral("R1") });
}

void ErrorReportingTest::reportFromInsideASlotOvertakesOlderReports()
{
    AsyncErrorQueue queue;
    DeliveryRecorder recorder(&queue);
    QObject::connect(&queue, &AsyncErrorQueue::displayError,
        [&queue](AsyncErrorQueue::ErrorSeverity, const QString& message, const QString&, QWidget*) {
            if (message == QLatin1String("R2")) {
                // Would recurse if the queue emitted synchronously, and the count from
                // another thread would wait forever if the queue held its lock.
                queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("R3"), QString(), nullptr);
                QCOMPARE(std::async(std::launch::async, [&queue] { return queue.count(); }).get(), 2);
            }
        });
    queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("R1"), QString(), nullptr);
    queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("R2"), QString(), nullptr);
    QTRY_COMPARE(int(recorder.deliveries.size()), 3);
    QCOMPARE(recorder.messages(), (QStringList { QStringLiteral("R2"), QStringLiteral("R3"), QStringLiteral("R1") }));
}

enum class Reporter {
    Warning5,
    Warning4,
    Critical5,
    Critical4,
    GenericException,
    GenericExceptionWithMessage,
    StdException,
    StdExceptionWithMessage,
    Unexpected
};
Q_DECLARE_METATYPE(Reporter)
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
Q_DECLARE_METATYPE(QtMsgType)
#endif

void ErrorReportingTest::showFunctionsLogAndQueue_data()
{
    QTest::addColumn<Reporter>("reporter");
    QTest::addColumn<QtMsgType>("logType");
    QTest::addColumn<QString>("logLine");
    QTest::addColumn<int>("severity");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("details");
    QTest::addColumn<bool>("widgetQueued");

    // Source S, title T, message M, details D; the exceptions' 8-bit text is Latin-1 "caf\xe9".
    const QString X = QStringLiteral("caf\u00e9");
    QTest::newRow("warning: details queued but not logged")
        << Reporter::Warning5 << QtWarningMsg << QStringLiteral("Warning: S: T : M") << 30 << "M"
        << "D" << true;
    QTest::newRow("warning without details")
        << Reporter::Warning4 << QtWarningMsg << QStringLiteral("Warning: S: T : M") << 30 << "M"
        << "" << true;
    QTest::newRow("critical logs all four fields")
        << Reporter::Critical5 << QtCriticalMsg << QStringLiteral("Critical message: S : T : M : D") << 10 << "M"
        << "D" << true;
    QTest::newRow("critical without details ends in a blank")
        << Reporter::Critical4 << QtCriticalMsg << QStringLiteral("Critical message: S : T : M : ") << 10 << "M"
        << "" << true;
    QTest::newRow("GenICam exception becomes the message")
        << Reporter::GenericException << QtCriticalMsg << QStringLiteral("Critical message: S : Error : %1 : ").arg(X)
        << 10 << X << "" << false;
    QTest::newRow("GenICam exception becomes the details")
        << Reporter::GenericExceptionWithMessage << QtCriticalMsg
        << QStringLiteral("Critical message: S : Error : M : %1").arg(X) << 10 << "M" << X << false;
    QTest::newRow("std exception becomes the message")
        << Reporter::StdException << QtCriticalMsg << QStringLiteral("Critical message: S : Error : %1 : ").arg(X) << 10
        << X << "" << false;
    QTest::newRow("std exception becomes the details")
        << Reporter::StdExceptionWithMessage << QtCriticalMsg
        << QStringLiteral("Critical message: S : Error : M : %1").arg(X) << 10 << "M" << X << false;
    QTest::newRow("unexpected exception: title logged only")
        << Reporter::Unexpected << QtCriticalMsg
        << QStringLiteral("Critical message: S : Unexpected exception occurred : M : ") << 10 << "M"
        << "" << false;
}

void ErrorReportingTest::showFunctionsLogAndQueue()
{
    QFETCH(Reporter, reporter);
    QFETCH(QtMsgType, logType);
    QFETCH(QString, logLine);
    QFETCH(int, severity);
    QFETCH(QString, message);
    QFETCH(QString, details);
    QFETCH(bool, widgetQueued);

    AsyncErrorQueue* queue = GetTheGlobalAsyncErrorQueue();
    processPostedCalls();
    DeliveryRecorder recorder(queue);
    QWidget widget;
    const QString S = QStringLiteral("S"), T = QStringLiteral("T"), M = QStringLiteral("M"), D = QStringLiteral("D");
    const GenICam::GenericException genericException("caf\xe9");
    const std::runtime_error stdException("caf\xe9");
    {
        LogCapture capture;
        switch (reporter) {
        case Reporter::Warning5:
            showWarningMessage(T, S, M, D, &widget);
            break;
        case Reporter::Warning4:
            showWarningMessage(T, S, M, &widget);
            break;
        case Reporter::Critical5:
            showCriticalMessage(T, S, M, D, &widget);
            break;
        case Reporter::Critical4:
            showCriticalMessage(T, S, M, &widget);
            break;
        case Reporter::GenericException:
            showException(S, genericException, &widget);
            break;
        case Reporter::GenericExceptionWithMessage:
            showException(S, genericException, M, &widget);
            break;
        case Reporter::StdException:
            showException(S, stdException, &widget);
            break;
        case Reporter::StdExceptionWithMessage:
            showException(S, stdException, M, &widget);
            break;
        case Reporter::Unexpected:
            showUnexpectedException(S, M, &widget);
            break;
        }
        QCOMPARE(LogCapture::lines().size(), 1);
        QCOMPARE(LogCapture::lines().first().type, logType);
        QCOMPARE(LogCapture::lines().first().text, logLine);
    }
    QVERIFY2(recorder.deliveries.empty(), "delivered before the event loop ran");
    processPostedCalls();
    QCOMPARE(int(recorder.deliveries.size()), 1);
    const Delivery& delivery = recorder.deliveries.front();
    QCOMPARE(int(delivery.severity), severity);
    QCOMPARE(delivery.message, message);
    QCOMPARE(delivery.details, details);
    QVERIFY2(!delivery.details.isNull(), "empty details must be an empty, not a null, string");
    QCOMPARE(delivery.parent, widgetQueued ? &widget : nullptr);
}

void ErrorReportingTest::logLineIsLatin1WhileReportKeepsFullText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("logged");
    QTest::newRow("U+0080 alone") << QStringLiteral("\u0080") << QStringLiteral("\u0080");
    QTest::newRow("Latin-1, then only ASCII")
        << QStringLiteral("\u00e9t\u00e9 2026") << QStringLiteral("\u00e9t\u00e9 2026");
    // A character beyond the Basic Multilingual Plane is two UTF-16 units, each a question mark.
    QTest::newRow("U+00FF, then U+0100, U+FFFF and U+1F600")
        << QStringLiteral("\u00ff\u0100\uffff\U0001f600") << QStringLiteral("\u00ff????");
    QTest::newRow("300 Latin-1 characters, 600 bytes in UTF-8")
        << QString(300, QChar(0xe9)) << QString(300, QChar(0xe9));
}

void ErrorReportingTest::logLineIsLatin1WhileReportKeepsFullText()
{
    QFETCH(QString, text);
    QFETCH(QString, logged);
    AsyncErrorQueue* queue = GetTheGlobalAsyncErrorQueue();
    processPostedCalls();
    DeliveryRecorder recorder(queue);
    {
        LogCapture capture;
        showCriticalMessage(text, text, text, text, nullptr);
        QCOMPARE(LogCapture::lines().size(), 1);
        QCOMPARE(LogCapture::lines().first().text, QStringLiteral("Critical message: %1 : %1 : %1 : %1").arg(logged));
    }
    processPostedCalls();
    QCOMPARE(int(recorder.deliveries.size()), 1);
    QCOMPARE(recorder.deliveries.front().message, text);
    QCOMPARE(recorder.deliveries.front().details, text);
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
            ++seen[size_t(id)];
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
    processPostedCalls();
    QCOMPARE(delivered, threadCount * reportsPerThread);
    QCOMPARE(queue.count(), 0);
    for (size_t id = 0; id < seen.size(); ++id) {
        QVERIFY2(seen[id] == 1, qPrintable(QStringLiteral("report %1 delivered %2 times").arg(id).arg(seen[id])));
    }
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
    // Two workers make the first call: the queue is theirs, not the GUI's, and that is said once.
    QTest::newRow("concurrent first calls share one queue") << "first-calls"
                                                            << "same queue\n"
                                                            << QByteArray(madeAwayFromMainThreadWarning) << 100;
    QTest::newRow("reports while main returns are dropped") << "return"
                                                            << "" << QByteArray() << 100;
    QTest::newRow("reports while main calls exit are dropped") << "exit"
                                                               << "" << QByteArray() << 100;
    QTest::newRow("a log window's handler waiting for the GUI thread") << "log-window"
                                                                       << "100 worker lines shown\n"
                                                                       << QByteArray("") << 100;
    // The line under way as the application goes is shown and its report dropped; a later line goes straight
    // to standard error, past the application's handler.
    QTest::newRow("reports after the application object are logged, not queued")
        << "after-application"
        << "handled: Critical message: S : T : during : \n0 queued\n"
        << QByteArray("Critical message: S : T : late : \n") << 3;
    QTest::newRow("a handler that exits waits for another thread's line, not for its own") << "exit-in-handler"
                                                                                           << "worker line ended\n"
                                                                                           << QByteArray("") << 10;
    // The report pending as the first application goes is discarded.
    QTest::newRow("a second application object gets its own reports")
        << "second-application"
        << "10 queued\n10 handled, 10 delivered\n"
        << QByteArray("Critical message: S : T : pending : \n") << 3;
    QTest::newRow("the process ends though a handler threw in a worker") << "throwing-handler"
                                                                         << "worker caught\n"
                                                                         << QByteArray("") << 3;
    QTest::newRow("the process ends though another thread's line never does")
        << "stuck-line"
        << ""
        << QByteArray("TavixQtBase: log lines of other threads were still under way after a second of waiting at "
                      "exit; the process ends without them.\n")
        << 3;
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
    QByteArrayList failures;
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
        const QByteArray printed = child.readAllStandardOutput();
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 || printedErrors != errors
            || printed != output.toLatin1()) {
            failures << "exit status " + QByteArray::number(child.exitStatus()) + ", code "
                    + QByteArray::number(child.exitCode()) + ", stdout: " + printed + ", stderr:\n"
                    + printedErrors.left(4000);
        }
    }
    const QByteArray summary
        = QByteArray::number(failures.size()) + " of " + QByteArray::number(runs) + " runs failed; the first: ";
    QVERIFY2(failures.isEmpty(), (summary + failures.value(0)).constData());
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
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0) {
        const QByteArray scenario = argv[2];
        if (scenario == "first-calls") {
            return runFirstCallRace(argc, argv);
        }
        if (scenario == "log-window") {
            return runLogWindow(argc, argv);
        }
        if (scenario == "after-application") {
            return runReportAfterApplication(argc, argv);
        }
        if (scenario == "exit-in-handler") {
            return runExitInHandler(argc, argv);
        }
        if (scenario == "second-application") {
            return runSecondApplication(argc, argv);
        }
        if (scenario == "throwing-handler") {
            return runThrowingHandler(argc, argv);
        }
        if (scenario == "stuck-line") {
            return runStuckLine(argc, argv);
        }
        return runReportWhileExiting(scenario == "exit", argc, argv);
    }
    QApplication app(argc, argv);
    ErrorReportingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorreporting.moc"
