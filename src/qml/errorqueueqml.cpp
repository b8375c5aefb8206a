// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "errorqueueqml.h"

ErrorQueue::ErrorQueue(QObject* parent)
    : QObject(parent)
{
    connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, this,
        [this](AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details) {
            Q_EMIT displayError(Severity(severity), message, details);
        });
}

void ErrorQueue::showWarningMessage(const QString& title, const QString& source, const QString& message)
{
    ::showWarningMessage(title, source, message, nullptr);
}

void ErrorQueue::showWarningMessage(
    const QString& title, const QString& source, const QString& message, const QString& details)
{
    ::showWarningMessage(title, source, message, details, nullptr);
}

void ErrorQueue::showCriticalMessage(const QString& title, const QString& source, const QString& message)
{
    ::showCriticalMessage(title, source, message, nullptr);
}

void ErrorQueue::showCriticalMessage(
    const QString& title, const QString& source, const QString& message, const QString& details)
{
    ::showCriticalMessage(title, source, message, details, nullptr);
}
