// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import TavixQtBase
import CameraMonitorQuick

// The cameras found, one row each; a double-click or Return streams from one.
ColumnLayout {
    id: table

    // One cell of the table, as wide as its column.
    component Cell: Label {
        required property int column
        width: table.columnWidths[column]
        padding: 3
        elide: Text.ElideRight
    }

    readonly property int prefixFlags: Monitor.binaryPrefixes ? Format.FormatValueBinaryMultiplier : 0
    readonly property var columnWidths: [170, 90, 100, 130, 110, 130, 100, 130]

    spacing: 0

    Row {
        Repeater {
            model: table.columnWidths.length
            Cell {
                required property int index
                column: index
                font.bold: true
                text: Monitor.cameras.headerData(index, Qt.Horizontal)
            }
        }
    }

    ListView {
        id: list

        Layout.fillWidth: true
        Layout.fillHeight: true
        clip: true
        model: Monitor.cameras
        currentIndex: Monitor.selectedRow
        ScrollBar.vertical: ScrollBar {}
        ToolTip.visible: hovered.hovered
        ToolTip.text: qsTr("Double-click a camera to monitor it.")
        HoverHandler { id: hovered }
        Keys.onReturnPressed: Monitor.openCamera(currentIndex)

        delegate: ItemDelegate {
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

            width: list.width
            padding: 0
            highlighted: ListView.isCurrentItem
            onClicked: list.currentIndex = index
            onDoubleClicked: Monitor.openCamera(index)

            contentItem: Row {
                Cell {
                    column: 0
                    text: row.name
                    // A discovery answer whose fields cannot be a camera's.
                    color: row.damaged ? "firebrick" : row.palette.text
                }
                Cell {
                    column: 1
                    horizontalAlignment: Text.AlignRight
                    text: row.hasRate ? Format.formatDoubleValueAndUnits(row.framesPerSecond, 2, Format.MultiplierNone, "fps")
                                      : ""
                }
                Cell {
                    column: 2
                    horizontalAlignment: Text.AlignRight
                    text: row.hasRate ? Format.formatDoubleValueAndAutoUnits(row.bytesPerSecond, 2, "B/s", table.prefixFlags)
                                      : ""
                }
                Cell { column: 3; text: row.model }
                Cell { column: 4; text: row.serialNumber }
                Cell { column: 5; text: Format.formatMACAddress(row.macAddress, ":") }
                Cell { column: 6; text: row.address }
                Cell { column: 7; text: row.ipConfigurationText() }
            }
        }
    }
}
