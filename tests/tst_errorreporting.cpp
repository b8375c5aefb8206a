#include <TavixQtBase/errorreporting.h>

#include <QApplication>
#include <QMetaMethod>
#include <QProcess>
#include <QtTest>

#include <GenICam/GCException.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

struct Delivery {
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
                                        [this](AsyncErrorQueue::ErrorSeverity severity, const QString& message,
                                               const QString& details, QWidget* parent) {
                                            deliveries.push_back({severity, message, details, parent});
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

    struct Line {
        QtMsgType type;
        QString text;
    };
    static QList<Line> lines() { return s_lines; }

private:
    static void handler(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        s_lines.append({type, text});
    }

    static QList<Line> s_lines;
    QtMessageHandler m_previous;
};
QList<LogCapture::Line> LogCapture::s_lines;

void processPostedCalls()
{
    QCoreApplication::sendPostedEvents();
}

} // namespace

class ErrorReportingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void metaObjectHasExactlyTheSignalAndTheSlot();
    void reportsFromAWorkerArriveNewestFirst();
    void reportInOwningThreadIsDeliveredLaterUnchanged();
    void clearDiscardsPendingReports();
    void reportFromInsideASlotOvertakesOlderReports();
    void destroyedQueueEmitsNothing();
    void destroyedWidgetIsDeliveredAsNull();
    void showFunctionsLogAndQueue_data();
    void showFunctionsLogAndQueue();
    void logLineIsLatin1WhileReportKeepsFullText();
    void concurrentFirstCallsCreateOneGlobalQueue();
    void stressManyThreadsLoseNothing();
};

void ErrorReportingTest::metaObjectHasExactlyTheSignalAndTheSlot()
{
    const QMetaObject& meta = AsyncErrorQueue::staticMetaObject;
    QCOMPARE(meta.className(), "AsyncErrorQueue");
    QCOMPARE(meta.superClass(), &QObject::staticMetaObject);
    QCOMPARE(meta.methodCount() - meta.methodOffset(), 2);
    QCOMPARE(meta.enumeratorCount() - meta.enumeratorOffset(), 0);

    const QMetaMethod signal = meta.method(meta.methodOffset());
    QCOMPARE(signal.methodSignature(), QByteArray("displayError(AsyncErrorQueue::ErrorSeverity,QString,QString,QWidget*)"));
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

void ErrorReportingTest::reportsFromAWorkerArriveNewestFirst()
{
    AsyncErrorQueue queue;
    DeliveryRecorder recorder(&queue);
    std::thread worker([&queue] {
        for (const char* message : {"R1", "R2", "R3"}) {
            queue.reportErrorAsync(AsyncErrorQueue::Warning, QString::fromLatin1(message), QString(), nullptr);
        }
    });
    worker.join();

    QCOMPARE(queue.count(), 3);
    QVERIFY(recorder.deliveries.empty());
    processPostedCalls();
    QCOMPARE(recorder.messages(), (QStringList{QStringLiteral("R3"), QStringLiteral("R2"), QStringLiteral("R1")}));
    QCOMPARE(queue.count(), 0);
}

void ErrorReportingTest::reportInOwningThreadIsDeliveredLaterUnchanged()
{
    AsyncErrorQueue queue;
    DeliveryRecorder recorder(&queue);
    QWidget widget;
    queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("first"), QStringLiteral("details"), &widget);
    // A severity the library never produces, and empty texts, are carried all the same.
    QVERIFY(queue.reportErrorAsync(AsyncErrorQueue::ErrorSeverity(20), QString(), QString(), nullptr));
    QCOMPARE(queue.count(), 2);
    QVERIFY2(recorder.deliveries.empty(), "emitted from inside reportErrorAsync");
    QTRY_COMPARE(int(recorder.deliveries.size()), 2);
    QCOMPARE(queue.count(), 0);

    const Delivery& empty = recorder.deliveries[0];
    QCOMPARE(int(empty.severity), 20);
    QVERIFY(empty.message.isEmpty() && empty.details.isEmpty());
    QCOMPARE(empty.parent, nullptr);
    const Delivery& first = recorder.deliveries[1];
    QCOMPARE(first.severity, AsyncErrorQueue::Warning);
    QCOMPARE(first.message, QStringLiteral("first"));
    QCOMPARE(first.details, QStringLiteral("details"));
    QCOMPARE(first.parent, &widget);
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
    QCOMPARE(recorder.messages(), QStringList{QStringLiteral("R3")});
}

