// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/errorreporting.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QStringView>
#include <QThread>
#include <QVarLengthArray>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <initializer_list>
#include <mutex>
#include <thread>
#include <type_traits>
#include <utility>

#include <poll.h>
#include <unistd.h>

#include <GenICam/GCException.h>

#include "recursivemutexlocker_p.h"

AsyncErrorQueue::AsyncErrorQueue(QObject* parent)
    : QObject(parent)
{
}

AsyncErrorQueue::~AsyncErrorQueue()
{
    clear();
}

int AsyncErrorQueue::count() const
{
    RecursiveMutexLocker locker(&m_mutex);
    return int(m_errors.size());
}

void AsyncErrorQueue::clear()
{
    RecursiveMutexLocker locker(&m_mutex);
    m_errors.clear();
}

bool AsyncErrorQueue::reportErrorAsync(
    ErrorSeverity severity, const QString& message, const QString& details, QWidget* parent)
{
    {
        RecursiveMutexLocker locker(&m_mutex);
        m_errors.append({ severity, message, details, parent });
    }
    // One posted call per report, even in the owning thread, so that the
    // signal is never emitted from inside this function. A subclass may declare
    // a slot of the same name, which the call by name finds first.
    if (metaObject() == &staticMetaObject) {
        QMetaObject::invokeMethod(this, &AsyncErrorQueue::asyncSignaler, Qt::QueuedConnection);
    } else {
        QMetaObject::invokeMethod(this, "asyncSignaler", Qt::QueuedConnection);
    }
    return true;
}

void AsyncErrorQueue::asyncSignaler()
{
    RecursiveMutexLocker locker(&m_mutex);
    if (m_errors.isEmpty()) {
        return;
    }
    AsyncErrorEntry entry = m_errors.takeLast();
    locker.unlock();
    Q_EMIT displayError(entry.severity, std::move(entry.message), std::move(entry.details), entry.parent.data());
}

namespace {

// Reporter threads may outlive the application object and main(), and keep reporting
// while both are destroyed. A report posted then would reach an event dispatcher that
// is being deleted or a destroyed queue, and a log line could meet Qt's message log in
// its own destruction. So the global queue is closed at the start of the application's
// destructor (a post routine) and before the queue is destroyed; a report enters the
// queue under this lock, only while the queue is open. An application object made
// later opens it again.
//
// The log line itself is written outside the lock: the application's message handler may
// take its time or wait for another thread (a log window fed through a blocking queued
// connection), and must never hold up or deadlock the reports of other threads. The lines
// under way are counted instead, and the queue's holder, destroyed before Qt's message log,
// waits a while for those of other threads to end.
//
// The lock must stay usable during and after static destruction: with pthreads it is
// constant-initialised and trivially destructible, so no destructor ever runs on it.
std::mutex globalQueueLock;
enum class QueueState { Open, ClosedWithApplication, Destroyed };
QueueState globalQueueState = QueueState::Open;
AsyncErrorQueue* globalQueue = nullptr;
int logLinesUnderWay = 0;
// The calling thread's own share of logLinesUnderWay: a message handler that ends the
// process from inside a log line must not wait for itself.
thread_local int logLinesUnderWayInThisThread = 0;
static_assert(std::is_trivially_destructible<std::mutex>::value, "the lock must outlive static destruction");

// A line of a working message handler takes microseconds, a slow terminal or file some
// milliseconds. One still under way after this long is stuck for good: its handler waits
// for a full pipe, a lock held by the exiting thread or a logger thread that has ended,
// and no wait would end it. The process then ends without it.
constexpr std::chrono::seconds logLineWaitAtExit { 1 };

// A post routine, run at the start of every application object's destructor. The reports
// still pending lose their delivery calls with the application's event queue, so they go too.
void closeGlobalQueueWithApplication()
{
    const std::lock_guard<std::mutex> locker(globalQueueLock);
    if (globalQueueState == QueueState::Open) {
        globalQueueState = QueueState::ClosedWithApplication;
    }
    if (globalQueue) {
        globalQueue->clear();
    }
}

// Run in every application object's constructor.
void openGlobalQueueWithApplication()
{
    {
        const std::lock_guard<std::mutex> locker(globalQueueLock);
        if (globalQueueState == QueueState::ClosedWithApplication) {
            globalQueueState = QueueState::Open;
        }
    }
    qAddPostRoutine(closeGlobalQueueWithApplication);
}

// Says on standard error that lines are lost. Written past stdio, whose lock a stuck line may
// hold, and only when it cannot block: the stuck line may be waiting for a full stderr.
void tellOfStuckLogLines()
{
    static const char text[] = "TavixQtBase: log lines of other threads were still under way after a second of "
                               "waiting at exit; the process ends without them.\n";
    pollfd standardError { STDERR_FILENO, POLLOUT, 0 };
    if (poll(&standardError, 1, 0) == 1 && standardError.revents == POLLOUT) {
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, text, sizeof text - 1);
    }
}

