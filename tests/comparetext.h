// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_TESTS_COMPARETEXT_H
#define TAVIXQTBASE_TESTS_COMPARETEXT_H

#include <QtTest>

// Compares the text a call gave with the one expected: a null expected text asks
// for a null result, an empty one for an empty result. A macro, so that a failure
// points at the call.
#define COMPARE_TEXT(actual, expected)                                                                                 \
    do {                                                                                                               \
        const QString actualText = (actual);                                                                           \
        QCOMPARE(actualText, expected);                                                                                \
        QCOMPARE(actualText.isNull(), (expected).isNull());                                                            \
    } while (false)

#endif
