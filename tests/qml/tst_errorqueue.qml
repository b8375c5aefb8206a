// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtTest
import TavixQtBase

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

    // The QML calls reach the handler later, with the details given, or empty
    // ones when left out.
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
        ErrorQueue[row.fn]("Open", "camera", "failed", ...row.details)
        compare(reports.length, 0, "delivered later, by the event loop")
        tryCompare(reports, "length", 1)
        compare(reports[0], { severity: row.severity, message: "failed", details: row.details[0] ?? "" })
    }
}