void closeGlobalQueueAndWaitForLogLines()
{
    std::unique_lock<std::mutex> lock(globalQueueLock);
    globalQueueState = QueueState::Destroyed;
    globalQueue = nullptr;
    const auto deadline = std::chrono::steady_clock::now() + logLineWaitAtExit;
    while (logLinesUnderWay > logLinesUnderWayInThisThread) {
        if (std::chrono::steady_clock::now() >= deadline) {
            tellOfStuckLogLines();
            return;
        }
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        lock.lock();
    }
}

class GlobalQueueHolder
{
public:
    GlobalQueueHolder()
    {
        // Qt builds the statics of its message log on first use and, like every
        // static, destroys them in reverse order: built now, before the holder is
        // complete, they outlive the holder and so serve every log line of an open queue.
        QLoggingCategory::defaultCategory();
        qFormatLogMessage(QtCriticalMsg, QMessageLogContext(), QString());
        const QCoreApplication* application = QCoreApplication::instance();
        madeAwayFromMainThread = application && QThread::currentThread() != application->thread();
        const std::lock_guard<std::mutex> locker(globalQueueLock);
        globalQueue = &queue;
    }
    ~GlobalQueueHolder() { closeGlobalQueueAndWaitForLogLines(); }

    AsyncErrorQueue queue;
    bool madeAwayFromMainThread;
};

// Counts a log line as under way, while the queue is open, until the line ends: also when
// the message handler throws.
class LogLineUnderWay
{
public:
    LogLineUnderWay()
    {
        const std::lock_guard<std::mutex> locker(globalQueueLock);
        m_counted = globalQueueState == QueueState::Open;
        if (m_counted) {
            ++logLinesUnderWay;
            ++logLinesUnderWayInThisThread;
        }
    }
    ~LogLineUnderWay()
    {
        if (m_counted) {
            const std::lock_guard<std::mutex> locker(globalQueueLock);
            endLocked();
        }
    }
    LogLineUnderWay(const LogLineUnderWay&) = delete;
    LogLineUnderWay& operator=(const LogLineUnderWay&) = delete;

    /** False when the queue was closed before the line began. */
    bool isCounted() const { return m_counted; }

    /** Ends the counted line and, while the queue is still open, queues the report. */
    void endAndReport(AsyncErrorQueue* queue, AsyncErrorQueue::ErrorSeverity severity, const QString& message,
        const QString& details, QWidget* parent)
    {
        const std::lock_guard<std::mutex> locker(globalQueueLock);
        endLocked();
        m_counted = false;
        if (globalQueueState == QueueState::Open) {
            queue->reportErrorAsync(severity, message, details, parent);
        }
    }

private:
    static void endLocked()
    {
        --logLinesUnderWay;
        --logLinesUnderWayInThisThread;
    }

    bool m_counted;
};

void logAndReport(AsyncErrorQueue::ErrorSeverity severity, const char* logLine, const QString& message,
    const QString& details, QWidget* parent)
{
    AsyncErrorQueue* const queue = GetTheGlobalAsyncErrorQueue();
    LogLineUnderWay line;
    if (!line.isCounted()) {
        // The process or its application object is ending: Qt's message log may be gone,
        // and nobody would see the report.
        std::fprintf(stderr, "%s\n", logLine);
        return;
    }
    if (severity == AsyncErrorQueue::Warning) {
        qWarning("%s", logLine);
    } else {
        qCritical("%s", logLine);
    }
    line.endAndReport(queue, severity, message, details, parent);
}

