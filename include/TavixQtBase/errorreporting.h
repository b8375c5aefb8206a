// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_ERRORREPORTING_H
#define TAVIXQTBASE_ERRORREPORTING_H

#include <TavixQtBase/tavixqtbase_export.h>

#include <QList>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
// Complete, not declared: a connection to displayError() needs QWidget* as a meta type.
#include <QWidget>

#include <exception>

#include <GenICam/GCTypes.h>

namespace GENICAM_NAMESPACE {
class GenericException;
}

/**
 * @file errorreporting.h
 * Reporting errors from any thread to the GUI thread.
 *
 * @howtouse{errorreporting.h}
 *
 * @code
 * // At start-up, in the GUI thread, before any worker reports:
 * QObject::connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError,
 *                  &window, &MainWindow::onDisplayError);
 *
 * // Later, in any thread:
 * showWarningMessage(QStringLiteral("Acquisition"), QStringLiteral("grabber"),
 *                    QStringLiteral("Frame 17 was incomplete"), nullptr);
 * @endcode
 *
 * The call writes "Warning: grabber: Acquisition : Frame 17 was incomplete" to
 * Qt's message log at once. When the GUI thread's event loop runs next,
 * onDisplayError() receives AsyncErrorQueue::Warning, "Frame 17 was incomplete",
 * empty details and a null widget.
 *
 * So a report is written to the log in the reporting thread and delivered later,
 * in the thread that owns the queue, as the signal AsyncErrorQueue::displayError().
 * The library never shows anything itself: the application connects a slot to
 * the signal and shows the error there.
 */

/**
 * A thread-safe queue that carries error reports to the thread that owns it.
 *
 * @howtouse{errorreporting.h}
 *
 * @code
 * AsyncErrorQueue* queue = GetTheGlobalAsyncErrorQueue();   // owned by the GUI thread
 * QObject::connect(queue, &AsyncErrorQueue::displayError, &window, &MainWindow::onDisplayError);
 * // In any thread:
 * queue->reportErrorAsync(AsyncErrorQueue::Warning, QStringLiteral("Frame 17 was incomplete"), QString(), nullptr);
 * queue->count();   // 1, until the GUI thread's event loop delivers it to onDisplayError()
 * @endcode
 *
 * reportErrorAsync() stores a report and posts one queued call of the slot
 * asyncSignaler() to the queue object; each such call, run by the event loop of
 * the queue's thread, takes the newest pending report and emits displayError()
 * with it. So reports that pile up before the event loop runs are delivered
 * newest first. The queue's lock is held only around the list operation itself,
 * never while posting or emitting, so a slot connected to displayError() may
 * report, count or clear without deadlock.
 *
 * reportErrorAsync(), count() and clear() are thread-safe. displayError() is
 * emitted only in the thread that owns the queue; receivers belong in that
 * thread (no meta-type is registered for ErrorSeverity, so a queued connection
 * to another thread cannot carry it).
 */
class TAVIXQTBASE_EXPORT AsyncErrorQueue : public QObject
{
    Q_OBJECT

public:
    /** Severity of a report. The queue carries the value unchanged and never interprets it. */
    enum ErrorSeverity {
        Critical = 10, ///< critical messages and exceptions
        Warning = 30 ///< warnings
    };

    /** One pending report. */
    struct AsyncErrorEntry
    {
        ErrorSeverity severity = Critical; ///< as passed to reportErrorAsync()
        QString message; ///< the text for the user, as passed to reportErrorAsync()
        QString details; ///< further text, such as an exception's description; may be empty
        /**
         * The widget that the application's display should be parented to, or null.
         * Guarded: when the widget is destroyed before delivery, the report is
         * delivered with a null widget instead of a dangling pointer.
         */
        QPointer<QWidget> parent;
    };

    /** Creates an empty queue owned by the calling thread, with the QObject @p parent (may be null). */
    explicit AsyncErrorQueue(QObject* parent = nullptr);
    /** Discards the pending reports; none of them is emitted. */
    ~AsyncErrorQueue() override;

