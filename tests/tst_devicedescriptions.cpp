#include <TavixQtBase/stringhelpers.h>

#include <QCoreApplication>
#include <QtTest>

#include <GenICam/GCString.h>
#include <tavix/DeviceInfo.h>

#include <memory>

Q_DECLARE_METATYPE(FormatDeviceNameFlags)

namespace {

// Property name and raw 8-bit value pairs.
using Properties = QList<QPair<QByteArray, QByteArray>>;

// A device whose property reads fail although the properties exist; it writes
// @p leftover into the value first, as a read that breaks off half-way might.
class FailingDeviceInfo : public Tavix::CDeviceInfo
{
public:
    explicit FailingDeviceInfo(const char* leftover = "")
        : m_leftover(leftover)
    {
    }
    bool ReadPropertyValue(const Tavix::gcstring&, Tavix::gcstring& value) const override
    {
        value = m_leftover.c_str();
        return false;
    }

private:
    Tavix::gcstring m_leftover;
};

// A device that reads its properties but denies that they exist.
class SecretiveDeviceInfo : public Tavix::CDeviceInfo
{
public:
    bool PropertyExists(const Tavix::gcstring&) const override { return false; }
};

enum class DeviceKind { Plain, FailingRead, FailingReadWithLeftover, Secretive };

std::unique_ptr<Tavix::CDeviceInfo> makeDevice(DeviceKind kind, const Properties& properties)
{
    std::unique_ptr<Tavix::CDeviceInfo> device;
    switch (kind) {
    case DeviceKind::Plain:
        device = std::make_unique<Tavix::CDeviceInfo>();
        break;
    case DeviceKind::FailingRead:
        device = std::make_unique<FailingDeviceInfo>();
        break;
    case DeviceKind::FailingReadWithLeftover:
        device = std::make_unique<FailingDeviceInfo>("Cam");
        break;
    case DeviceKind::Secretive:
        device = std::make_unique<SecretiveDeviceInfo>();
        break;
    }
    for (const auto& property : properties) {
        device->SetPropertyValue(property.first.constData(), property.second.constData());
    }
    return device;
}

// Captures the messages of the library's logging category while it lives.
class CategoryCapture
{
public:
    CategoryCapture()
    {
        s_messages.clear();
        m_previous = qInstallMessageHandler(&CategoryCapture::handler);
    }
    ~CategoryCapture() { qInstallMessageHandler(m_previous); }

    static QStringList messages() { return s_messages; }

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (qstrcmp(context.category, "tavixqtbase") == 0 && type == QtWarningMsg) {
            s_messages << text;
        }
    }

    static QStringList s_messages;
    QtMessageHandler m_previous;
};
QStringList CategoryCapture::s_messages;

const QByteArray gige = "VelnorGigE";
// "Kamera ä" with the umlaut encoded in UTF-8.
const QByteArray utf8Name = "Kamera \xc3\xa4";

} // namespace

Q_DECLARE_METATYPE(DeviceKind)

class DeviceDescriptionsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatDeviceName_data();
    void formatDeviceName();
    void deviceWithoutNameIsReportedInDebugBuilds_data();
    void deviceWithoutNameIsReportedInDebugBuilds();
    void isUtf8Device_data();
    void isUtf8Device();
    void getUtf8Property_data();
    void getUtf8Property();
    void formatIPConfiguration_data();
    void formatIPConfiguration();
    void formatIPConfigurationFromText_data();
    void formatIPConfigurationFromText();
    void formatMACAddress_data();
    void formatMACAddress();
};

