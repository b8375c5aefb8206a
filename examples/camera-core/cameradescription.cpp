// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "cameradescription.h"

#include "aravis_p.h"

#include <algorithm>

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
