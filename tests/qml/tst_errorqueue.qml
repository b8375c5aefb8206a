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

    // The QML calls write the C++ functions' log lines and reach the handler.
    function test_reportsFromQml() {
        ignoreWarning("Warning: camera: Acquisition : Frame 17 was incomplete")
        ErrorQueue.showWarningMessage("Acquisition", "camera", "Frame 17 was incomplete")
        const cppLines = Cpp.logLinesOf(() => Cpp.showCriticalMessage("Open", "camera", "failed", "busy"))
        const qmlLines = Cpp.logLinesOf(() => ErrorQueue.showCriticalMessage("Open", "camera", "failed", "busy"))
        compare(cppLines.length, 1)
        compare(qmlLines, cppLines)
        compare(reports.length, 0, "delivered later, by the event loop")
        tryCompare(reports, "length", 3)
        compare(reports[0].severity, ErrorQueue.Critical)
        compare(reports[0].message, "failed")
        compare(reports[0].details, "busy")
        compare(reports[2].severity, ErrorQueue.Warning)
        compare(reports[2].details, "")
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
