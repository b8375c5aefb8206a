// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import TavixQtBase
import CameraMonitorQuick

ApplicationWindow {
    id: window

    width: 960
    height: 640
    visible: true
    title: qsTr("Camera Monitor")

    onClosing: Monitor.stop()

    WindowLayout { group: "MainWindow" }

    Connections {
        target: ErrorQueue
        function onDisplayError(severity: int, message: string) {
            status.show(message)
        }
    }

    menuBar: MenuBar {
        Menu {
            title: qsTr("&File")
            Action { text: qsTr("&Reconnect"); shortcut: "Ctrl+R"; onTriggered: Monitor.reconnect() }
            MenuSeparator {}
            Action { text: qsTr("&Quit"); shortcut: "Ctrl+Q"; onTriggered: window.close() }
        }
        Menu {
            title: qsTr("&View")
            Action {
                text: qsTr("&Binary prefixes (KiB, MiB)")
                checkable: true
                checked: Monitor.binaryPrefixes
                onToggled: Monitor.binaryPrefixes = checked
            }
        }
        HelpMenu {
            onMessage: (text) => status.show(text)
            onSystemInformationAsked: systemInformation.open()
        }
    }

    SystemInformation { id: systemInformation }

    SplitView {
        anchors.fill: parent
        orientation: Qt.Vertical

        CameraTable { SplitView.preferredHeight: 130 }

        SplitView {
            ColumnLayout {
                SplitView.preferredWidth: 330
                FiguresPane { Layout.fillWidth: true }
                MessagesPane { Layout.fillWidth: true; Layout.fillHeight: true }
            }
            SettingsPane { SplitView.preferredWidth: 300 }
            SplitView {
                SplitView.fillWidth: true
                orientation: Qt.Vertical
                Item {
                    SplitView.fillHeight: true
                    CameraImage { anchors.fill: parent; monitor: Monitor }
                    Label {
                        anchors.centerIn: parent
                        text: Monitor.imageMessage
                    }
                }
                RateChart { SplitView.preferredHeight: 160; monitor: Monitor }
            }
        }
    }

    footer: Label {
        id: status

        function show(message: string) {
            text = message
            statusTimer.restart()
        }

        padding: 4
        elide: Text.ElideRight
        Timer { id: statusTimer; interval: 10000; onTriggered: status.text = "" }
    }
}
