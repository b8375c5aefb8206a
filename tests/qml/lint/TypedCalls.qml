// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import TavixQtBase

// Every formatter with its flags and multiplier given as enumerators: qmllint's
// compiler check resolves each parameter type of the .qmltypes, or reports the call.
Item {
    readonly property string flags: Format.formatDoubleValue(1.5, 1, Format.FormatValueTrimZeros, "en_US")
    readonly property string integer: Format.formatIntegerValue(-1, Format.FormatValueGroupDigits)
    readonly property string unsigned: Format.formatUnsignedIntegerValue(1, Format.FormatValueGroupDigits)
    readonly property string units: Format.formatDoubleValueAndUnits(1500, 1, Format.MultiplierKilo, "Hz",
                                                                     Format.FormatValueShowMultiplier)
    readonly property string integerUnits: Format.formatIntegerValueAndUnits(-1500, 1, Format.MultiplierKilo, "V")
    readonly property string unsignedUnits: Format.formatUnsignedIntegerValueAndUnits(1500, 1, Format.MultiplierKilo,
                                                                                      "B")
    readonly property string autoUnits: Format.formatDoubleValueAndAutoUnits(1536, 1, "B",
                                                                             Format.FormatValueBinaryMultiplier)
}
