// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_QML_ERRORQUEUEQML_H
#define TAVIXQTBASE_QML_ERRORQUEUEQML_H

#include <TavixQtBase/errorreporting.h>

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

/**
 * The QML singleton ErrorQueue: the global error queue's reports as the signal
 * displayError(), and the reporting functions callable from QML.
 *
 * The singleton connects to GetTheGlobalAsyncErrorQueue(), which must belong to
 * the GUI thread: its first call (the singleton's creation, unless the
 * application called it earlier) must come from there.
 */
class ErrorQueue : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    enum Severity { Critical = AsyncErrorQueue::Critical, Warning = AsyncErrorQueue::Warning };
    Q_ENUM(Severity)

    explicit ErrorQueue(QObject* parent = nullptr);

    Q_INVOKABLE void showWarningMessage(const QString& title, const QString& source, const QString& message);
    Q_INVOKABLE void showWarningMessage(
        const QString& title, const QString& source, const QString& message, const QString& details);
    Q_INVOKABLE void showCriticalMessage(const QString& title, const QString& source, const QString& message);
    Q_INVOKABLE void showCriticalMessage(
        const QString& title, const QString& source, const QString& message, const QString& details);

Q_SIGNALS:
    /** One delivered report, newest first when several were pending; in the GUI thread. */
    void displayError(ErrorQueue::Severity severity, const QString& message, const QString& details);
};

#endif
