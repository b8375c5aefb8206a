#include "cameradescription.h"

#include "aravis_p.h"

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

GenICam::gcstring toGcString(const QString& value)
{
    return GenICam::gcstring(value.toUtf8().constData());
}

} // namespace

bool CameraDescription::matches(const QString& name) const
{
    return !name.isEmpty()
        && (name == id || name == address || name.compare(macAddress, Qt::CaseInsensitive) == 0
            || name == serialNumber);
}

Tavix::CDeviceInfo toDeviceInfo(const CameraDescription& camera)
{
    Tavix::CDeviceInfo info;
    // GigE Vision devices deliver their texts in UTF-8, which the SDK marks with this class.
    info.SetDeviceClass(camera.isGigE() ? GenICam::gcstring("VelnorGigE") : toGcString(camera.protocol));
    info.SetFriendlyName(toGcString(QStringLiteral("%1 (%2)").arg(camera.model, camera.serialNumber)));
    info.SetModelName(toGcString(camera.model));
    info.SetFullName(toGcString(camera.id));
    info.SetSerialNumber(toGcString(camera.serialNumber));
    info.SetMacAddress(toGcString(camera.macAddress));
    info.SetIpAddress(toGcString(camera.address));
    if (camera.ipConfiguration >= 0) {
        info.SetIpConfigCurrent(toGcString(QString::number(camera.ipConfiguration)));
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
        camera.id = text(arv_get_device_id(i));
        camera.vendor = text(arv_get_device_vendor(i));
        camera.model = text(arv_get_device_model(i));
        camera.serialNumber = text(arv_get_device_serial_nbr(i));
        camera.address = text(arv_get_device_address(i));
        camera.macAddress = text(arv_get_device_physical_id(i));
        camera.protocol = text(arv_get_device_protocol(i));
        cameras.append(camera);
    }
    return cameras;
}

int selectCamera(const QList<CameraDescription>& cameras, const QString& name)
{
    for (int i = 0; i < cameras.size(); ++i) {
        if (name.isEmpty() ? cameras.at(i).address == QLatin1String("127.0.0.1") : cameras.at(i).matches(name)) {
            return i;
        }
    }
    return name.isEmpty() && !cameras.isEmpty() ? 0 : -1;
}
