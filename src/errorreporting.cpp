#include <TavixQtBase/errorreporting.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMetaObject>

#include <cstdio>
#include <mutex>
#include <type_traits>

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
    const AsyncErrorEntry entry { severity, message, details, parent };
    {
        RecursiveMutexLocker locker(&m_mutex);
        m_errors.append(entry);
    }
    // One posted call per report, even in the owning thread, so that the
    // signal is never emitted from inside this function.
    QMetaObject::invokeMethod(this, "asyncSignaler", Qt::QueuedConnection);
    return true;
}

void AsyncErrorQueue::asyncSignaler()
{
    AsyncErrorEntry entry;
    {
        RecursiveMutexLocker locker(&m_mutex);
        if (m_errors.isEmpty()) {
            return;
        }
        entry = m_errors.takeLast();
    }
    Q_EMIT displayError(entry.severity, entry.message, entry.details, entry.parent.data());
}

namespace {

// Reporter threads may outlive the application object and main(), and keep reporting
// while both are destroyed. A report posted then would reach an event dispatcher that
// is being deleted or a destroyed queue, and a log line could meet Qt's message log in
// its own destruction. So the global queue is closed at the start of the application's
// destructor (a post routine) and before the queue is destroyed, and each show...
// call writes its log line and reports under this lock, only while the queue is open.
// The lock must stay usable during and after static destruction: with pthreads it is
// constant-initialised and trivially destructible, so no destructor ever runs on it.
// It is recursive for message handlers that report from within a log line.
std::recursive_mutex globalQueueLock;
bool globalQueueClosed = false;
static_assert(std::is_trivially_destructible<std::recursive_mutex>::value, "the lock must outlive static destruction");

void closeGlobalQueue()
{
    const std::lock_guard<std::recursive_mutex> locker(globalQueueLock);
    globalQueueClosed = true;
}

class GlobalQueueHolder
{
public:
    GlobalQueueHolder()
    {
        qAddPostRoutine(closeGlobalQueue);
        // Qt builds the statics of its message log on first use and, like every
        // static, destroys them in reverse order: built now, before the holder is
        // complete, they outlive the holder and so serve every log line of an open queue.
        QLoggingCategory::defaultCategory();
        qFormatLogMessage(QtCriticalMsg, QMessageLogContext(), QString());
    }
    ~GlobalQueueHolder() { closeGlobalQueue(); }

    AsyncErrorQueue queue;
};

void logAndReport(AsyncErrorQueue::ErrorSeverity severity, const QByteArray& logLine, const QString& message,
    const QString& details, QWidget* parent)
{
    const std::lock_guard<std::recursive_mutex> locker(globalQueueLock);
    if (globalQueueClosed) {
        // The process is ending: Qt's message log may be gone, and nobody would see the report.
        std::fprintf(stderr, "%s\n", logLine.constData());
        return;
    }
    if (severity == AsyncErrorQueue::Warning) {
        qWarning("%s", logLine.constData());
    } else {
        qCritical("%s", logLine.constData());
    }
    GetTheGlobalAsyncErrorQueue()->reportErrorAsync(severity, message, details, parent);
}

} // namespace

AsyncErrorQueue* GetTheGlobalAsyncErrorQueue()
{
    static GlobalQueueHolder holder;
    return &holder.queue;
}

namespace {

// A log field as 8-bit text: Latin-1, with "?" for characters beyond U+00FF.
// Qt's message log decodes %s arguments as UTF-8, so the Latin-1 bytes are
// handed over re-encoded, and the log shows exactly the 8-bit text.
QByteArray logField(const QString& text)
{
    return QString::fromLatin1(text.toLatin1()).toUtf8();
}

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
    logAndReport(AsyncErrorQueue::Warning,
        "Warning: " + logField(source) + ": " + logField(title) + " : " + logField(message), message, details, parent);
}

void showWarningMessage(const QString& title, const QString& source, const QString& message, QWidget* parent)
{
    showWarningMessage(title, source, message, emptyDetails(), parent);
}

void showCriticalMessage(
    const QString& title, const QString& source, const QString& message, const QString& details, QWidget* parent)
{
    logAndReport(AsyncErrorQueue::Critical,
        "Critical message: " + logField(source) + " : " + logField(title) + " : " + logField(message) + " : "
            + logField(details),
        message, details, parent);
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
