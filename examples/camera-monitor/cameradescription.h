// What the monitor knows about one camera, and how it is found on the network.
#ifndef CAMERAMONITOR_CAMERADESCRIPTION_H
#define CAMERAMONITOR_CAMERADESCRIPTION_H

#include <QList>
#include <QMetaType>
#include <QString>

#include <tavix/DeviceInfo.h>

/**
 * One camera as discovery and, once it is open, the camera itself describe it.
 * All texts are as Aravis reports them (UTF-8).
 */
struct CameraDescription
{
    QString id; ///< Aravis's device id, unique among the discovered devices
    QString vendor;
    QString model;
    QString serialNumber;
    QString address; ///< IP address of a GigE Vision camera
    QString macAddress; ///< Aravis's physical id: the MAC address of a GigE Vision camera
    QString protocol; ///< "GigEVision", "USB3Vision", ...
    /**
     * The IP configuration methods the camera currently has enabled, as bits
     * 0x01 static IP, 0x02 DHCP, 0x04 Auto IP; -1 while unknown. Discovery
     * alone does not deliver it; it is read once the camera is open.
     */
    long long ipConfiguration = -1;

    bool isGigE() const { return protocol == QLatin1String("GigEVision"); }
    /** True when @p name selects this camera: its id, address, MAC address or serial number. */
    bool matches(const QString& name) const;
};
Q_DECLARE_METATYPE(CameraDescription)

/** The SDK's device information for @p camera, as the library's formatters read it. */
Tavix::CDeviceInfo toDeviceInfo(const CameraDescription& camera);

/**
 * Looks for cameras on every network interface (and USB), which takes about a
 * second. Thread-safe; called from the streaming thread.
 */
QList<CameraDescription> discoverCameras();

/**
 * The camera that @p name selects among @p cameras: by id, address, MAC address
 * or serial number; with an empty name the one on the loopback interface (the
 * simulated camera), else the first. Returns -1 when there is none.
 */
int selectCamera(const QList<CameraDescription>& cameras, const QString& name);

#endif