void DeviceDescriptionsTest::formatDeviceName_data()
{
    QTest::addColumn<DeviceKind>("kind");
    QTest::addColumn<Properties>("properties");
    QTest::addColumn<FormatDeviceNameFlags>("flags");
    QTest::addColumn<QString>("expected");

    const FormatDeviceNameFlags plain, quoted = FormatDeviceNameQuoted;
    const Properties allNames = { { "FullName", "Full" }, { "ModelName", "Model" }, { "FriendlyName", "Friendly" } };
    QTest::newRow("friendly name wins over the others") << DeviceKind::Plain << allNames << plain << "Friendly";
    QTest::newRow("model name wins over the full name")
        << DeviceKind::Plain << Properties { { "FullName", "Full" }, { "ModelName", "Model" } } << plain << "Model";
    QTest::newRow("full name as the last resort")
        << DeviceKind::Plain << Properties { { "FullName", "Full" }, { "SerialNumber", "123" } } << plain << "Full";
    QTest::newRow("quoted name") << DeviceKind::Plain << Properties { { "FriendlyName", "Cam 1" } } << quoted
                                 << "\"Cam 1\"";
    QTest::newRow("four characters quoted are six")
        << DeviceKind::Plain << Properties { { "FriendlyName", "Cam4" } } << quoted << "\"Cam4\"";
    QTest::newRow("empty friendly name is still chosen")
        << DeviceKind::Plain << Properties { { "FriendlyName", "" }, { "ModelName", "Model" } } << plain << "";
    QTest::newRow("empty friendly name quoted is two quotes")
        << DeviceKind::Plain << Properties { { "FriendlyName", "" }, { "ModelName", "Model" } } << quoted << "\"\"";
    QTest::newRow("bits other than quoting are ignored")
        << DeviceKind::Plain << Properties { { "FriendlyName", "Cam" } } << FormatDeviceNameFlags(QFlag(~0x02))
        << "Cam";
    QTest::newRow("no name property") << DeviceKind::Plain << Properties { { "SerialNumber", "123" } } << plain
                                      << "???";
    QTest::newRow("no name property, quoted") << DeviceKind::Plain << Properties() << quoted << "\"???\"";
    QTest::newRow("UTF-8 name of a GigE device")
        << DeviceKind::Plain << Properties { { "DeviceClass", gige }, { "FriendlyName", utf8Name } } << plain
        << QStringLiteral("Kamera \u00e4");
    QTest::newRow("same bytes of another class are Latin-1")
        << DeviceKind::Plain << Properties { { "DeviceClass", "VelnorUsb" }, { "FriendlyName", utf8Name } } << plain
        << QStringLiteral("Kamera \u00c3\u00a4");
    QTest::newRow("Latin-1 name of a device without class")
        << DeviceKind::Plain << Properties { { "ModelName", "Kamera \xe4" } } << plain
        << QStringLiteral("Kamera \u00e4");
    // After a positive presence test the name is whatever the read left behind.
    QTest::newRow("failed read gives the empty start value") << DeviceKind::FailingRead << allNames << plain << "";
    QTest::newRow("failed read gives what it left")
        << DeviceKind::FailingReadWithLeftover << allNames << quoted << "\"Cam\"";
}

void DeviceDescriptionsTest::formatDeviceName()
{
    QFETCH(DeviceKind, kind);
    QFETCH(Properties, properties);
    QFETCH(FormatDeviceNameFlags, flags);
    QFETCH(QString, expected);

    const auto device = makeDevice(kind, properties);
    const QString name = ::formatDeviceName(device.get(), flags);
    QCOMPARE(name, expected);
    QVERIFY2(!name.isNull(), "a device always has a name, possibly an empty one");
}

void DeviceDescriptionsTest::deviceWithoutNameIsReportedInDebugBuilds_data()
{
    QTest::addColumn<Properties>("properties");
    QTest::addColumn<int>("reports");

#ifdef QT_NO_DEBUG
    const int reportsWithoutName = 0;
#else
    const int reportsWithoutName = 1;
#endif
    QTest::newRow("device without a name") << Properties { { "DeviceClass", gige } } << reportsWithoutName;
    QTest::newRow("device with a name") << Properties { { "FullName", "Full" } } << 0;
}

void DeviceDescriptionsTest::deviceWithoutNameIsReportedInDebugBuilds()
{
    QFETCH(Properties, properties);
    QFETCH(int, reports);

    const auto device = makeDevice(DeviceKind::Plain, properties);
    CategoryCapture capture;
    ::formatDeviceName(device.get(), {});
    QStringList expected;
    for (int i = 0; i < reports; ++i) {
        expected << QStringLiteral("Missing information in DeviceInfo");
    }
    QCOMPARE(CategoryCapture::messages(), expected);
    QVERIFY(::formatDeviceName(nullptr, FormatDeviceNameQuoted).isNull());
    QCOMPARE(CategoryCapture::messages().size(), reports);
}

void DeviceDescriptionsTest::isUtf8Device_data()
{
    QTest::addColumn<QByteArray>("deviceClass");
    QTest::addColumn<bool>("expected");

    QTest::newRow("GigE class") << gige << true;
    QTest::newRow("class differing in letter case only") << QByteArray("VelnorGige") << false;
    QTest::newRow("lower-case class") << QByteArray("velnorgige") << false;
    QTest::newRow("class with a trailing blank") << QByteArray("VelnorGigE ") << false;
    QTest::newRow("prefix of the class") << QByteArray("VelnorGig") << false;
    QTest::newRow("another class") << QByteArray("VelnorUsb") << false;
    QTest::newRow("empty class") << QByteArray() << false;
}

