// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import TavixQtBase
import CameraMonitorQuick

// The selected camera's settings: a field to enter each, and what the camera reports beside it.
GroupBox {
    id: pane

    readonly property var settings: Monitor.settings
    readonly property int settingFlags: Format.FormatValueShowMultiplier | Format.FormatValueTrimZeros
                                        | Format.FormatValueOmitZeroFraction
    readonly property var pixels: (value) => Format.formatIntegerValueAndUnits(Math.round(value), 0,
                                                                                Format.MultiplierNone, "px", settingFlags)
    readonly property var factor: (value) => Format.formatIntegerValue(Math.round(value))

    // A number the camera takes: what it reports, formatted, and a field that asks for another.
    component NumberSetting: RowLayout {
        id: setting

        required property string name
        required property string caption
        // Writes what the camera reports with its unit.
        required property var format

        readonly property var reported: pane.settings[name] ?? { available: false, value: 0 }

        Label { text: setting.caption; Layout.preferredWidth: 130; elide: Text.ElideRight }
        TextField {
            Layout.preferredWidth: 70
            enabled: setting.reported.available
            text: setting.reported.available ? Number(setting.reported.value.toFixed(2)).toString() : ""
            validator: DoubleValidator { bottom: setting.reported.minimum ?? 0; top: setting.reported.maximum ?? 0 }
            ToolTip.visible: !enabled && hovered
            ToolTip.text: qsTr("The camera has no such setting.")
            onEditingFinished: {
                if (Number(text) !== setting.reported.value)
                    Monitor.changeSetting(setting.name, Number(text))
            }
        }
        Label {
            objectName: "shown-" + setting.name
            Layout.fillWidth: true
            text: setting.reported.available ? setting.format(setting.reported.value) : ""
        }
    }

    // An on/off setting of the camera or of the shown image.
    component SwitchSetting: CheckBox {
        required property string name
        readonly property var reported: pane.settings[name] ?? { available: false, value: false }

        objectName: "shown-" + name
        enabled: reported.available
        checked: reported.value
        onClicked: Monitor.changeSetting(name, checked)
    }

    title: qsTr("Camera settings")

    ScrollView {
        anchors.fill: parent
        contentWidth: fields.implicitWidth
        // Shown whenever rows lie below the pane, not only while hovered, so that they are not missed.
        ScrollBar.vertical.policy: contentHeight > availableHeight ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded

        ColumnLayout {
            id: fields

            NumberSetting {
                name: "frame-rate"
                caption: qsTr("Frame rate:")
                format: (value) => Format.formatDoubleValueAndUnits(value, 2, Format.MultiplierNone, "fps", pane.settingFlags)
            }
            NumberSetting {
                name: "exposure-time"
                caption: qsTr("Exposure time (\u00b5s):")
                format: (value) => Format.formatDoubleValueAndAutoUnits(value / 1e6, 3, "s", pane.settingFlags)
            }
            SwitchSetting { name: "auto-exposure"; text: qsTr("Automatic exposure") }
            NumberSetting {
                name: "gain"
                caption: qsTr("Gain (dB):")
                format: (value) => Format.formatDoubleValueAndUnits(value, 2, Format.MultiplierNone, "dB", pane.settingFlags)
            }
            SwitchSetting { name: "auto-gain"; text: qsTr("Automatic gain") }
            RowLayout {
                Label { text: qsTr("Pixel format:"); Layout.preferredWidth: 130 }
                ComboBox {
                    objectName: "shown-pixel-format"
                    Layout.fillWidth: true
                    enabled: pane.settings["pixel-format"]?.available ?? false
                    model: pane.settings["pixel-format"]?.options ?? []
                    currentIndex: model.indexOf(pane.settings["pixel-format"]?.value ?? "")
                    onActivated: (index) => Monitor.changeSetting("pixel-format", textAt(index))
                }
            }
            NumberSetting { name: "offset-x"; caption: qsTr("Offset X:"); format: pane.pixels }
            NumberSetting { name: "offset-y"; caption: qsTr("Offset Y:"); format: pane.pixels }
            NumberSetting { name: "width"; caption: qsTr("Width:"); format: pane.pixels }
            NumberSetting { name: "height"; caption: qsTr("Height:"); format: pane.pixels }
            NumberSetting { name: "binning-horizontal"; caption: qsTr("Binning horizontally:"); format: pane.factor }
            NumberSetting { name: "binning-vertical"; caption: qsTr("Binning vertically:"); format: pane.factor }
            RowLayout {
                Label { text: qsTr("Rotation:"); Layout.preferredWidth: 130 }
                ComboBox {
                    Layout.fillWidth: true
                    enabled: pane.settings.rotation?.available ?? false
                    model: [0, 90, 180, 270]
                    displayText: qsTr("%1\u00b0").arg(currentValue)
                    currentIndex: model.indexOf(pane.settings.rotation?.value ?? 0)
                    onActivated: (index) => Monitor.changeSetting("rotation", valueAt(index))
                }
            }
            SwitchSetting { name: "flip-horizontal"; text: qsTr("Flip horizontally") }
            SwitchSetting { name: "flip-vertical"; text: qsTr("Flip vertically") }
        }
    }
}
