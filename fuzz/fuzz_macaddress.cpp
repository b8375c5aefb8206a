// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Feeds arbitrary bytes to formatMACAddress(): the first byte chooses the
// separator (none, the default, or up to three bytes taken from the input),
// the rest is the address. Checks the result against the digits of the input.

#include <TavixQtBase/stringhelpers.h>

#include <QByteArray>
#include <QString>

#include <cctype>
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

QByteArray hexDigitsOf(const QByteArray& text)
{
    QByteArray digits;
    for (const char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            digits += c;
        }
    }
    return digits;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const int separatorChoice = data[0] % 5; // 0: null, 1..4: 0..3 bytes
    const size_t separatorLength = separatorChoice == 0 ? 0 : size_t(separatorChoice - 1);
    if (size < 1 + separatorLength) {
        return 0;
    }
    // Both texts end at the first NUL, as C strings do.
    const QByteArray separator(reinterpret_cast<const char*>(data + 1), int(separatorLength));
    const QByteArray address(
        reinterpret_cast<const char*>(data + 1 + separatorLength), int(size - 1 - separatorLength));
    const char* separatorText = separatorChoice == 0 ? nullptr : separator.constData();

    const QString text = formatMACAddress(address.constData(), separatorText);

    const QByteArray usedAddress(address.constData()); // up to the first NUL
    const QByteArray digits = hexDigitsOf(usedAddress);
    if (digits.size() != 12) {
        check(text.isNull());
        return 0;
    }
    const QString separatorString = separatorText ? QString::fromLatin1(separatorText) : QStringLiteral("-");
    QString expected;
    for (int pair = 0; pair < 6; ++pair) {
        if (pair > 0) {
            expected += separatorString;
        }
        expected += QString::fromLatin1(digits.mid(pair * 2, 2));
    }
    check(text == expected);
    return 0;
}