void DeviceDescriptionsTest::isUtf8Device()
{
    QFETCH(QByteArray, deviceClass);
    QFETCH(bool, expected);

    Tavix::CDeviceInfo device;
    device.SetDeviceClass(deviceClass.constData());
    QCOMPARE(IsUtf8Device(&device), expected);
    QVERIFY(!IsUtf8Device(nullptr));
}

void DeviceDescriptionsTest::getUtf8Property_data()
{
    QTest::addColumn<DeviceKind>("kind");
    QTest::addColumn<QByteArray>("deviceClass");
    QTest::addColumn<QByteArray>("property");
    // "<null>" stands for a null result.
    QTest::addColumn<QString>("expected");

    const QString umlautName = QStringLiteral("Kamera \u00e4");
    QTest::newRow("UTF-8 of a GigE device") << DeviceKind::Plain << gige << QByteArray("FriendlyName") << umlautName;
    QTest::newRow("UTF-8 whatever the class")
        << DeviceKind::Plain << QByteArray("VelnorUsb") << QByteArray("FriendlyName") << umlautName;
    QTest::newRow("empty property is an empty string") << DeviceKind::Plain << gige << QByteArray("SerialNumber") << "";
    QTest::newRow("unknown property is null") << DeviceKind::Plain << gige << QByteArray("NoSuchProperty") << "<null>";
    QTest::newRow("failed read is null") << DeviceKind::FailingReadWithLeftover << gige << QByteArray("FriendlyName")
                                         << "<null>";
    QTest::newRow("read without asking whether the property exists")
        << DeviceKind::Secretive << gige << QByteArray("FriendlyName") << umlautName;
}

void DeviceDescriptionsTest::getUtf8Property()
{
    QFETCH(DeviceKind, kind);
    QFETCH(QByteArray, deviceClass);
    QFETCH(QByteArray, property);
    QFETCH(QString, expected);

    const auto device
        = makeDevice(kind, { { "DeviceClass", deviceClass }, { "FriendlyName", utf8Name }, { "SerialNumber", "" } });
    const QString text = GetUtf8Property(device.get(), property.constData());
    if (expected == QLatin1String("<null>")) {
        QVERIFY2(text.isNull(), qPrintable(text));
    } else {
        QCOMPARE(text, expected);
        QVERIFY(!text.isNull());
    }
    QVERIFY(GetUtf8Property(device.get(), nullptr).isNull());
    QVERIFY(GetUtf8Property(nullptr, property.constData()).isNull());
}

void DeviceDescriptionsTest::formatIPConfiguration_data()
{
    QTest::addColumn<uint>("bits");
    QTest::addColumn<uint>("options");
    // A null QString() stands for a null result.
    QTest::addColumn<QString>("expected");

    QTest::newRow("all three methods") << 7u << 0u << "Static IP, DHCP, Auto IP";
    QTest::newRow("single method: the first one") << 7u << 1u << "Static IP";
    QTest::newRow("single method: DHCP before Auto IP") << 6u << 1u << "DHCP";
    QTest::newRow("Auto IP alone") << 4u << 0u << "Auto IP";
    QTest::newRow("single method: Auto IP alone") << 4u << 1u << "Auto IP";
    QTest::newRow("static and Auto IP") << 5u << 0u << "Static IP, Auto IP";
    QTest::newRow("DHCP and Auto IP") << 6u << 0u << "DHCP, Auto IP";
    // Without Auto IP nothing is named unless a single method is asked for.
    QTest::newRow("static and DHCP without Auto IP") << 3u << 0u << QString();
    QTest::newRow("static and DHCP, single method") << 3u << 1u << "Static IP";
    QTest::newRow("DHCP alone") << 2u << 0u << QString();
    QTest::newRow("DHCP alone, single method") << 2u << 1u << "DHCP";
    QTest::newRow("no method") << 0u << 0u << QString();
    QTest::newRow("no method, single method") << 0u << 1u << QString();
    QTest::newRow("unknown bit only") << 8u << 0u << QString();
    QTest::newRow("unknown bits are ignored") << (0xFFFFFFF8u | 4u) << 0u << "Auto IP";
    QTest::newRow("unknown option bits are ignored") << 7u << 0xFFFFFFFEu << "Static IP, DHCP, Auto IP";
}

void DeviceDescriptionsTest::formatIPConfiguration()
{
    QFETCH(uint, bits);
    QFETCH(uint, options);
    QFETCH(QString, expected);

    const QString text = ::formatIPConfiguration(bits, options);
    QCOMPARE(text, expected);
    QCOMPARE(text.isNull(), expected.isNull());
}

