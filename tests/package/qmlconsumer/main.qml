// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQml
import TavixQtBase

QtObject {
    property string text: Format.formatDoubleValueAndAutoUnits(1500000, 1, "Hz", 0, "en_US")
}
