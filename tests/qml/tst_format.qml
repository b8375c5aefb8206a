// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtTest
import TavixQtBase
import TavixQtBaseTests

TestCase {
    name: "Format"

    // Every formatter in both shipped locales: the QML text is the C++ text.
    function test_sameAsCpp_data() {
        const rows = []
        const calls = [
            ["formatDoubleValue", [1234567.891, 2, Format.FormatValueGroupDigits]],
            ["formatDoubleValue", [3.0, 3, Format.FormatValueOmitZeroFraction | Format.FormatValueTrimZeros]],
            ["formatDoubleValue", [1.5e20, 3, Format.FormatValueGeneral]],
            ["formatIntegerValue", [-1234567, Format.FormatValueGroupDigits]],
            ["formatIntegerValue", ["-9223372036854775808", 0]],
            ["formatUnsignedIntegerValue", ["18446744073709551615", Format.FormatValueGroupDigits]],
            ["formatDoubleValueAndUnits", [1500000, 1, Format.MultiplierMega, "Hz",
                                           Format.FormatValueShowMultiplier | Format.FormatValueMultiplierName]],
            ["formatIntegerValueAndUnits", [-1500, 1, Format.MultiplierKilo, "V", Format.FormatValueShowMultiplier]],
            ["formatUnsignedIntegerValueAndUnits", ["9223372036854775808", 0, Format.MultiplierExa, "B",
                                                    Format.FormatValueBinaryMultiplier | Format.FormatValueShowMultiplier]],
            ["formatDoubleValueAndAutoUnits", [0.00025, 1, "s", Format.FormatValueTrimZeros]],
        ]
        for (const locale of ["en_US", "de_DE"]) {
            for (const [fn, args] of calls) {
                rows.push({ tag: locale + " " + fn + "(" + args + ")", fn: fn, args: args, locale: locale })
            }
        }
        return rows
    }

    function test_sameAsCpp(row) {
        const expected = Cpp.format(row.fn, row.args.concat([row.locale]))
        compare(Format[row.fn](...row.args, row.locale), expected, "locale by name")
        compare(Format[row.fn](...row.args, Qt.locale(row.locale)), expected, "locale object")
    }

    // Optional arguments left out, empty or of another type: as C++ takes them
    // (a locale name as QLocale(name), no separator as "-"), or as when left out.
    function test_optionalArguments_data() {
        const number = [1234.5, 1, Format.FormatValueGroupDigits]
        return [
            { tag: "locale left out", fn: "formatDoubleValue", args: number },
            { tag: "locale empty", fn: "formatDoubleValue", args: [...number, ""] },
            { tag: "locale a number", fn: "formatDoubleValue", args: [...number, 5], like: number },
            { tag: "formatImageCount", fn: "formatImageCount", args: ["1234", "5"] },
            { tag: "formatIPConfiguration", fn: "formatIPConfiguration", args: [5, 0] },
            { tag: "formatIPConfiguration without text", fn: "formatIPConfiguration", args: [3, 0] },
            { tag: "separator left out", fn: "formatMACAddress", args: ["012345AbcDEF"] },
            { tag: "separator empty", fn: "formatMACAddress", args: ["012345AbcDEF", ""] },
            { tag: "separator a number", fn: "formatMACAddress", args: ["012345AbcDEF", 5], like: ["012345AbcDEF"] },
            { tag: "separator given", fn: "formatMACAddress", args: ["0123.45ab.cdef", ":"] },
        ]
    }

    function test_optionalArguments(row) {
        compare(Format[row.fn](...row.args), row.like ? Format[row.fn](...row.like) : Cpp.format(row.fn, row.args))
    }

    // Values that QML cannot hand over as the C++ type give the documented texts.
    function test_badInputs_data() {
        const none = Format.FormatValueShowMultiplier
        return [
            { tag: "NaN as a double", text: Format.formatDoubleValue(NaN, 1), expected: "nan" },
            { tag: "infinity as a double", text: Format.formatDoubleValue(-Infinity, 1), expected: "-inf" },
            { tag: "numeric text as a double", text: Format.formatDoubleValue("2.5e3", 1), expected: "2500.0" },
            { tag: "other text as a double", text: Format.formatDoubleValue("abc", 1), expected: "" },
            { tag: "undefined as a double", text: Format.formatDoubleValue(undefined, 1), expected: "" },
            { tag: "true as a double", text: Format.formatDoubleValue(true, 1), expected: "" },
            { tag: "true as an integer", text: Format.formatIntegerValue(true), expected: "" },
            { tag: "fraction as an integer", text: Format.formatIntegerValue(-2.9), expected: "-2" },
            { tag: "2^53 + 1 is the double 2^53", text: Format.formatIntegerValue(9007199254740993),
              expected: "9007199254740992" },
            { tag: "2^63 beyond a signed integer", text: Format.formatIntegerValue(9223372036854775808), expected: "" },
            { tag: "NaN as an integer", text: Format.formatIntegerValue(NaN), expected: "" },
            { tag: "infinity as an integer", text: Format.formatUnsignedIntegerValue(Infinity), expected: "" },
            { tag: "negative as unsigned", text: Format.formatUnsignedIntegerValue(-1), expected: "" },
            { tag: "negative text as unsigned", text: Format.formatUnsignedIntegerValue("-1"), expected: "" },
            { tag: "text beyond 64 bits", text: Format.formatUnsignedIntegerValue("18446744073709551616"), expected: "" },
            { tag: "undefined as unsigned", text: Format.formatUnsignedIntegerValueAndUnits(undefined, 0, 0, "B", none),
              expected: "" },
            { tag: "negative image count", text: Format.formatImageCount(-1, 0), expected: "" },
            { tag: "error count undefined", text: Format.formatImageCount(5, undefined), expected: "" },
            { tag: "options undefined", text: Format.formatIPConfiguration(5, undefined), expected: "" },
            { tag: "IP bits beyond 32", text: Format.formatIPConfiguration(4294967296, 0), expected: "" },
            { tag: "MAC address not a text", text: Format.formatMACAddress(123456789012), expected: "" },
            { tag: "unknown locale name is C", text: Format.formatDoubleValue(1.5, 1, 0, "xx"), expected: "1.5" },
            { tag: "precision beyond a double's digits",
              text: Format.formatDoubleValue(0.1, 2147483647, Format.FormatValueTrimZeros),
              expected: "0.1000000000000000055511151231257827021181583404541015625" },
        ]
    }

    function test_badInputs(row) {
        compare(row.text, row.expected)
    }

    // The translated words follow the installed translator once the engine retranslates.
    Text {
        id: translated
        text: Format.formatImageCount(1234, 5) + " / " + Format.formatIPConfiguration(5, 0)
    }

    function test_translation() {
        compare(translated.text, "Images: 1,234; Errors: 5 / Static IP, Auto IP")
        verify(Cpp.setLanguage("de_DE"))
        Cpp.retranslate()
        compare(translated.text, "Bilder: 1.234; Fehler: 5 / Statische IP, Auto-IP")
        verify(!Cpp.setLanguage("en_US"))
        Cpp.retranslate()
        compare(translated.text, "Images: 1,234; Errors: 5 / Static IP, Auto IP")
    }
}
