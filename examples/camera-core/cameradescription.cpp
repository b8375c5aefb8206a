// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "cameradescription.h"

#include "aravis_p.h"

#include <QDeadlineTimer>
#include <QScopeGuard>

#include <algorithm>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr char16_t firstStrongIsolate = 0x2068;
constexpr char16_t popDirectionalIsolate = 0x2069;
constexpr char16_t controlPictures = 0x2400;
constexpr char16_t deletePicture = 0x2421;

GenICam::gcstring toGcString(const QString& value)
{
    return GenICam::gcstring(value.toUtf8().constData());
}

bool changesLayout(QChar::Category category)
{
    return category == QChar::Other_Control || category == QChar::Other_Format || category == QChar::Separator_Line
        || category == QChar::Separator_Paragraph;
}

bool hasControlCharacters(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

// GigE Vision discovery: a command to the control port, answered with the device's first bootstrap registers.
constexpr quint16 controlPort = 3956;
constexpr int headerSize = 8;
constexpr int discoveryDataSize = 0xF8;
constexpr int discoveryWaitMs = 1000; // as long as Aravis's discovery waits for answers
constexpr quint16 discoveryAck = 0x0003;

/** A text field of discovery data: its bytes up to the first zero or the field's end. */
QByteArray textField(const QByteArray& data, int offset, int size)
{
    const char* start = data.constData() + offset;
    return QByteArray(start, int(qstrnlen(start, uint(size))));
}

/** The discovery data in the first answer of the camera behind the connected @p socket, or nothing. */
QByteArray awaitDiscoveryAnswer(int socket)
{
    const QDeadlineTimer deadline(discoveryWaitMs);
    char answer[headerSize + discoveryDataSize + 64];
    for (;;) {
        pollfd readable { socket, POLLIN, 0 };
        if (poll(&readable, 1, int(deadline.remainingTime())) <= 0) {
            return QByteArray();
        }
        const ssize_t size = recv(socket, answer, sizeof answer, 0);
        if (size < 0) {
            return QByteArray(); // nothing listens at the address
        }
        const auto word
            = [&answer](int offset) { return quint16(quint8(answer[offset]) << 8 | quint8(answer[offset + 1])); };
        if (size >= headerSize + discoveryDataSize && word(2) == discoveryAck && word(6) == 0xFFFF) {
            return QByteArray(answer + headerSize, discoveryDataSize);
        }
    }
}

} // namespace

QString cameraText(const char* bytes)
{
    const QByteArray raw(bytes);
    const QString utf8 = QString::fromUtf8(raw);
    // Invalid UTF-8 decodes to U+FFFD, which does not encode back to the same bytes.
    return utf8.toUtf8() == raw ? utf8 : QString::fromLatin1(raw);
}

QString visibleText(const QString& text)
{
    QString visible;
    visible.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x20) {
            visible.append(QChar(controlPictures + c.unicode()));
        } else if (c.unicode() == 0x7F) {
            visible.append(QChar(deletePicture));
        } else if (changesLayout(c.category())) {
            visible.append(
                QStringLiteral("\\u%1").arg(QString::number(c.unicode(), 16).toUpper(), 4, QLatin1Char('0')));
        } else {
            visible.append(c);
        }
    }
    return visible;
}

QString isolatedText(const QString& text)
{
    return QChar(firstStrongIsolate) + visibleText(text) + QChar(popDirectionalIsolate);
}

bool CameraDescription::matches(const QString& name) const
{
    return !name.isEmpty()
        && (name == idText() || name == address || name.compare(macAddress, Qt::CaseInsensitive) == 0
            || name == serialNumber);
}

long long CameraDescription::ipConfigurationMethods() const
{
    if (ipConfiguration < 0) {
        return -1;
    }
    return ((ipConfiguration & 0x4) ? 0x01 : 0) | (ipConfiguration & 0x2) | ((ipConfiguration & 0x1) ? 0x04 : 0);
}

bool CameraDescription::looksDamaged() const
{
    // The loopback interface has no hardware address: a camera there (Aravis's
    // simulated one) reports a MAC address of all zeros.
    const bool onLoopback = address.startsWith(QLatin1String("127."));
    const bool noAddress = isGigE()
        && (address == QLatin1String("0.0.0.0") || address == QLatin1String("255.255.255.255")
            || (macAddress == QLatin1String("00:00:00:00:00:00") && !onLoopback)
            || macAddress.compare(QLatin1String("ff:ff:ff:ff:ff:ff"), Qt::CaseInsensitive) == 0);
    return noAddress || hasControlCharacters(vendor) || hasControlCharacters(model)
        || hasControlCharacters(serialNumber);
}

