// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import TavixQtBase
import CameraMonitorQuick

// The reports of the error queue, newest first; a repeat of the newest counts up instead of adding a line.
GroupBox {
    id: pane

    title: qsTr("Messages")

    ListView {
        anchors.fill: parent
        clip: true
        model: Monitor.reports
        ScrollBar.vertical: ScrollBar {}
        delegate: Label {
            required property int severity
            required property string display
            width: ListView.view.width
            wrapMode: Text.Wrap
            color: severity === ErrorQueue.Critical ? "firebrick" : pane.palette.text
            text: display
        }
    }
}
