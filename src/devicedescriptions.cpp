// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/stringhelpers.h>

#include <QCoreApplication>
#include <QLoggingCategory>

#include <GenICam/GCString.h>
#include <tavix/DeviceInfo.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

#ifndef QT_NO_DEBUG
Q_LOGGING_CATEGORY(lcTavixQtBase, "tavixqtbase")
#endif

const char* const nameProperties[] = { "FriendlyName", "ModelName", "FullName" };

struct IpConfigurationMethod
{
    unsigned int bit;
    const char* text;
};
// Display texts, translated at use in the library's translation context.
const IpConfigurationMethod ipConfigurationMethods[] = { { 0x01, QT_TRANSLATE_NOOP("TavixQtBase", "Static IP") },
    { 0x02, QT_TRANSLATE_NOOP("TavixQtBase", "DHCP") }, { 0x04, QT_TRANSLATE_NOOP("TavixQtBase", "Auto IP") } };
constexpr unsigned int autoIpBit = 0x04;
constexpr unsigned int singleMethodOption = 0x01;

constexpr int macAddressDigits = 12;

bool isHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// The first name property that the device has; "???" when it has none.
GenICam::gcstring readDisplayName(const Tavix::CDeviceInfo& deviceInfo)
{
    GenICam::gcstring value;
    for (const char* property : nameProperties) {
        const GenICam::gcstring name(property);
        if (deviceInfo.PropertyExists(name)) {
            // The read's result is not checked: the name is whatever the read left in the value.
            deviceInfo.ReadPropertyValue(name, value);
            return value;
        }
    }
#ifndef QT_NO_DEBUG
    qCWarning(lcTavixQtBase, "Missing information in DeviceInfo");
#endif
    value = "???";
    return value;
}

} // namespace

QString formatDeviceName(const Tavix::CDeviceInfo* deviceInfo, FormatDeviceNameFlags flags)
{
    if (!deviceInfo) {
        return QString();
    }
    const GenICam::gcstring value = readDisplayName(*deviceInfo);
    QString text = IsUtf8Device(deviceInfo) ? QString::fromUtf8(value.c_str()) : QString::fromLatin1(value.c_str());
    if (flags.testFlag(FormatDeviceNameQuoted)) {
        text.insert(0, QLatin1Char('"'));
        text.append(QLatin1Char('"'));
    }
    return text;
}

QString formatIPConfiguration(unsigned int ipConfiguration, unsigned int options)
{
    QString text;
    for (const IpConfigurationMethod& method : ipConfigurationMethods) {
        if (!(ipConfiguration & method.bit)) {
            continue;
        }
        if (!text.isEmpty()) {
            text.append(QLatin1String(", "));
        }
        text.append(QCoreApplication::translate("TavixQtBase", method.text));
        if (options & singleMethodOption) {
            return text;
        }
    }
    // GigE devices always support Auto IP; a word without it is no valid configuration, and none is named.
    if (!(ipConfiguration & autoIpBit)) {
        return QString();
    }
    return text;
}

QString formatIPConfiguration(const char* ipConfiguration, unsigned int options)
{
    if (!ipConfiguration || !*ipConfiguration) {
        return QString();
    }
    // atoi() without its undefined behaviour for out-of-range text: strtoll() saturates
    // at 64 bits wherever it runs (strtol() at 32 where long has 32), and the conversion
    // to unsigned keeps the low 32 bits, as glibc's atoi() does where long has 64.
    const long long bits = std::strtoll(ipConfiguration, nullptr, 10);
    return formatIPConfiguration(static_cast<unsigned int>(bits), options);
}

QString formatMACAddress(const char* address, const char* separator)
{
    if (!address || !*address) {
        return QString();
    }
    int digitCount = 0;
    for (const char* c = address; *c; ++c) {
        digitCount += isHexDigit(*c) ? 1 : 0;
    }
    if (digitCount != macAddressDigits) {
        return QString();
    }

    // Filled in place: one allocation for the whole text.
    const char* const separatorText = separator ? separator : "-";
    const auto separatorLength = qsizetype(std::strlen(separatorText));
    QString text(macAddressDigits + (macAddressDigits / 2 - 1) * separatorLength, Qt::Uninitialized);
    QChar* out = text.data();
    int copied = 0;
    for (const char* c = address; copied < macAddressDigits; ++c) {
        if (!isHexDigit(*c)) {
            continue;
        }
        *out++ = QLatin1Char(*c);
        ++copied;
        if (copied % 2 == 0 && copied < macAddressDigits) {
            out = std::transform(
                separatorText, separatorText + separatorLength, out, [](char c) { return QChar(QLatin1Char(c)); });
        }
    }
    return text;
}

bool IsUtf8Device(const Tavix::CDeviceInfo* deviceInfo)
{
    return deviceInfo && deviceInfo->GetDeviceClass() == "VelnorGigE";
}

QString GetUtf8Property(const Tavix::CDeviceInfo* deviceInfo, const char* propertyName)
{
    if (!deviceInfo || !propertyName) {
        return QString();
    }
    GenICam::gcstring value;
    if (!deviceInfo->ReadPropertyValue(GenICam::gcstring(propertyName), value)) {
        return QString();
    }
    return QString::fromUtf8(value.c_str());
}