    /** Number of reports stored and not yet delivered or discarded. */
    int count() const;
    /**
     * Discards every pending report. Delivery calls already posted stay posted
     * and find nothing to deliver.
     */
    void clear();
    /**
     * Stores one report and posts one delivery call to the queue's thread.
     *
     * Never emits displayError() from inside the call, even in the queue's own
     * thread. @p parent may be null; when not null it must be alive during this
     * call, and may be destroyed at any time afterwards.
     *
     * @return true, in every case
     */
    bool reportErrorAsync(ErrorSeverity severity, const QString& message, const QString& details, QWidget* parent);

Q_SIGNALS:
    /** Emitted once per delivered report, in the queue's thread. */
    void displayError(AsyncErrorQueue::ErrorSeverity, QString, QString, QWidget*);

protected Q_SLOTS:
    /** Delivers at most one pending report, the newest. Reached through the posted calls only. */
    void asyncSignaler();

private:
    mutable QRecursiveMutex m_mutex;
    QList<AsyncErrorEntry> m_errors;
};

/**
 * The process-wide queue into which the show... functions report; created on the
 * first call, in the calling thread, which then owns it. Make the first call
 * from the GUI thread, for example when connecting to displayError() at start-up.
 * Thread-safe; never returns null.
 *
 * When another thread makes the first call while an application object exists, the
 * reports are delivered only in that thread's event loop, and so usually never reach
 * the GUI: the library then says so once on Qt's message log.
 *
 * The queue is destroyed at process exit, and its pending reports with it; none is
 * emitted. Threads may go on calling the show... functions meanwhile: from the start
 * of the application object's destruction, or of the queue's, their log line goes
 * straight to stderr (Qt's message log may be gone) and the report is dropped. The
 * reports still pending when the application object is destroyed are discarded; an
 * application object made later receives the reports made while it exists. At exit
 * the library waits at most one second for log lines that other threads are still
 * writing (a message handler stuck on a full pipe, or on a lock that the exiting
 * thread holds, never ends), and says on stderr when it ends the process without
 * them; a message handler may throw or end the process. The returned pointer
 * itself must not be used once main() has returned.
 */
TAVIXQTBASE_EXPORT AsyncErrorQueue* GetTheGlobalAsyncErrorQueue();

/**
 * @name Message and exception reporting
 *
 * Each function writes one line to Qt's message log at once, in the calling
 * thread, and posts a report to GetTheGlobalAsyncErrorQueue(). Warnings go
 * through qWarning() as "Warning: SOURCE: TITLE : MESSAGE" and are queued as
 * AsyncErrorQueue::Warning; everything else goes through qCritical() as
 * "Critical message: SOURCE : TITLE : MESSAGE : DETAILS" and is queued as
 * AsyncErrorQueue::Critical. The log line carries the texts converted to Latin-1
 * (characters beyond U+00FF become "?"); the queued report keeps the full texts.
 *
 * All of them may be called from any thread. They show nothing themselves.
 * @{
 */

/** Reports a warning. @p details is queued but not logged; @p parent is queued. */
TAVIXQTBASE_EXPORT void showWarningMessage(
    const QString& title, const QString& source, const QString& message, const QString& details, QWidget* parent);
/** Reports a warning with empty details. */
TAVIXQTBASE_EXPORT void showWarningMessage(
    const QString& title, const QString& source, const QString& message, QWidget* parent);
/** Reports a critical message; all four texts are logged and @p parent is queued. */
TAVIXQTBASE_EXPORT void showCriticalMessage(
    const QString& title, const QString& source, const QString& message, const QString& details, QWidget* parent);
/** Reports a critical message with empty details; the log line ends in " : ". */
TAVIXQTBASE_EXPORT void showCriticalMessage(
    const QString& title, const QString& source, const QString& message, QWidget* parent);

/**
 * Reports a caught GenICam exception with the title "Error": its description is
 * the message, the details are empty. @p parent is ignored; the report is queued
 * without a widget.
 */
TAVIXQTBASE_EXPORT void showException(const QString& source, const GenICam::GenericException& e, QWidget* parent);
/**
 * Reports a caught GenICam exception with the title "Error" and the caller's
 * @p message; the exception's description becomes the details. @p parent is
 * ignored; the report is queued without a widget.
 */
TAVIXQTBASE_EXPORT void showException(
    const QString& source, const GenICam::GenericException& e, const QString& message, QWidget* parent);
/** As the GenICam form, with the text of what(). */
TAVIXQTBASE_EXPORT void showException(const QString& source, const std::exception& e, QWidget* parent);
/** As the GenICam form, with the text of what() as the details. */
TAVIXQTBASE_EXPORT void showException(
    const QString& source, const std::exception& e, const QString& message, QWidget* parent);
/**
 * Reports an exception of unknown type (from a catch (...) block) with the title
 * "Unexpected exception occurred" in the log line. @p parent is ignored.
 */
TAVIXQTBASE_EXPORT void showUnexpectedException(const QString& source, const QString& message, QWidget* parent);

/** @} */

#endif
