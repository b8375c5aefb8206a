// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The error reports a monitor lists, which stay few and cheap under bursts.
#ifndef CAMERACORE_REPORTLIST_H
#define CAMERACORE_REPORTLIST_H

#include <TavixQtBase/errorreporting.h>

#include <QAbstractListModel>

/**
 * Reports newest first. A report with the same text as the newest entry raises
 * that entry's repeat count instead of adding a row, and the list keeps at most
 * maxEntries rows, so a flood of errors costs neither memory nor time. The
 * display role is "HH:mm:ss  message (details)", with "  [n×]" after a repeat.
 */
class ReportList : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { SeverityRole = Qt::UserRole };

    static constexpr int maxEntries = 200;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void addReport(AsyncErrorQueue::ErrorSeverity severity, const QString& message, const QString& details);

private:
    struct Entry
    {
        AsyncErrorQueue::ErrorSeverity severity;
        QString text;
        QString stamp; ///< of the newest repeat
        int repeats;
    };

    QList<Entry> m_entries;
};

#endif
