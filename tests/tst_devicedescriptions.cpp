// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/stringhelpers.h>

#include <QtTest>

#include "comparetext.h"

#include <GenICam/GCString.h>
#include <tavix/DeviceInfo.h>

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

// Sets each "Name=value" property of @p properties on @p device.
void setProperties(Tavix::CDeviceInfo* device, const QByteArrayList& properties)
{
    for (const QByteArray& property : properties) {
        const int equals = property.indexOf('=');
        device->SetPropertyValue(property.left(equals).constData(), property.mid(equals + 1).constData());
    }
}

QStringList capturedWarnings;

void captureWarning(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && qstrcmp(context.category, "tavixqtbase") == 0) {
        capturedWarnings << text;
    }
}

const QByteArray utf8FriendlyName = QByteArrayLiteral("FriendlyName=Kamera \xc3\xa4"); // "Kamera ä" in UTF-8
const QString empty = QStringLiteral("");

} // namespace

class DeviceDescriptionsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deviceNames_data();
    void deviceNames();
    void utf8Properties_data();
    void utf8Properties();
    void missingNameIsReportedInDebugBuilds();
    void nullArgumentsGiveNullTexts();
    void ipConfigurationBits_data();
    void ipConfigurationBits();
    void ipConfigurationTexts_data();
    void ipConfigurationTexts();
    void macAddresses_data();
    void macAddresses();
};

void DeviceDescriptionsTest::deviceNames_data()
{
    QTest::addColumn<QByteArrayList>("properties");
    QTest::addColumn<bool>("quoted");
    QTest::addColumn<bool>("failingReads");
    QTest::addColumn<QString>("expected");
    QTest::newRow("friendly first") << QByteArrayList { "FullName=Full", "ModelName=M", "FriendlyName=F" } << false
                                    << false << "F";
    QTest::newRow("model before full") << QByteArrayList { "FullName=Full", "ModelName=Model" } << false << false
                                       << "Model";
    QTest::newRow("full last") << QByteArrayList { "FullName=Full", "SerialNumber=123" } << false << false << "Full";
    QTest::newRow("empty friendly name chosen")
        << QByteArrayList { "FriendlyName=", "ModelName=M" } << false << false << empty;
    QTest::newRow("none, quoted") << QByteArrayList { "SerialNumber=123" } << true << false << "\"???\"";
    QTest::newRow("UTF-8 class") << QByteArrayList { "DeviceClass=VelnorGigE", utf8FriendlyName } << false << false
                                 << QStringLiteral("Kamera \u00e4");
    QTest::newRow("class differing in letter case is Latin-1") << QByteArrayList { "DeviceClass=VelnorGige",
        utf8FriendlyName } << false << false << QStringLiteral("Kamera \u00c3\u00a4");
    // After the property was found, the name is whatever its read left behind.
    QTest::newRow("failed read") << QByteArrayList { "FriendlyName=Friendly" } << true << true << "\"Cam\"";
}

void DeviceDescriptionsTest::deviceNames()
{
    QFETCH(QByteArrayList, properties);
    QFETCH(bool, quoted);
    QFETCH(bool, failingReads);
    QFETCH(QString, expected);
    Tavix::CDeviceInfo plain;
    FailingDeviceInfo failing;
    Tavix::CDeviceInfo* device = failingReads ? &failing : &plain;
    setProperties(device, properties);
    COMPARE_TEXT(formatDeviceName(device, quoted ? FormatDeviceNameQuoted : FormatDeviceNameFlags()), expected);
}

void DeviceDescriptionsTest::utf8Properties_data()
{
    QTest::addColumn<bool>("failingReads");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("expected");
    QTest::newRow("UTF-8 whatever the class") << false << QByteArray("FriendlyName") << QStringLiteral("Kamera \u00e4");
    QTest::newRow("empty property is empty") << false << QByteArray("SerialNumber") << empty;
    QTest::newRow("failed read is null") << true << QByteArray("FriendlyName") << QString();
}

void DeviceDescriptionsTest::utf8Properties()
{
    QFETCH(bool, failingReads);
    QFETCH(QByteArray, property);
    QFETCH(QString, expected);
    Tavix::CDeviceInfo plain;
    FailingDeviceInfo failing;
    Tavix::CDeviceInfo* device = failingReads ? &failing : &plain;
    setProperties(device, { "DeviceClass=VelnorUsb", utf8FriendlyName, "SerialNumber=" });
    COMPARE_TEXT(GetUtf8Property(device, property.constData()), expected);
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
    Tavix::CDeviceInfo named;
    Tavix::CDeviceInfo unnamed;
    setProperties(&named, { "FullName=Full" });
    setProperties(&unnamed, { "SerialNumber=123" });
    formatDeviceName(&named, FormatDeviceNameFlags());
    formatDeviceName(&unnamed, FormatDeviceNameFlags());
    qInstallMessageHandler(previous);
    QCOMPARE(capturedWarnings, expected);
}

