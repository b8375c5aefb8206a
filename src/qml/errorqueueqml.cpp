// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "errorqueueqml.h"

QmlErrorQueue::QmlErrorQueue(QObject* parent)
    : QObject(parent)
{
    connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, this,
        [this](AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details) {
            Q_EMIT displayError(Severity(severity), message, details);
        });
}

void QmlErrorQueue::showWarningMessage(const QString& title, const QString& source, const QString& message)
{
    ::showWarningMessage(title, source, message, nullptr);
}

void QmlErrorQueue::showWarningMessage(
    const QString& title, const QString& source, const QString& message, const QString& details)
{
    ::showWarningMessage(title, source, message, details, nullptr);
}

void QmlErrorQueue::showCriticalMessage(const QString& title, const QString& source, const QString& message)
{
    ::showCriticalMessage(title, source, message, nullptr);
}

void QmlErrorQueue::showCriticalMessage(
    const QString& title, const QString& source, const QString& message, const QString& details)
{
    ::showCriticalMessage(title, source, message, details, nullptr);
}
