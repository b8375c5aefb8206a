// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "reportlist.h"

#include <QTime>

int ReportList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant ReportList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != SeverityRole)) {
        return QVariant();
    }
    const Entry& entry = m_entries.at(index.row());
    if (role == SeverityRole) {
        return int(entry.severity);
    }
    const QString line = QStringLiteral("%1  %2").arg(entry.stamp, entry.text);
    return entry.repeats > 1 ? QStringLiteral("%1  [%2\u00d7]").arg(line).arg(entry.repeats) : line;
}

QHash<int, QByteArray> ReportList::roleNames() const
{
    return { { Qt::DisplayRole, "display" }, { SeverityRole, "severity" } };
}

void ReportList::addReport(AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details)
{
    const QString text = details.isEmpty() ? message : QStringLiteral("%1 (%2)").arg(message, details);
    const QString stamp = QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
    if (!m_entries.isEmpty() && m_entries.first().text == text) {
        m_entries.first().stamp = stamp;
        ++m_entries.first().repeats;
        Q_EMIT dataChanged(index(0), index(0));
        return;
    }
    beginInsertRows(QModelIndex(), 0, 0);
    m_entries.prepend({ severity, text, stamp, 1 });
    endInsertRows();
    if (m_entries.size() > maxEntries) {
        beginRemoveRows(QModelIndex(), maxEntries, int(m_entries.size()) - 1);
        m_entries.erase(m_entries.begin() + maxEntries, m_entries.end());
        endRemoveRows();
    }
}