void ErrorReportingTest::reportFromInsideASlotOvertakesOlderReports()
{
    AsyncErrorQueue queue;
    DeliveryRecorder recorder(&queue);
    QObject::connect(&queue, &AsyncErrorQueue::displayError,
                     [&queue](AsyncErrorQueue::ErrorSeverity, const QString& message, const QString&, QWidget*) {
                         if (message == QLatin1String("R2")) {
                             // Would deadlock or recurse if the queue held its lock or emitted synchronously.
                             queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("R3"), QString(), nullptr);
                             QCOMPARE(queue.count(), 2);
                         }
                     });
    queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("R1"), QString(), nullptr);
    queue.reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("R2"), QString(), nullptr);
    QTRY_COMPARE(int(recorder.deliveries.size()), 3);
    QCOMPARE(recorder.messages(), (QStringList{QStringLiteral("R2"), QStringLiteral("R3"), QStringLiteral("R1")}));
}

void ErrorReportingTest::destroyedQueueEmitsNothing()
{
    int emitted = 0;
    {
        AsyncErrorQueue queue;
        QObject::connect(&queue, &AsyncErrorQueue::displayError, [&emitted] { ++emitted; });
        queue.reportErrorAsync(AsyncErrorQueue::Critical, QStringLiteral("lost"), QString(), nullptr);
        QCOMPARE(queue.count(), 1);
    }
    processPostedCalls();
    QCOMPARE(emitted, 0);
}

