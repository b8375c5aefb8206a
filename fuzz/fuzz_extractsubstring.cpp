// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Feeds arbitrary text to ExtractSubString() and compares the result with
// QString::split(), which cuts a text at the same non-overlapping separators.
// Byte 0 chooses the index, byte 1 the separator length (0 to 3 UTF-16 units),
// then come the separator and the text, two bytes per UTF-16 unit.

#include <TavixQtBase/stringhelpers.h>

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

QString utf16Units(const uint8_t* data, size_t units)
{
    QString text;
    for (size_t i = 0; i < units; ++i) {
        text += QChar(char16_t(data[2 * i] | (data[2 * i + 1] << 8)));
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) {
        return 0;
    }
    // 255 stands for the largest index; the others are small enough to hit real fields.
    const unsigned int index = data[0] == 255 ? 0xFFFFFFFFu : data[0];
    const size_t separatorUnits = data[1] % 4;
    if (size < 2 + 2 * separatorUnits) {
        return 0;
    }
    const QString separator = utf16Units(data + 2, separatorUnits);
    const size_t textBytes = size - 2 - 2 * separatorUnits;
    const QString text = utf16Units(data + 2 + 2 * separatorUnits, textBytes / 2);

    const QString stale = QStringLiteral("stale");
    QString result = stale;
    const bool found = ExtractSubString(result, text, index, separator);

    if (text.isEmpty() || separator.isEmpty()) {
        check(!found && result == stale);
        return 0;
    }
    const QStringList fields = text.split(separator);
    if (index < unsigned(fields.size())) {
        check(found && result == fields.at(int(index)) && !result.isNull());
    } else {
        check(!found && result.isNull());
    }
    return 0;
}
