// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Feeds arbitrary text to formatIPConfiguration(const char*, unsigned int): the
// first four bytes are the option word, the rest is the text. The text must be
// read the way the C library's atoi() reads it, and the result must be one of
// the method lists the unsigned overload can give.

#include <TavixQtBase/stringhelpers.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < sizeof(unsigned int)) {
        return 0;
    }
    unsigned int options;
    std::memcpy(&options, data, sizeof options);
    // A NUL-terminated copy; an embedded NUL ends the text early, as it would for any caller.
    const QByteArray text(reinterpret_cast<const char*>(data + sizeof options), int(size - sizeof options));

    const QString result = formatIPConfiguration(text.constData(), options);

    if (text.constData()[0] == '\0') {
        check(result.isNull());
        return 0;
    }
    // glibc's atoi() is strtol() cut to int, which is what the library promises.
    const auto bits = static_cast<unsigned int>(std::atoi(text.constData()));
    check(result == formatIPConfiguration(bits, options));
    check(result.isNull() == formatIPConfiguration(bits, options).isNull());

    static const QStringList known = { QStringLiteral("Static IP"), QStringLiteral("DHCP"), QStringLiteral("Auto IP") };
    if (!result.isNull()) {
        const QStringList methods = result.split(QStringLiteral(", "));
        check(!methods.isEmpty() && methods.size() <= 3);
        check((options & 1u) == 0 || methods.size() == 1);
        for (const QString& method : methods) {
            check(known.contains(method));
        }
    }
    return 0;
}