Tavix::CDeviceInfo toDeviceInfo(const CameraDescription& camera)
{
    Tavix::CDeviceInfo info;
    // GigE Vision devices deliver their texts in UTF-8, which the SDK marks with this class.
    info.SetDeviceClass(camera.isGigE() ? GenICam::gcstring("VelnorGigE") : toGcString(camera.protocol));
    info.SetFriendlyName(toGcString(QStringLiteral("%1 (%2)").arg(camera.model, camera.serialNumber)));
    info.SetModelName(toGcString(camera.model));
    info.SetFullName(GenICam::gcstring(camera.id.constData()));
    info.SetSerialNumber(toGcString(camera.serialNumber));
    info.SetMacAddress(toGcString(camera.macAddress));
    info.SetIpAddress(toGcString(camera.address));
    if (camera.ipConfiguration >= 0) {
        info.SetIpConfigCurrent(toGcString(QString::number(camera.ipConfigurationMethods())));
    }
    return info;
}

QList<CameraDescription> discoverCameras()
{
    arv_update_device_list();
    QList<CameraDescription> cameras;
    const unsigned int count = arv_get_n_devices();
    for (unsigned int i = 0; i < count; ++i) {
        CameraDescription camera;
        camera.id = QByteArray(arv_get_device_id(i));
        camera.vendor = cameraText(arv_get_device_vendor(i));
        camera.model = cameraText(arv_get_device_model(i));
        camera.serialNumber = cameraText(arv_get_device_serial_nbr(i));
        camera.address = cameraText(arv_get_device_address(i));
        camera.macAddress = cameraText(arv_get_device_physical_id(i));
        camera.protocol = cameraText(arv_get_device_protocol(i));
        cameras.append(camera);
    }
    return cameras;
}

CameraDescription describeDiscoveredCamera(const QByteArray& data)
{
    // Aravis names a GigE Vision camera "vendor-model-serial", with the MAC address for an empty serial
    // number, and drops the control characters but 0x10 from the name.
    const QByteArray mac = data.mid(0x0A, 6).toHex(':');
    QByteArray serial = textField(data, 0xD8, 16);
    if (serial.isEmpty()) {
        serial = mac;
    }
    const QByteArray vendor = textField(data, 0x48, 32);
    const QByteArray model = textField(data, 0x68, 32);
    QByteArray id = vendor + '-' + model + '-' + serial;
    id.truncate(
        int(std::remove_if(id.begin(), id.end(), [](char c) { return c > 0 && c < 0x20 && c != 0x10; }) - id.begin()));
    CameraDescription camera;
    camera.id = id;
    camera.vendor = cameraText(vendor.constData());
    camera.model = cameraText(model.constData());
    camera.serialNumber = cameraText(serial.constData());
    camera.macAddress = QString::fromLatin1(mac);
    const auto byte = [&data](int offset) { return quint8(data.at(offset)); };
    camera.address = QStringLiteral("%1.%2.%3.%4").arg(byte(0x24)).arg(byte(0x25)).arg(byte(0x26)).arg(byte(0x27));
    camera.protocol = QStringLiteral("GigEVision");
    return camera;
}

std::optional<CameraDescription> askCameraAt(const QString& address)
{
    sockaddr_in camera {};
    camera.sin_family = AF_INET;
    camera.sin_port = htons(controlPort);
    if (inet_pton(AF_INET, address.toLatin1().constData(), &camera.sin_addr) != 1) {
        return std::nullopt;
    }
    const int socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        return std::nullopt;
    }
    const auto closeSocket = qScopeGuard([socket] { close(socket); });
    // Connected, the socket receives only the camera's answers, and a refusal when nothing listens there.
    static const unsigned char discoveryCommand[headerSize] = { 0x42, 0x01, 0x00, 0x02, 0x00, 0x00, 0xFF, 0xFF };
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&camera), sizeof camera) != 0
        || send(socket, discoveryCommand, sizeof discoveryCommand, 0) != ssize_t(sizeof discoveryCommand)) {
        return std::nullopt;
    }
    const QByteArray data = awaitDiscoveryAnswer(socket);
    if (data.isEmpty()) {
        return std::nullopt;
    }
    CameraDescription described = describeDiscoveredCamera(data);
    // The camera answered from the address asked, whatever address it reports.
    described.address = address;
    return described;
}

int selectCamera(const QList<CameraDescription>& cameras, const QByteArray& id, const QString& name)
{
    for (int i = 0; i < cameras.size(); ++i) {
        const CameraDescription& camera = cameras.at(i);
        if (!id.isEmpty() ? camera.id == id
                          : (name.isEmpty() ? camera.address == QLatin1String("127.0.0.1") : camera.matches(name))) {
            return i;
        }
    }
    return id.isEmpty() && name.isEmpty() && !cameras.isEmpty() ? 0 : -1;
}
