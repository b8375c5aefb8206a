// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtQuick.Controls
import TavixQtBase

// The text of a support request, to read and copy.
Dialog {
    id: dialog

    anchors.centerIn: Overlay.overlay
    width: 560
    height: 420
    modal: true
    title: qsTr("System Information")

    ScrollView {
        anchors.fill: parent
        TextArea {
            id: supportText
            readOnly: true
            selectByMouse: true
            font.family: "monospace"
            text: dialog.visible ? SupportInfo.supportRequest(true) : ""
        }
    }

    footer: DialogButtonBox {
        standardButtons: DialogButtonBox.Close
        Button {
            text: qsTr("&Copy")
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
            onClicked: {
                supportText.selectAll()
                supportText.copy()
            }
        }
        onRejected: dialog.close()
    }
}
