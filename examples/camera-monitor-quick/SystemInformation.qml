// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import TavixQtBase

// The text of a support request, to read and copy.
Dialog {
    id: dialog

    anchors.centerIn: Overlay.overlay
    width: 560
    height: 420
    modal: true
    title: qsTr("System Information")
    standardButtons: Dialog.Close

    ColumnLayout {
        anchors.fill: parent
        ScrollView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            TextArea {
                id: supportText
                readOnly: true
                selectByMouse: true
                font.family: "monospace"
                text: dialog.visible ? SupportInfo.supportRequest(true) : ""
            }
        }
        Button {
            text: qsTr("&Copy")
            onClicked: {
                supportText.selectAll()
                supportText.copy()
            }
        }
    }
}
