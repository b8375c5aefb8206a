// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/stringhelpers.h>

#include <QtTest>

#include "texttable.h"

#include <GenICam/GCString.h>
#include <tavix/DeviceInfo.h>

#include <initializer_list>
#include <utility>

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

using Properties = std::initializer_list<std::pair<const char*, const char*>>;

QString nameOf(Properties properties, FormatDeviceNameFlags flags = {}, bool failingReads = false)
{
    Tavix::CDeviceInfo plain;
    FailingDeviceInfo failing;
    Tavix::CDeviceInfo& device = failingReads ? failing : plain;
    for (const auto& property : properties) {
        device.SetPropertyValue(property.first, property.second);
    }
    return formatDeviceName(&device, flags);
}

QStringList capturedWarnings;

void captureWarning(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && qstrcmp(context.category, "tavixqtbase") == 0) {
        capturedWarnings << text;
    }
}

const char* const utf8Name = "Kamera \xc3\xa4"; // "Kamera ä" in UTF-8
const QString empty = QStringLiteral("");

} // namespace

class DeviceDescriptionsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deviceTexts_data();
    void deviceTexts() { compareRow(); }
    void missingNameIsReportedInDebugBuilds();
    void nullIsNoUtf8Device() { QVERIFY(!IsUtf8Device(nullptr)); }
    void networkTexts_data();
    void networkTexts() { compareRow(); }
};

void DeviceDescriptionsTest::deviceTexts_data()
{
    addColumns();
    const FormatDeviceNameFlags quoted = FormatDeviceNameQuoted;
    addRow(
        "name: friendly first", nameOf({ { "FullName", "Full" }, { "ModelName", "M" }, { "FriendlyName", "F" } }), "F");
    addRow("name: model before full", nameOf({ { "FullName", "Full" }, { "ModelName", "Model" } }), "Model");
    addRow("name: full last", nameOf({ { "FullName", "Full" }, { "SerialNumber", "123" } }), "Full");
    addRow("name: empty friendly name chosen", nameOf({ { "FriendlyName", "" }, { "ModelName", "M" } }), empty);
    addRow("name: none, quoted", nameOf({ { "SerialNumber", "123" } }, quoted), "\"???\"");
    addRow("name: UTF-8 class", nameOf({ { "DeviceClass", "VelnorGigE" }, { "FriendlyName", utf8Name } }),
        QStringLiteral("Kamera \u00e4"));
    addRow("name: class differing in letter case is Latin-1",
        nameOf({ { "DeviceClass", "VelnorGige" }, { "FriendlyName", utf8Name } }),
        QStringLiteral("Kamera \u00c3\u00a4"));
    // After the property was found, the name is whatever its read left behind.
    addRow("name: failed read", nameOf({ { "FriendlyName", "Friendly" } }, quoted, true), "\"Cam\"");
    addRow("name: null device", formatDeviceName(nullptr, quoted), QString());

    Tavix::CDeviceInfo usb;
    usb.SetDeviceClass("VelnorUsb").SetFriendlyName(utf8Name).SetSerialNumber("");
    FailingDeviceInfo failing;
    failing.SetFriendlyName(utf8Name);
    addRow(
        "property: UTF-8 whatever the class", GetUtf8Property(&usb, "FriendlyName"), QStringLiteral("Kamera \u00e4"));
    addRow("property: empty property is empty", GetUtf8Property(&usb, "SerialNumber"), empty);
    addRow("property: failed read is null", GetUtf8Property(&failing, "FriendlyName"), QString());
    addRow("property: null property name", GetUtf8Property(&usb, nullptr), QString());
    addRow("property: null device", GetUtf8Property(nullptr, "FriendlyName"), QString());
}

// A named device, then an unnamed one: only the second is reported.
void DeviceDescriptionsTest::missingNameIsReportedInDebugBuilds()
{
#ifdef QT_NO_DEBUG
    const QStringList expected;
#else
    const QStringList expected { QStringLiteral("Missing information in DeviceInfo") };
#endif
    capturedWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureWarning);
    nameOf({ { "FullName", "Full" } });
    nameOf({ { "SerialNumber", "123" } });
    qInstallMessageHandler(previous);
    QCOMPARE(capturedWarnings, expected);
}

void DeviceDescriptionsTest::networkTexts_data()
{
    addColumns();
    addRow("IP: single method: DHCP before Auto IP", formatIPConfiguration(6u, 1u), "DHCP");
    // Without Auto IP nothing is named unless a single method is asked for.
    addRow("IP: no Auto IP", formatIPConfiguration(3u, 0u), QString());
    addRow("IP: no Auto IP, single method", formatIPConfiguration(3u, 1u), "Static IP");
    addRow("IP: unknown bits are ignored", formatIPConfiguration(~0u, ~1u), "Static IP, DHCP, Auto IP");
    addRow("IP: text", formatIPConfiguration("6", 0u), "DHCP, Auto IP");
    addRow("IP: blanks and a sign before, letters after", formatIPConfiguration(" \t+5xyz", 1u), "Static IP");
    addRow("IP: hexadecimal is not understood", formatIPConfiguration("0x7", 0u), QString());
    // Out of range as C's atoi() does it here: the low 32 bits of the saturated value.
    addRow("IP: beyond 32 bits wraps around", formatIPConfiguration("4294967300", 0u), "Auto IP");
    addRow("IP: null text", formatIPConfiguration(static_cast<const char*>(nullptr), 1u), QString());
    addRow("MAC: default separator, letter case kept", formatMACAddress("012345AbcDEF"), "01-23-45-Ab-cD-EF");
    addRow("MAC: dotted address, colon separator", formatMACAddress("0123.45ab.cdef", ":"), "01:23:45:ab:cd:ef");
    addRow("MAC: empty separator", formatMACAddress("01-23-45-67-89-AB", ""), "0123456789AB");
    addRow("MAC: non-digits skipped, long Latin-1 separator", formatMACAddress("g0123456789ab\xe9z", " \xb7 "),
        QStringLiteral("01 \u00b7 23 \u00b7 45 \u00b7 67 \u00b7 89 \u00b7 ab"));
    addRow("MAC: 11 digits", formatMACAddress("0123456789A"), QString());
    addRow("MAC: 13 digits", formatMACAddress("0123456789ABC"), QString());
    addRow("MAC: 12 characters, 11 digits", formatMACAddress("0123456789Ag"), QString());
    addRow("MAC: null address", formatMACAddress(nullptr, "-"), QString());
}

QTEST_GUILESS_MAIN(DeviceDescriptionsTest)

#include "tst_devicedescriptions.moc"
