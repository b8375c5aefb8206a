// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtQuick.Controls
import TavixQtBase

// Support mail, the feedback page and the system information, through the module's SupportInfo.
Menu {
    id: menu

    // A text for the status bar, when an action cannot be done here.
    signal message(string text)
    signal systemInformationAsked()

    title: qsTr("&Help")

    Action {
        text: qsTr("&Contact support...")
        onTriggered: {
            if (!SupportInfo.contactSupport())
                menu.message(qsTr("No mail program is set up; see Help > System information for the text to send."))
        }
    }
    Action {
        text: qsTr("Send &feedback...")
        onTriggered: {
            if (!SupportInfo.openFeedbackUrl())
                menu.message(qsTr("No web browser is set up; the feedback page is %1").arg(SupportInfo.feedbackUrl(false)))
        }
    }
    MenuSeparator {}
    Action { text: qsTr("&System information..."); onTriggered: menu.systemInformationAsked() }
}
