// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_TESTS_TEXTTABLE_H
#define TAVIXQTBASE_TESTS_TEXTTABLE_H

#include <QtTest>

// Data tables that hold the text a call gave and the text expected of it; a
// null expected text asks for a null result, an empty one for an empty result.
inline void addColumns()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
}

inline void addRow(const QByteArray& name, const QString& actual, const QString& expected)
{
    QTest::newRow(name.constData()) << actual << expected;
}

inline void compareRow()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
    QCOMPARE(actual.isNull(), expected.isNull());
}

#endif
