// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_TESTS_COMPARETEXT_H
#define TAVIXQTBASE_TESTS_COMPARETEXT_H

#include <QtTest>

#include <functional>

// A table of calls and the texts they must give: columns "call" and "expected".
using TextCall = std::function<QString()>;
Q_DECLARE_METATYPE(TextCall)

inline void addTextColumns()
{
    QTest::addColumn<TextCall>("call");
    QTest::addColumn<QString>("expected");
}

// Adds a row's call; the expected text follows with <<.
inline QTestData& textRow(const QByteArray& name, const TextCall& call)
{
    return QTest::newRow(name.constData()) << call;
}

// The test of such a table: the row's call gives the expected text, and a null
// expected text asks for a null result, an empty one for an empty result.
inline void compareTextRow()
{
    QFETCH(TextCall, call);
    QFETCH(QString, expected);
    const QString actual = call();
    QCOMPARE(actual, expected);
    QCOMPARE(actual.isNull(), expected.isNull());
}

#endif
