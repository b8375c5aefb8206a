// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "messagelog.h"

#include <QStyle>
#include <QTime>

MessageLog::MessageLog(QWidget* parent)
    : QListWidget(parent)
{
    setUniformItemSizes(true);
    setWordWrap(false);
}

void MessageLog::addReport(AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details)
{
    const QString text = details.isEmpty() ? message : QStringLiteral("%1 (%2)").arg(message, details);
    const QString stamp = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    if (count() > 0 && text == m_newestText) {
        ++m_newestRepeats;
        item(0)->setText(QStringLiteral("%1  %2  [%3\u00d7]").arg(stamp, text).arg(m_newestRepeats));
        return;
    }
    m_newestText = text;
    m_newestRepeats = 1;
    const QStyle::StandardPixmap icon
        = severity == AsyncErrorQueue::Warning ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxCritical;
    insertItem(0, new QListWidgetItem(style()->standardIcon(icon), QStringLiteral("%1  %2").arg(stamp, text)));
    while (count() > maxEntries) {
        delete takeItem(count() - 1);
    }
}
