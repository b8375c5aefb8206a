// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import TavixQtBase
import CameraMonitorQuick

// The cameras found, one row each; a double-click or Return streams from one.
ListView {
    id: table

    readonly property int prefixFlags: Monitor.binaryPrefixes ? Format.FormatValueBinaryMultiplier : 0
    readonly property var columnWidths: [170, 90, 100, 130, 110, 130, 100, 130]

    clip: true
    model: Monitor.cameras
    currentIndex: Monitor.selectedRow
    headerPositioning: ListView.OverlayHeader
    ScrollBar.vertical: ScrollBar {}
    ToolTip.visible: hovered.hovered
    ToolTip.text: qsTr("Double-click a camera to monitor it.")
    HoverHandler { id: hovered }
    Keys.onReturnPressed: Monitor.openCamera(currentIndex)

    header: Row {
        z: 2
        Repeater {
            model: [qsTr("Name"), qsTr("Frame rate"), qsTr("Data rate"), qsTr("Model"), qsTr("Serial number"),
                qsTr("MAC address"), qsTr("IP address"), qsTr("IP configuration")]
            delegate: Label {
                required property string modelData
                required property int index
                width: table.columnWidths[index]
                padding: 3
                font.bold: true
                text: modelData
                elide: Text.ElideRight
                background: Rectangle { color: table.palette.button }
            }
        }
    }

    delegate: Rectangle {
        id: row

        required property int index
        required property string name
        required property bool damaged
        required property string model
        required property string serialNumber
        required property string macAddress
        required property string address
        required property bool gigE
        required property int ipConfiguration
        required property int ipConfigurationBits
        required property bool hasRate
        required property double framesPerSecond
        required property double bytesPerSecond

        function ipConfigurationText(): string {
            if (!gigE)
                return ""
            if (ipConfigurationBits < 0)
                return qsTr("(read when connected)")
            return Format.formatIPConfiguration(ipConfiguration, 0)
                || qsTr("not reported (bits 0x%1)").arg(ipConfigurationBits.toString(16))
        }

        width: table.width
        height: cells.implicitHeight
        color: ListView.isCurrentItem ? table.palette.highlight : "transparent"

        Row {
            id: cells
            Repeater {
                model: [(row.damaged ? "\u26a0 " : "") + row.name,
                    row.hasRate ? Format.formatDoubleValueAndUnits(row.framesPerSecond, 2, Format.MultiplierNone, "fps") : "",
                    row.hasRate ? Format.formatDoubleValueAndAutoUnits(row.bytesPerSecond, 2, "B/s", table.prefixFlags) : "",
                    row.model, row.serialNumber, Format.formatMACAddress(row.macAddress, ":"), row.address,
                    row.ipConfigurationText()]
                delegate: Label {
                    required property string modelData
                    required property int index
                    width: table.columnWidths[index]
                    padding: 3
                    text: modelData
                    elide: Text.ElideRight
                    color: row.ListView.isCurrentItem ? table.palette.highlightedText : table.palette.text
                    horizontalAlignment: index === 1 || index === 2 ? Text.AlignRight : Text.AlignLeft
                }
            }
        }
        TapHandler {
            onTapped: table.currentIndex = row.index
            onDoubleTapped: Monitor.openCamera(row.index)
        }
    }
}
