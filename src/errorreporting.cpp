#include <TavixQtBase/errorreporting.h>

#include <QMetaObject>
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

bool AsyncErrorQueue::reportErrorAsync(ErrorSeverity severity, const QString& message, const QString& details,
                                       QWidget* parent)
{
    const AsyncErrorEntry entry{severity, message, details, parent};
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

AsyncErrorQueue* GetTheGlobalAsyncErrorQueue()
{
    static AsyncErrorQueue queue(nullptr);
    return &queue;
}

namespace {

// A log field as 8-bit text: Latin-1, with "?" for characters beyond U+00FF.
// Qt's message log decodes %s arguments as UTF-8, so the Latin-1 bytes are
// handed over re-encoded, and the log shows exactly the 8-bit text.
QByteArray logField(const QString& text)
{
    return QString::fromLatin1(text.toLatin1()).toUtf8();
}

const QString& emptyDetails()
{
    static const QString empty = QString::fromLatin1("");
    return empty;
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

void showWarningMessage(const QString& title, const QString& source, const QString& message, const QString& details,
                        QWidget* parent)
{
    qWarning("Warning: %s: %s : %s", logField(source).constData(), logField(title).constData(),
             logField(message).constData());
    GetTheGlobalAsyncErrorQueue()->reportErrorAsync(AsyncErrorQueue::Warning, message, details, parent);
}

void showWarningMessage(const QString& title, const QString& source, const QString& message, QWidget* parent)
{
    showWarningMessage(title, source, message, emptyDetails(), parent);
}

void showCriticalMessage(const QString& title, const QString& source, const QString& message, const QString& details,
                         QWidget* parent)
{
    qCritical("Critical message: %s : %s : %s : %s", logField(source).constData(), logField(title).constData(),
              logField(message).constData(), logField(details).constData());
    GetTheGlobalAsyncErrorQueue()->reportErrorAsync(AsyncErrorQueue::Critical, message, details, parent);
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
