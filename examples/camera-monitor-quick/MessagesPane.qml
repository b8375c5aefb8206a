// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import TavixQtBase

// The reports of the error queue, newest first; a repeat of the newest counts up instead of adding a line.
GroupBox {
    id: pane

    readonly property int maxEntries: 200

    function add(severity: int, message: string, details: string) {
        const text = details === "" ? message : "%1 (%2)".arg(message).arg(details)
        const stamp = new Date().toLocaleTimeString(Qt.locale("C"), "HH:mm:ss")
        if (reports.count > 0 && reports.get(0).message === text) {
            reports.set(0, { stamp: stamp, repeats: reports.get(0).repeats + 1 })
            return
        }
        reports.insert(0, { severity: severity, message: text, stamp: stamp, repeats: 1 })
        if (reports.count > maxEntries)
            reports.remove(maxEntries, reports.count - maxEntries)
    }

    title: qsTr("Messages")

    ListModel { id: reports }

    ListView {
        anchors.fill: parent
        clip: true
        model: reports
        ScrollBar.vertical: ScrollBar {}
        delegate: Label {
            required property int severity
            required property string message
            required property string stamp
            required property int repeats
            width: ListView.view.width
            wrapMode: Text.Wrap
            color: severity === ErrorQueue.Critical ? "firebrick" : pane.palette.text
            text: "%1  %2".arg(stamp).arg(message) + (repeats > 1 ? "  [%1\u00d7]".arg(repeats) : "")
        }
    }
}
