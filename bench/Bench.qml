// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQml
import TavixQtBase

QtObject {
    readonly property var locale: Qt.locale("en_US")

    function format(value: double, calls: int): string {
        let text = ""
        for (let i = 0; i < calls; ++i)
            text = Format.formatDoubleValue(value, 2, Format.FormatValueGroupDigits, locale)
        return text
    }

    function toLocaleString(value: double, calls: int): string {
        let text = ""
        for (let i = 0; i < calls; ++i)
            text = value.toLocaleString(locale, "f", 2)
        return text
    }
}
