// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtTest
import TavixQtBase
import TavixQtBaseTests

TestCase {
    id: testCase
    name: "ErrorQueue"

    property var reports: []

    Connections {
        target: ErrorQueue
        function onDisplayError(severity, message, details) {
            testCase.reports.push({ severity: severity, message: message, details: details })
        }
    }

    function init() {
        reports = []
    }

    // The QML calls write the C++ functions' log lines and reach the handler later,
    // as the C++ calls do, with the details given, or empty ones when left out.
    function test_reportsFromQml_data() {
        return [
            { tag: "warning", fn: "showWarningMessage", details: [], severity: ErrorQueue.Warning },
            { tag: "warning with details", fn: "showWarningMessage", details: ["busy"], severity: ErrorQueue.Warning },
            { tag: "critical", fn: "showCriticalMessage", details: [], severity: ErrorQueue.Critical },
            { tag: "critical with details", fn: "showCriticalMessage", details: ["busy"],
              severity: ErrorQueue.Critical },
        ]
    }

    function test_reportsFromQml(row) {
        const qmlLines = Cpp.logLinesOf(() => ErrorQueue[row.fn]("Open", "camera", "failed", ...row.details))
        compare(qmlLines, Cpp.logLinesOf(() => Cpp[row.fn]("Open", "camera", "failed", row.details[0] ?? "")))
        compare(reports.length, 0, "delivered later, by the event loop")
        tryCompare(reports, "length", 2)
        compare(reports[1], { severity: row.severity, message: "failed", details: row.details[0] ?? "" }, "older")
    }

    // Reports pending from eight threads all arrive, each thread's newest first.
    function test_reportsFromThreads() {
        const threads = 8, perThread = 25
        for (let i = 0; i < threads * perThread; ++i)
            ignoreWarning(/^Warning: thread: title : /)
        Cpp.reportFromThreads(threads, perThread)
        tryCompare(reports, "length", threads * perThread)
        const next = Array(threads).fill(perThread - 1)
        for (const report of reports) {
            const [thread, index] = report.message.split(" ").map(Number)
            compare(index, next[thread], "thread " + thread)
            compare(report.details, String(thread))
            --next[thread]
        }
    }
}