// Reports go to the thread that made the queue, and so are lost to the GUI when a worker made it.
void warnOnceIfMadeAwayFromMainThread(const GlobalQueueHolder& holder)
{
    static std::atomic<bool> warned { false };
    if (!holder.madeAwayFromMainThread || warned.load(std::memory_order_relaxed) || warned.exchange(true)) {
        return;
    }
    qWarning("TavixQtBase: the global error queue was made in a thread other than the application's main "
             "thread, and delivers its reports only in that thread's event loop. Call "
             "GetTheGlobalAsyncErrorQueue() in the main thread before another thread reports.");
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(openGlobalQueueWithApplication)

AsyncErrorQueue* GetTheGlobalAsyncErrorQueue()
{
    static GlobalQueueHolder holder;
    warnOnceIfMadeAwayFromMainThread(holder);
    return &holder.queue;
}

namespace {

// One piece of a log line: a literal, or a field shown as 8-bit text, Latin-1 with "?" for
// characters beyond U+00FF. Qt's message log decodes %s arguments as UTF-8, so a field is
// written re-encoded, at most two bytes a character, and the log shows exactly the 8-bit text.
class LogPiece
{
public:
    LogPiece(const char* literal)
        : m_literal(literal)
    {
    }
    LogPiece(const QString& field)
        : m_field(&field)
    {
    }

    qsizetype maxSize() const { return m_field ? 2 * qsizetype(m_field->size()) : qsizetype(m_literal.size()); }

    char* write(char* out) const
    {
        if (!m_field) {
            return std::copy(m_literal.begin(), m_literal.end(), out);
        }
        // Mostly ASCII: copied in one loop that the compiler vectorises, and done again
        // character by character only when some character is beyond it.
        const char16_t* units = QStringView(*m_field).utf16();
        const qsizetype size = m_field->size();
        char16_t allUnits = 0;
        for (qsizetype i = 0; i < size; ++i) {
            out[i] = char(units[i]);
            allUnits |= units[i];
        }
        if (allUnits < 0x80) {
            return out + size;
        }
        for (qsizetype i = 0; i < size; ++i) {
            const char16_t unit = units[i];
            if (unit < 0x80) {
                *out++ = char(unit);
            } else if (unit < 0x100) {
                *out++ = char(0xc0 | (unit >> 6));
                *out++ = char(0x80 | (unit & 0x3f));
            } else {
                *out++ = '?';
            }
        }
        return out;
    }

private:
    QLatin1String m_literal;
    const QString* m_field = nullptr;
};

// The pieces joined in one pass into a null-terminated line, on the stack unless it is long.
class LogLine
{
public:
    LogLine(std::initializer_list<LogPiece> pieces)
    {
        qsizetype capacity = 1;
        for (const LogPiece& piece : pieces) {
            capacity += piece.maxSize();
        }
        m_text.resize(capacity);
        char* end = m_text.data();
        for (const LogPiece& piece : pieces) {
            end = piece.write(end);
        }
        *end = '\0';
    }

    const char* text() const { return m_text.constData(); }

private:
    QVarLengthArray<char, 256> m_text;
};

// Empty, not null. Made per call rather than held in a static, which late reporters
// could reach after its destruction.
QString emptyDetails()
{
    return QStringLiteral("");
}

void reportException(const QString& source, const char* text, const QString* message)
{
    const QString exceptionText = QString::fromLatin1(text);
    const QString title = QStringLiteral("Error");
    if (message) {
        showCriticalMessage(title, source, *message, exceptionText, nullptr);
    } else {
        showCriticalMessage(title, source, exceptionText, emptyDetails(), nullptr);
    }
}

} // namespace

void showWarningMessage(
    const QString& title, const QString& source, const QString& message, const QString& details, QWidget* parent)
{
    logAndReport(AsyncErrorQueue::Warning, LogLine({ "Warning: ", source, ": ", title, " : ", message }).text(),
        message, details, parent);
}

void showWarningMessage(const QString& title, const QString& source, const QString& message, QWidget* parent)
{
    showWarningMessage(title, source, message, emptyDetails(), parent);
}

void showCriticalMessage(
    const QString& title, const QString& source, const QString& message, const QString& details, QWidget* parent)
{
    logAndReport(AsyncErrorQueue::Critical,
        LogLine({ "Critical message: ", source, " : ", title, " : ", message, " : ", details }).text(), message,
        details, parent);
}

void showCriticalMessage(const QString& title, const QString& source, const QString& message, QWidget* parent)
{
    showCriticalMessage(title, source, message, emptyDetails(), parent);
}

void showException(const QString& source, const GenICam::GenericException& e, QWidget*)
{
    reportException(source, e.GetDescription(), nullptr);
}

void showException(const QString& source, const GenICam::GenericException& e, const QString& message, QWidget*)
{
    reportException(source, e.GetDescription(), &message);
}

void showException(const QString& source, const std::exception& e, QWidget*)
{
    reportException(source, e.what(), nullptr);
}

void showException(const QString& source, const std::exception& e, const QString& message, QWidget*)
{
    reportException(source, e.what(), &message);
}

void showUnexpectedException(const QString& source, const QString& message, QWidget*)
{
    showCriticalMessage(QStringLiteral("Unexpected exception occurred"), source, message, emptyDetails(), nullptr);
}
