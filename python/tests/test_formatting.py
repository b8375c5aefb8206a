# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""The formatters of numbers, devices and network texts: one call of each binding."""

import pytest
from PyQt6.QtCore import QLocale

import tavixqtbase as t

F = t.FormatValueFlag
M = t.FormatMultiplier
ENGLISH = QLocale(QLocale.Language.English, QLocale.Country.UnitedStates)


def translated(locale):
    """Whether the translation for LOCALE loaded, and the texts then; none is left installed."""
    texts = (t.loadTavixQtBaseTranslation(locale), t.formatImageCount(1234, 5), t.formatIPConfiguration(7, 0))
    t.loadTavixQtBaseTranslation(ENGLISH)
    return texts


def device(**properties):
    info = t.Tavix.CDeviceInfo()
    for name, value in properties.items():
        info.SetPropertyValue(name, value)
    return info


@pytest.mark.parametrize(
    "call, expected",
    [
        (lambda: t.formatDoubleValue(1234.5, 3, F.FormatValueGroupDigits | F.FormatValueTrimZeros, ENGLISH), "1,234.5"),
        (lambda: t.formatIntegerValue(-1000, locale=ENGLISH), "-1000"),
        (lambda: t.formatUnsignedIntegerValue(2**64 - 1, F.FormatValueGroupDigits, ENGLISH),
         "18,446,744,073,709,551,615"),
        (lambda: t.formatDoubleValueAndUnits(1536.0, 1, M.MultiplierKilo, "B", F.FormatValueShowMultiplier, ENGLISH),
         "1.5 kB"),
        (lambda: t.formatIntegerValueAndUnits(7, 0, M.MultiplierNone, "s", locale=ENGLISH), "7 s"),
        (lambda: t.formatUnsignedIntegerValueAndUnits(2**64 - 1, 0, M.MultiplierExa, "B", locale=ENGLISH), "18 B"),
        (lambda: t.formatDoubleValueAndAutoUnits(1500000.0, 1, "Hz", locale=ENGLISH), "1.5 MHz"),
        (lambda: t.formatImageCount(1234, 1234567), "Images: 1,234; Errors: 1,234,567"),
        (lambda: t.ExtractSubString("a::b:::c", 2, "::"), (True, ":c")),
        (lambda: t.multiplierTable[M.MultiplierMicro.value][:4], (1e-6, 1.0, "\u00b5", "micro")),
        (lambda: t.formatIPConfiguration(0xFFFFFFFF, 0), "Static IP, DHCP, Auto IP"),
        (lambda: t.formatIPConfiguration(" \t+5xyz", 1), "Static IP"),
        (lambda: t.formatMACAddress("0123.45ab.cdef"), "01-23-45-ab-cd-ef"),
        (lambda: t.formatDeviceName(device(DeviceClass="VelnorGige", FriendlyName=b"Kamera \xc3\xa4"),
                                    t.FormatDeviceNameFlag.FormatDeviceNameQuoted), '"Kamera \u00c3\u00a4"'),
        (lambda: t.IsUtf8Device(device(DeviceClass="VelnorGigE")), True),
        (lambda: t.GetUtf8Property(device(FriendlyName="Kamera \u00e4"), "FriendlyName"), "Kamera \u00e4"),
        (lambda: translated(QLocale(QLocale.Language.German)),
         (True, "Bilder: 1,234; Fehler: 5", "Statische IP, DHCP, Auto-IP")),
    ],
)
def test_text_matches_the_cpp_result(qapp, call, expected):
    assert call() == expected
