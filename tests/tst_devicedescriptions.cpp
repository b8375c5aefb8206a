// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/stringhelpers.h>

#include <QtTest>

#include "comparetext.h"

#include <GenICam/GCString.h>
#include <tavix/DeviceInfo.h>

#include <memory>

namespace {

// A device whose reads fail although its properties exist; it writes "Cam" into
// the value first, as a read that breaks off half-way might.
class FailingDeviceInfo : public Tavix::CDeviceInfo
{
public:
    bool ReadPropertyValue(const Tavix::gcstring&, Tavix::gcstring& value) const override
    {
        value = "Cam";
        return false;
    }
};

// A device with each "Name=value" of @p properties, one whose reads fail if @p failingReads.
std::unique_ptr<Tavix::CDeviceInfo> device(const QByteArrayList& properties, bool failingReads = false)
{
    std::unique_ptr<Tavix::CDeviceInfo> info(failingReads ? new FailingDeviceInfo : new Tavix::CDeviceInfo);
    for (const QByteArray& property : properties) {
        const int equals = property.indexOf('=');
        info->SetPropertyValue(property.left(equals).constData(), property.mid(equals + 1).constData());
    }
    return info;
}

// A call of formatDeviceName() for a device with @p properties.
TextCall deviceName(const QByteArrayList& properties, FormatDeviceNameFlags flags = {}, bool failingReads = false)
{
    return [=] { return formatDeviceName(device(properties, failingReads).get(), flags); };
}

const QByteArray utf8FriendlyName = QByteArrayLiteral("FriendlyName=Kamera \xc3\xa4"); // "Kamera ä" in UTF-8
const QString empty = QStringLiteral("");

} // namespace

class DeviceDescriptionsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data();
    void texts() { compareTextRow(); }
};

void DeviceDescriptionsTest::texts_data()
{
    addTextColumns();
    const auto quoted = FormatDeviceNameQuoted;
    textRow("friendly name first", deviceName({ "FullName=Full", "ModelName=M", "FriendlyName=F" })) << "F";
    textRow("model before full name", deviceName({ "FullName=Full", "ModelName=Model" })) << "Model";
    textRow("full name last", deviceName({ "FullName=Full", "SerialNumber=123" })) << "Full";
    textRow("empty friendly name chosen", deviceName({ "FriendlyName=", "ModelName=M" })) << empty;
    // Only debug builds report a device without a name property.
    textRow("no name, quoted", [=] {
#ifndef QT_NO_DEBUG
        QTest::ignoreMessage(QtWarningMsg, "Missing information in DeviceInfo");
#endif
        return deviceName({ "SerialNumber=123" }, quoted)();
    }) << "\"???\"";
    textRow("UTF-8 class", deviceName({ "DeviceClass=VelnorGigE", utf8FriendlyName }))
        << QStringLiteral("Kamera \u00e4");
    textRow("class differing in letter case is Latin-1", deviceName({ "DeviceClass=VelnorGige", utf8FriendlyName }))
        << QStringLiteral("Kamera \u00c3\u00a4");
    // After the property was found, the name is whatever its read left behind.
    textRow("failed read", deviceName({ "FriendlyName=Friendly" }, quoted, true)) << "\"Cam\"";

    const auto property = [](const char* name, bool failingReads = false) {
        return [=] {
            const auto info = device({ "DeviceClass=VelnorUsb", utf8FriendlyName, "SerialNumber=" }, failingReads);
            return GetUtf8Property(info.get(), name);
        };
    };
    textRow("UTF-8 property whatever the class", property("FriendlyName")) << QStringLiteral("Kamera \u00e4");
    textRow("empty property is empty", property("SerialNumber")) << empty;
    textRow("failed property read is null", property("FriendlyName", true)) << QString();
    textRow("no property name", property(nullptr)) << QString();
    textRow("no device for a property", [] { return GetUtf8Property(nullptr, "FriendlyName"); }) << QString();
    textRow("no device", [=] { return formatDeviceName(nullptr, quoted); }) << QString();

    // The methods as a bit mask or as the decimal text of one.
    const auto ip
        = [](auto methods, unsigned int options) { return [=] { return formatIPConfiguration(methods, options); }; };
    textRow("single method: DHCP before Auto IP", ip(6u, 1u)) << "DHCP";
    // Without Auto IP nothing is named unless a single method is asked for.
    textRow("no Auto IP", ip(3u, 0u)) << QString();
    textRow("no Auto IP, single method", ip(3u, 1u)) << "Static IP";
    textRow("unknown bits are ignored", ip(~0u, ~1u)) << "Static IP, DHCP, Auto IP";
    textRow("decimal text", ip("6", 0u)) << "DHCP, Auto IP";
    textRow("blanks and a sign before, letters after", ip(" \t+5xyz", 1u)) << "Static IP";
    textRow("hexadecimal is not understood", ip("0x7", 0u)) << QString();
    // Out of range as C's atoi() does it here: the low 32 bits of the saturated value.
    textRow("beyond 32 bits wraps around", ip("4294967300", 0u)) << "Auto IP";
    textRow("no IP configuration text", ip(nullptr, 1u)) << QString();

    const auto mac = [](const char* address, const char* separator) {
        return [=] { return formatMACAddress(address, separator); };
    };
    textRow("default separator, letter case kept", [] { return formatMACAddress("012345AbcDEF"); })
        << "01-23-45-Ab-cD-EF";
    textRow("dotted address, colon separator", mac("0123.45ab.cdef", ":")) << "01:23:45:ab:cd:ef";
    textRow("empty separator", mac("01-23-45-67-89-AB", "")) << "0123456789AB";
    textRow("non-digits skipped, long Latin-1 separator", mac("g0123456789ab\xe9z", " \xb7 "))
        << QStringLiteral("01 \u00b7 23 \u00b7 45 \u00b7 67 \u00b7 89 \u00b7 ab");
    textRow("13 digits", mac("0123456789ABC", "-")) << QString();
    textRow("12 characters, 11 digits", mac("0123456789Ag", "-")) << QString();
    textRow("no MAC address", mac(nullptr, "-")) << QString();
}

QTEST_GUILESS_MAIN(DeviceDescriptionsTest)

#include "tst_devicedescriptions.moc"
