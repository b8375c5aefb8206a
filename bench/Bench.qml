// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQml
import TavixQtBase

// The loops count with var, not let: Qt 6.4's qmlcachegen leaves a function
// with a block-scoped let as byte code. So the Format functions are compiled
// to C++, as an application's bindings are; the floor's stay byte code, since
// qmlcachegen compiles no call of toLocaleString().
QtObject {
    readonly property var locale: Qt.locale("en_US")

    function format(value: double, calls: int): string {
        var text = ""
        for (var i = 0; i < calls; ++i)
            text = Format.formatDoubleValue(value, 2, Format.FormatValueGroupDigits, locale)
        return text
    }

    function toLocaleString(value: double, calls: int): string {
        var text = ""
        for (var i = 0; i < calls; ++i)
            text = value.toLocaleString(locale, "f", 2)
        return text
    }

    function formatInDefaultLocale(value: double, calls: int): string {
        var text = ""
        for (var i = 0; i < calls; ++i)
            text = Format.formatDoubleValue(value, 2, Format.FormatValueGroupDigits)
        return text
    }

    function toLocaleStringInDefaultLocale(value: double, calls: int): string {
        var text = ""
        for (var i = 0; i < calls; ++i)
            text = Number(value).toLocaleString(Qt.locale(), "f", 2)
        return text
    }
}
