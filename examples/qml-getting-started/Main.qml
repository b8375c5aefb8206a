// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import TavixQtBase

Window {
    width: 400; height: 80; visible: true
    title: SupportInfo.osName
    WindowLayout { group: "mainWindow" }
    FrameRate { id: rate; updateInterval: 500 }
    Timer { interval: 40; repeat: true; running: true; onTriggered: rate.addSample(2000000) }
    Text {
        text: Format.formatDoubleValue(rate.framesPerSecond, 1) + " fps, "
              + Format.formatDoubleValueAndAutoUnits(rate.amountPerSecond, 1, "B/s")
    }
    Connections { target: ErrorQueue; function onDisplayError(severity, message) { console.log(message) } }
}
