// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import TavixQtBase
import CameraMonitorQuick

// The selected camera's live figures, written with the module's formatters.
GroupBox {
    id: pane

    component Figure: Label {
        // For the scripted run's texts: the caption shown beside this figure.
        required property string caption
        objectName: "figure"
        Layout.fillWidth: true
        elide: Text.ElideRight
    }

    readonly property var figures: Monitor.figures
    readonly property int prefixFlags: Monitor.binaryPrefixes ? Format.FormatValueBinaryMultiplier : 0

    title: qsTr("Live figures")

    GridLayout {
        anchors.fill: parent
        columns: 2

        Label { text: qsTr("Camera:") }
        Figure { caption: qsTr("Camera:"); text: Monitor.camera }
        Label { text: qsTr("State:") }
        Figure { caption: qsTr("State:"); text: Monitor.state }
        Label { text: qsTr("Frame rate:") }
        Figure {
            caption: qsTr("Frame rate:")
            font.bold: true
            text: pane.figures.hasRate
                  ? Format.formatDoubleValueAndUnits(pane.figures.framesPerSecond, 2, Format.MultiplierNone, "fps") : "-"
        }
        Label { text: qsTr("Data rate:") }
        Figure {
            caption: qsTr("Data rate:")
            font.bold: true
            text: pane.figures.hasRate
                  ? Format.formatDoubleValueAndAutoUnits(pane.figures.bytesPerSecond, 2, "B/s", pane.prefixFlags) : "-"
        }
        Label { text: qsTr("Frame size:") }
        Figure {
            caption: qsTr("Frame size:")
            text: pane.figures.images > 0
                  ? qsTr("%1 \u00d7 %2 pixels, %3 per frame").arg(pane.figures.width).arg(pane.figures.height)
                        .arg(Format.formatDoubleValueAndAutoUnits(pane.figures.frameBytes, 2, "B", pane.prefixFlags))
                  : "-"
        }
        Label { text: qsTr("Counts:") }
        Figure { caption: qsTr("Counts:"); text: Format.formatImageCount(pane.figures.images, pane.figures.errors) }
    }
}