void ErrorReportingTest::destroyedWidgetIsDeliveredAsNull()
{
    AsyncErrorQueue queue;
    DeliveryRecorder recorder(&queue);
    QWidget kept;
    auto* doomed = new QWidget;
    queue.reportErrorAsync(AsyncErrorQueue::Critical, QStringLiteral("kept"), QString(), &kept);
    queue.reportErrorAsync(AsyncErrorQueue::Critical, QStringLiteral("doomed"), QString(), doomed);
    delete doomed;
    processPostedCalls();
    QCOMPARE(int(recorder.deliveries.size()), 2);
    QCOMPARE(recorder.deliveries[0].message, QStringLiteral("doomed"));
    QCOMPARE(recorder.deliveries[0].parent, nullptr);
    QCOMPARE(recorder.deliveries[1].parent, &kept);
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

    // Source S, title T, message M, details D, exception text X.
    QTest::newRow("warning: details queued but not logged")
        << Reporter::Warning5 << QtWarningMsg << QStringLiteral("Warning: S: T : M") << 30 << "M" << "D" << true;
    QTest::newRow("warning without details") << Reporter::Warning4 << QtWarningMsg << QStringLiteral("Warning: S: T : M")
                                             << 30 << "M" << "" << true;
    QTest::newRow("critical logs all four fields") << Reporter::Critical5 << QtCriticalMsg
                                                   << QStringLiteral("Critical message: S : T : M : D") << 10 << "M"
                                                   << "D" << true;
    QTest::newRow("critical without details ends in a blank")
        << Reporter::Critical4 << QtCriticalMsg << QStringLiteral("Critical message: S : T : M : ") << 10 << "M" << ""
        << true;
    QTest::newRow("GenICam exception becomes the message")
        << Reporter::GenericException << QtCriticalMsg << QStringLiteral("Critical message: S : Error : X : ") << 10 << "X"
        << "" << false;
    QTest::newRow("GenICam exception becomes the details")
        << Reporter::GenericExceptionWithMessage << QtCriticalMsg << QStringLiteral("Critical message: S : Error : M : X")
        << 10 << "M" << "X" << false;
    QTest::newRow("std exception becomes the message")
        << Reporter::StdException << QtCriticalMsg << QStringLiteral("Critical message: S : Error : X : ") << 10 << "X"
        << "" << false;
    QTest::newRow("std exception becomes the details")
        << Reporter::StdExceptionWithMessage << QtCriticalMsg << QStringLiteral("Critical message: S : Error : M : X")
        << 10 << "M" << "X" << false;
    QTest::newRow("unexpected exception: title logged only")
        << Reporter::Unexpected << QtCriticalMsg
        << QStringLiteral("Critical message: S : Unexpected exception occurred : M : ") << 10 << "M" << "" << false;
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
    const GenICam::GenericException genericException("X");
    const std::runtime_error stdException("X");
    {
        LogCapture capture;
        switch (reporter) {
        case Reporter::Warning5: showWarningMessage(T, S, M, D, &widget); break;
        case Reporter::Warning4: showWarningMessage(T, S, M, &widget); break;
        case Reporter::Critical5: showCriticalMessage(T, S, M, D, &widget); break;
        case Reporter::Critical4: showCriticalMessage(T, S, M, &widget); break;
        case Reporter::GenericException: showException(S, genericException, &widget); break;
        case Reporter::GenericExceptionWithMessage: showException(S, genericException, M, &widget); break;
        case Reporter::StdException: showException(S, stdException, &widget); break;
        case Reporter::StdExceptionWithMessage: showException(S, stdException, M, &widget); break;
        case Reporter::Unexpected: showUnexpectedException(S, M, &widget); break;
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

void ErrorReportingTest::logLineIsLatin1WhileReportKeepsFullText()
{
    AsyncErrorQueue* queue = GetTheGlobalAsyncErrorQueue();
    processPostedCalls();
    DeliveryRecorder recorder(queue);
    const QString message = QStringLiteral("Kamera \u00fcberhitzt \u2013 \u6e29\u5ea6");
    {
        LogCapture capture;
        showCriticalMessage(QStringLiteral("T\u00e9"), QStringLiteral("S"), message, QStringLiteral("\u20ac"), nullptr);
        QCOMPARE(LogCapture::lines().size(), 1);
        QCOMPARE(LogCapture::lines().first().text,
                 QStringLiteral("Critical message: S : T\u00e9 : Kamera \u00fcberhitzt ? ?? : ?"));
    }
    processPostedCalls();
    QCOMPARE(int(recorder.deliveries.size()), 1);
    QCOMPARE(recorder.deliveries.front().message, message);
    QCOMPARE(recorder.deliveries.front().details, QStringLiteral("\u20ac"));
}

void ErrorReportingTest::concurrentFirstCallsCreateOneGlobalQueue()
{
    // The global queue is per process: ask a fresh child process.
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--first-call-race")});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
    QCOMPARE(child.readAllStandardOutput().trimmed(), QByteArray("same queue"));
}

void ErrorReportingTest::stressManyThreadsLoseNothing()
{
    constexpr int threadCount = 8;
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

    std::atomic<int> finished{0};
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
    QTRY_COMPARE_WITH_TIMEOUT(delivered, threadCount * reportsPerThread, 120000);
    processPostedCalls();
    QCOMPARE(delivered, threadCount * reportsPerThread);
    QCOMPARE(queue.count(), 0);
    for (size_t id = 0; id < seen.size(); ++id) {
        QVERIFY2(seen[id] == 1, qPrintable(QStringLiteral("report %1 delivered %2 times").arg(id).arg(seen[id])));
    }
}

// Child mode: two threads make the very first call of GetTheGlobalAsyncErrorQueue at once.
static int runFirstCallRace(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::atomic<bool> go{false};
    AsyncErrorQueue* seen[2] = {nullptr, nullptr};
    std::vector<std::thread> threads;
    for (int i = 0; i < 2; ++i) {
        threads.emplace_back([&go, &seen, i] {
            while (!go.load()) {
            }
            seen[i] = GetTheGlobalAsyncErrorQueue();
        });
    }
    go.store(true);
    for (std::thread& thread : threads) {
        thread.join();
    }
    const bool same = seen[0] && seen[0] == seen[1];
    std::printf("%s\n", same ? "same queue" : "different queues");
    return same ? 0 : 1;
}

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--first-call-race") == 0) {
        return runFirstCallRace(argc, argv);
    }
    QApplication app(argc, argv);
    ErrorReportingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorreporting.moc"
