// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtTest
import TavixQtBase
import TavixQtBaseTests

TestCase {
    name: "Format"

    // Every formatter in both shipped locales, by name and as a locale object: the
    // texts of the C++ functions.
    function test_sameAsCpp_data() {
        const calls = [
            ["formatDoubleValue", [1234567.891, 2, Format.FormatValueGroupDigits], "1,234,567.89", "1.234.567,89"],
            ["formatIntegerValue", [-1234567, Format.FormatValueGroupDigits], "-1,234,567", "-1.234.567"],
            ["formatIntegerValue", ["-9223372036854775808", 0], "-9223372036854775808", "-9223372036854775808"],
            ["formatUnsignedIntegerValue", ["18446744073709551615", Format.FormatValueGroupDigits],
             "18,446,744,073,709,551,615", "18.446.744.073.709.551.615"],
            ["formatDoubleValueAndUnits", [1500000, 1, Format.MultiplierMega, "Hz",
                                           Format.FormatValueShowMultiplier | Format.FormatValueMultiplierName],
             "1.5 megaHz", "1,5 megaHz"],
            ["formatIntegerValueAndUnits", [-1500, 1, Format.MultiplierKilo, "V", Format.FormatValueShowMultiplier],
             "-1.5 kV", "-1,5 kV"],
            ["formatUnsignedIntegerValueAndUnits", ["9223372036854775808", 0, Format.MultiplierExa, "B",
                                                    Format.FormatValueBinaryMultiplier | Format.FormatValueShowMultiplier],
             "8 EiB", "8 EiB"],
            ["formatDoubleValueAndAutoUnits", [0.00025, 1, "s", Format.FormatValueTrimZeros], "250.0 \u00b5s",
             "250,0 \u00b5s"],
        ]
        const rows = []
        for (const [fn, args, english, german] of calls) {
            for (const [locale, expected] of [["en_US", english], ["de_DE", german]])
                rows.push({ tag: locale + " " + fn + "(" + args + ")", fn, args, locale, expected })
        }
        return rows
    }

    function test_sameAsCpp(row) {
        compare(Format[row.fn](...row.args, row.locale), row.expected, "locale by name")
        compare(Format[row.fn](...row.args, Qt.locale(row.locale)), row.expected, "locale object")
    }

    // Optional arguments left out, empty or of another type: as C++ takes them (a
    // locale name as QLocale(name), no separator as "-"), or as when left out. Values
    // that QML cannot hand over as the C++ type give an empty text.
    function test_texts_data() {
        const number = [1234.5, 1, Format.FormatValueGroupDigits]
        const grouped = "1,234.5", mac = "012345AbcDEF", dashed = "01-23-45-Ab-cD-EF"
        return [
            { tag: "locale left out", text: Format.formatDoubleValue(...number), expected: grouped },
            { tag: "locale empty: the C locale", text: Format.formatDoubleValue(...number, ""), expected: "1234.5" },
            { tag: "locale a number", text: Format.formatDoubleValue(...number, 5), expected: grouped },
            { tag: "image count", text: Format.formatImageCount("1234", "5"), expected: "Images: 1,234; Errors: 5" },
            { tag: "IP configuration", text: Format.formatIPConfiguration(5, 0), expected: "Static IP, Auto IP" },
            { tag: "IP configuration without text", text: Format.formatIPConfiguration(3, 0), expected: "" },
            { tag: "separator left out", text: Format.formatMACAddress(mac), expected: dashed },
            { tag: "separator empty", text: Format.formatMACAddress(mac, ""), expected: mac },
            { tag: "separator a number", text: Format.formatMACAddress(mac, 5), expected: dashed },
            { tag: "separator given", text: Format.formatMACAddress("0123.45ab.cdef", ":"),
              expected: "01:23:45:ab:cd:ef" },
            { tag: "NaN as a double", text: Format.formatDoubleValue(NaN, 1), expected: "nan" },
            { tag: "numeric text as a double", text: Format.formatDoubleValue("2.5e3", 1), expected: "2500.0" },
            { tag: "other text as a double", text: Format.formatDoubleValue("abc", 1), expected: "" },
            { tag: "true as a double", text: Format.formatDoubleValue(true, 1), expected: "" },
            { tag: "true as an integer", text: Format.formatIntegerValue(true), expected: "" },
            { tag: "fraction as an integer", text: Format.formatIntegerValue(-2.9), expected: "-2" },
            { tag: "2^63 beyond a signed integer", text: Format.formatIntegerValue(9223372036854775808), expected: "" },
            { tag: "NaN as an integer", text: Format.formatIntegerValue(NaN), expected: "" },
            { tag: "negative as unsigned", text: Format.formatUnsignedIntegerValue(-1), expected: "" },
            { tag: "negative text as unsigned", text: Format.formatUnsignedIntegerValue("-1"), expected: "" },
            { tag: "error count undefined", text: Format.formatImageCount(5, undefined), expected: "" },
            { tag: "options undefined", text: Format.formatIPConfiguration(5, undefined), expected: "" },
            { tag: "IP text beyond 32 bits", text: Format.formatIPConfiguration("4294967296", 0), expected: "" },
            { tag: "MAC address not a text", text: Format.formatMACAddress(123456789012), expected: "" },
        ]
    }

    function test_texts(row) {
        compare(row.text, row.expected)
    }

    // The translated words follow the installed translator once the engine retranslates
    // (Cpp.setLanguage() has it retranslate).
    Text {
        id: translated
        text: Format.formatImageCount(1234, 5) + " / " + Format.formatIPConfiguration(5, 0)
    }

    function test_translation() {
        compare(translated.text, "Images: 1,234; Errors: 5 / Static IP, Auto IP")
        verify(Cpp.setLanguage("de_DE"))
        compare(translated.text, "Bilder: 1.234; Fehler: 5 / Statische IP, Auto-IP")
        verify(!Cpp.setLanguage("en_US"))
        compare(translated.text, "Images: 1,234; Errors: 5 / Static IP, Auto IP")
    }
}