void DeviceDescriptionsTest::nullArgumentsGiveNullTexts()
{
    Tavix::CDeviceInfo device;
    device.SetFriendlyName("Camera");
    QVERIFY(formatDeviceName(nullptr, FormatDeviceNameQuoted).isNull());
    QVERIFY(GetUtf8Property(&device, nullptr).isNull());
    QVERIFY(GetUtf8Property(nullptr, "FriendlyName").isNull());
    QVERIFY(formatIPConfiguration(static_cast<const char*>(nullptr), 1u).isNull());
    QVERIFY(formatMACAddress(nullptr, "-").isNull());
}

void DeviceDescriptionsTest::ipConfigurationBits_data()
{
    QTest::addColumn<uint>("methods");
    QTest::addColumn<uint>("singleMethod");
    QTest::addColumn<QString>("expected");
    QTest::newRow("single method: DHCP before Auto IP") << 6u << 1u << "DHCP";
    // Without Auto IP nothing is named unless a single method is asked for.
    QTest::newRow("no Auto IP") << 3u << 0u << QString();
    QTest::newRow("no Auto IP, single method") << 3u << 1u << "Static IP";
    QTest::newRow("unknown bits are ignored") << ~0u << ~1u << "Static IP, DHCP, Auto IP";
}

void DeviceDescriptionsTest::ipConfigurationBits()
{
    QFETCH(uint, methods);
    QFETCH(uint, singleMethod);
    QFETCH(QString, expected);
    COMPARE_TEXT(formatIPConfiguration(methods, singleMethod), expected);
}

void DeviceDescriptionsTest::ipConfigurationTexts_data()
{
    QTest::addColumn<QByteArray>("methods");
    QTest::addColumn<uint>("singleMethod");
    QTest::addColumn<QString>("expected");
    QTest::newRow("decimal text") << QByteArray("6") << 0u << "DHCP, Auto IP";
    QTest::newRow("blanks and a sign before, letters after") << QByteArray(" \t+5xyz") << 1u << "Static IP";
    QTest::newRow("hexadecimal is not understood") << QByteArray("0x7") << 0u << QString();
    // Out of range as C's atoi() does it here: the low 32 bits of the saturated value.
    QTest::newRow("beyond 32 bits wraps around") << QByteArray("4294967300") << 0u << "Auto IP";
}

void DeviceDescriptionsTest::ipConfigurationTexts()
{
    QFETCH(QByteArray, methods);
    QFETCH(uint, singleMethod);
    QFETCH(QString, expected);
    COMPARE_TEXT(formatIPConfiguration(methods.constData(), singleMethod), expected);
}

void DeviceDescriptionsTest::macAddresses_data()
{
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<QByteArray>("separator"); // null: the default separator
    QTest::addColumn<QString>("expected");
    QTest::newRow("default separator, letter case kept")
        << QByteArray("012345AbcDEF") << QByteArray() << "01-23-45-Ab-cD-EF";
    QTest::newRow("dotted address, colon separator")
        << QByteArray("0123.45ab.cdef") << QByteArray(":") << "01:23:45:ab:cd:ef";
    QTest::newRow("empty separator") << QByteArray("01-23-45-67-89-AB") << QByteArray("") << "0123456789AB";
    QTest::newRow("non-digits skipped, long Latin-1 separator")
        << QByteArray("g0123456789ab\xe9z") << QByteArray(" \xb7 ")
        << QStringLiteral("01 \u00b7 23 \u00b7 45 \u00b7 67 \u00b7 89 \u00b7 ab");
    QTest::newRow("11 digits") << QByteArray("0123456789A") << QByteArray() << QString();
    QTest::newRow("13 digits") << QByteArray("0123456789ABC") << QByteArray() << QString();
    QTest::newRow("12 characters, 11 digits") << QByteArray("0123456789Ag") << QByteArray() << QString();
}

void DeviceDescriptionsTest::macAddresses()
{
    QFETCH(QByteArray, address);
    QFETCH(QByteArray, separator);
    QFETCH(QString, expected);
    if (separator.isNull()) {
        COMPARE_TEXT(formatMACAddress(address.constData()), expected);
    } else {
        COMPARE_TEXT(formatMACAddress(address.constData(), separator.constData()), expected);
    }
}

QTEST_GUILESS_MAIN(DeviceDescriptionsTest)

#include "tst_devicedescriptions.moc"
