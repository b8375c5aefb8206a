// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// A list of error messages that stays small and responsive under bursts.
#ifndef CAMERAMONITOR_MESSAGELOG_H
#define CAMERAMONITOR_MESSAGELOG_H

#include <TavixQtBase/errorreporting.h>

#include <QListWidget>

/**
 * Shows reports newest first. A report with the same text as the newest entry
 * raises that entry's repeat count instead of adding a row, and the list keeps
 * at most maxEntries rows, so a flood of errors costs neither memory nor time.
 */
class MessageLog : public QListWidget
{
    Q_OBJECT

public:
    static constexpr int maxEntries = 200;

    explicit MessageLog(QWidget* parent = nullptr);

    void addReport(AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details);

private:
    QString m_newestText;
    int m_newestRepeats = 0;
};

#endif
