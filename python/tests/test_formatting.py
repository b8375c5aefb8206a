# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""The formatters of numbers, devices and network texts."""

import pytest
from PyQt6.QtCore import QLocale

import tavixqtbase as t

F = t.FormatValueFlag
ENGLISH = QLocale(QLocale.Language.English, QLocale.Country.UnitedStates)
GERMAN = QLocale(QLocale.Language.German, QLocale.Country.Germany)


def device(**properties):
    info = t.Tavix.CDeviceInfo()
    for name, value in properties.items():
        info.SetPropertyValue(name, value)
    return info


@pytest.mark.parametrize(
    "call, expected",
    [
        (lambda: t.formatDoubleValue(1234.5, 1, F.FormatValueGroupDigits, ENGLISH), "1,234.5"),
        (lambda: t.formatDoubleValue(1234.5, 1, F.FormatValueGroupDigits, GERMAN), "1.234,5"),
        (lambda: t.formatDoubleValue(-1234.5, 1, F(0), ENGLISH), "-1234.5"),
        (lambda: t.formatDoubleValue(2.0004, 3, F.FormatValueOmitZeroFraction, ENGLISH), "2.000"),
        (lambda: t.formatDoubleValue(12.25, 4, F.FormatValueTrimZeros, ENGLISH), "12.25"),
        (lambda: t.formatIntegerValue(-1000, locale=ENGLISH), "-1000"),
        (lambda: t.formatUnsignedIntegerValue(2**64 - 1, F.FormatValueGroupDigits, ENGLISH),
         "18,446,744,073,709,551,615"),
        (lambda: t.formatDoubleValueAndUnits(1500000.0, 1, t.FormatMultiplier.MultiplierMega, "Hz",
                                             F.FormatValueShowMultiplier | F.FormatValueMultiplierName, ENGLISH),
         "1.5 megaHz"),
        (lambda: t.formatDoubleValueAndUnits(1536.0, 1, t.FormatMultiplier.MultiplierKilo, "B",
                                             F.FormatValueBinaryMultiplier | F.FormatValueShowMultiplier
                                             | F.FormatValueMultiplierName, ENGLISH), "1.5 kibiB"),
        (lambda: t.formatDoubleValueAndUnits(2500.0, 3, t.FormatMultiplier.MultiplierKilo, "Hz",
                                             F.FormatValueShowMultiplier | F.FormatValueTrimZeros, GERMAN), "2,5 kHz"),
        (lambda: t.formatIntegerValueAndUnits(7, 0, t.FormatMultiplier.MultiplierNone, "s", locale=ENGLISH), "7 s"),
        (lambda: t.formatUnsignedIntegerValueAndUnits(1500, 1, t.FormatMultiplier.MultiplierKilo, "",
                                                      F.FormatValueShowMultiplier, ENGLISH), "1.5 k"),
        (lambda: t.formatImageCount(1234, 1234567), "Images: 1,234; Errors: 1,234,567"),
        (lambda: t.ExtractSubString("a::b:::c", 2, "::"), (True, ":c")),
        (lambda: t.ExtractSubString("a;b", 3, ";")[0], False),
        (lambda: t.multiplierTable[t.FormatMultiplier.MultiplierMicro.value][:4], (1e-6, 1.0, "\u00b5", "micro")),
        (lambda: t.formatIPConfiguration(6, 1), "DHCP"),
        (lambda: t.formatIPConfiguration(~0 & 0xFFFFFFFF, ~1 & 0xFFFFFFFF), "Static IP, DHCP, Auto IP"),
        (lambda: t.formatIPConfiguration(" \t+5xyz", 1), "Static IP"),
        (lambda: t.formatIPConfiguration("0x7", 0), ""),
        (lambda: t.formatMACAddress("01-23-45-67-89-AB", ""), "0123456789AB"),
        (lambda: t.formatMACAddress("0123456789A"), ""),
        (lambda: t.formatDeviceName(device(FullName="Full", ModelName="M", FriendlyName="F")), "F"),
        (lambda: t.formatDeviceName(device(SerialNumber="123"), t.FormatDeviceNameFlag.FormatDeviceNameQuoted),
         '"???"'),
        (lambda: t.formatDeviceName(device(DeviceClass="VelnorGigE", FriendlyName="Kamera \u00e4")), "Kamera \u00e4"),
        (lambda: t.formatDeviceName(device(DeviceClass="VelnorGige", FriendlyName=b"Kamera \xc3\xa4")),
         "Kamera \u00c3\u00a4"),
        (lambda: t.IsUtf8Device(device(DeviceClass="VelnorGigE")), True),
        (lambda: t.GetUtf8Property(device(FriendlyName="Kamera \u00e4"), "FriendlyName"), "Kamera \u00e4"),
    ],
)
def test_text_matches_the_cpp_result(call, expected):
    assert call() == expected


@pytest.mark.parametrize(
    "locale, loaded, image_count, ip_configuration",
    [
        (GERMAN, True, "Bilder: 1.234; Fehler: 5", "Statische IP, DHCP, Auto-IP"),
        (ENGLISH, False, "Images: 1,234; Errors: 5", "Static IP, DHCP, Auto IP"),
    ],
)
def test_translation_reaches_the_texts(qapp, locale, loaded, image_count, ip_configuration):
    QLocale.setDefault(locale)
    try:
        assert t.loadTavixQtBaseTranslation(locale) == loaded
        assert (t.formatImageCount(1234, 5), t.formatIPConfiguration(7, 0)) == (image_count, ip_configuration)
    finally:
        t.loadTavixQtBaseTranslation(ENGLISH)
        QLocale.setDefault(ENGLISH)