void DeviceDescriptionsTest::formatIPConfigurationFromText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("nullPointer");
    QTest::addColumn<uint>("options");
    QTest::addColumn<QString>("expected");

    QTest::newRow("decimal text") << QByteArray("6") << false << 0u << "DHCP, Auto IP";
    QTest::newRow("decimal text, single method") << QByteArray("7") << false << 1u << "Static IP";
    QTest::newRow("no digits read as 0") << QByteArray("abc") << false << 0u << QString();
    QTest::newRow("minus one sets every bit") << QByteArray("-1") << false << 0u << "Static IP, DHCP, Auto IP";
    QTest::newRow("blanks and sign before, letters after")
        << QByteArray(" \t+5xyz") << false << 0u << "Static IP, Auto IP";
    QTest::newRow("reading stops at the first non-digit") << QByteArray("3 4") << false << 0u << QString();
    QTest::newRow("hexadecimal is not understood") << QByteArray("0x7") << false << 0u << QString();
    QTest::newRow("largest unsigned value") << QByteArray("4294967295") << false << 0u << "Static IP, DHCP, Auto IP";
    // Out of range as C's atoi() does it here: the low 32 bits of the saturated value.
    QTest::newRow("beyond 32 bits wraps around") << QByteArray("4294967300") << false << 0u << "Auto IP";
    QTest::newRow("far beyond range saturates")
        << QByteArray("99999999999999999999999") << false << 0u << "Static IP, DHCP, Auto IP";
    QTest::newRow("empty text") << QByteArray("") << false << 0u << QString();
    QTest::newRow("null text") << QByteArray() << true << 1u << QString();
}

void DeviceDescriptionsTest::formatIPConfigurationFromText()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, nullPointer);
    QFETCH(uint, options);
    QFETCH(QString, expected);

    const QString result = ::formatIPConfiguration(nullPointer ? nullptr : text.constData(), options);
    QCOMPARE(result, expected);
    QCOMPARE(result.isNull(), expected.isNull());
}

void DeviceDescriptionsTest::formatMACAddress_data()
{
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<bool>("nullAddress");
    QTest::addColumn<QByteArray>("separator");
    QTest::addColumn<bool>("nullSeparator");
    QTest::addColumn<QString>("expected");

    QTest::newRow("default separator, letter case kept")
        << QByteArray("012345AbcDEF") << false << QByteArray() << true << "01-23-45-Ab-cD-EF";
    QTest::newRow("dotted address, colon separator")
        << QByteArray("0123.45ab.cdef") << false << QByteArray(":") << false << "01:23:45:ab:cd:ef";
    QTest::newRow("empty separator runs the digits together")
        << QByteArray("01-23-45-67-89-AB") << false << QByteArray("") << false << "0123456789AB";
    QTest::newRow("long separator") << QByteArray("0123456789ab") << false << QByteArray(" - ") << false
                                    << "01 - 23 - 45 - 67 - 89 - ab";
    QTest::newRow("Latin-1 separator") << QByteArray("0123456789ab") << false << QByteArray("\xb7") << false
                                       << QStringLiteral("01\u00b723\u00b745\u00b767\u00b789\u00b7ab");
    QTest::newRow("letters beyond f are skipped")
        << QByteArray("g0123456789ABz") << false << QByteArray() << true << "01-23-45-67-89-AB";
    QTest::newRow("8-bit characters are skipped") << QByteArray("\xe9\xff"
                                                                "0123456789AB\x80")
                                                  << false << QByteArray(":") << false << "01:23:45:67:89:AB";
    QTest::newRow("11 digits") << QByteArray("0123456789A") << false << QByteArray() << true << QString();
    QTest::newRow("13 digits") << QByteArray("0123456789ABC") << false << QByteArray() << true << QString();
    QTest::newRow("12 characters, only 11 digits")
        << QByteArray("0123456789Ag") << false << QByteArray() << true << QString();
    QTest::newRow("empty address") << QByteArray("") << false << QByteArray() << true << QString();
    QTest::newRow("null address") << QByteArray() << true << QByteArray("-") << false << QString();
}

void DeviceDescriptionsTest::formatMACAddress()
{
    QFETCH(QByteArray, address);
    QFETCH(bool, nullAddress);
    QFETCH(QByteArray, separator);
    QFETCH(bool, nullSeparator);
    QFETCH(QString, expected);

    const QString text = ::formatMACAddress(
        nullAddress ? nullptr : address.constData(), nullSeparator ? nullptr : separator.constData());
    QCOMPARE(text, expected);
    QCOMPARE(text.isNull(), expected.isNull());
    if (nullSeparator) {
        QCOMPARE(::formatMACAddress(nullAddress ? nullptr : address.constData()), expected);
    }
}

QTEST_GUILESS_MAIN(DeviceDescriptionsTest)

#include "tst_devicedescriptions.moc"
