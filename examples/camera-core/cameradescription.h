// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// What the monitor knows about one camera, and how it is found on the network.
#ifndef CAMERACORE_CAMERADESCRIPTION_H
#define CAMERACORE_CAMERADESCRIPTION_H

#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

#include <tavix/DeviceInfo.h>

/**
 * A text field of a camera: UTF-8 when it is valid UTF-8, else Latin-1, the
 * encoding older cameras use; null @p bytes give an empty text.
 */
QString cameraText(const char* bytes);

/**
 * @p text with every character that could change how text around it reads made
 * visible: C0 controls and DEL become their control pictures ("\n" becomes
 * U+240A), other controls, format characters (bidi embeddings, overrides and
 * isolates included) and line and paragraph separators become escapes such as
 * "\u202E". Printable text, right-to-left scripts included, stays as it is.
 */
QString visibleText(const QString& text);

/**
 * visibleText() of @p text between FIRST STRONG ISOLATE and POP DIRECTIONAL
 * ISOLATE (U+2068, U+2069), so that a camera's text reads in its own direction
 * and cannot reorder the monitor's own words around it.
 */
QString isolatedText(const QString& text);

/**
 * One camera as discovery and, once it is open, the camera itself describe it.
 * The id keeps the bytes Aravis reported, since Aravis finds the device only by
 * exactly these; the texts are decoded with cameraText(). Any device on the
 * network can answer discovery, so every text here may be hostile: show it
 * through isolatedText().
 */
struct CameraDescription
{
    QByteArray id; ///< Aravis's device id, unique among the discovered devices
    QString vendor;
    QString model;
    QString serialNumber;
    QString address; ///< IP address of a GigE Vision camera
    QString macAddress; ///< Aravis's physical id: the MAC address of a GigE Vision camera
    QString protocol; ///< "GigEVision", "USB3Vision", ...
    /**
     * The camera's register "current IP configuration" as read: 0x1 link-local
     * (Auto IP), 0x2 DHCP, 0x4 persistent (static) IP; -1 while unknown. Discovery
     * alone does not deliver it; it is read once the camera is open.
     */
    long long ipConfiguration = -1;

    bool isGigE() const { return protocol == QLatin1String("GigEVision"); }
    /** The id decoded for display and for matching names typed by the user. */
    QString idText() const { return cameraText(id.constData()); }
    /** True when @p name selects this camera: its id, address, MAC address or serial number. */
    bool matches(const QString& name) const;
    /**
     * The IP configuration in the library's bits: 0x01 static IP, 0x02 DHCP,
     * 0x04 Auto IP; -1 while unknown.
     */
    long long ipConfigurationMethods() const;
    /**
     * True when the discovery answer cannot be a camera's: a GigE Vision camera
     * at 0.0.0.0 or the broadcast address, or with a MAC address of all ones, or
     * of all zeros off the loopback interface, or control characters in its
     * texts. Aravis 0.8
     * accepts truncated answers and fills the rest with whatever its buffer held,
     * so such an entry is shown marked rather than trusted.
     */
    bool looksDamaged() const;
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
 * The GigE Vision camera described by @p data, the first 0xF8 bytes of its
 * bootstrap registers as its discovery answer carries them, with the id and
 * texts Aravis's discovery gives it.
 */
CameraDescription describeDiscoveredCamera(const QByteArray& data);

/**
 * Asks the GigE Vision camera at the IPv4 address @p address alone to describe
 * itself, as discovery would, with @p address as its address. Nothing when
 * @p address is no IPv4 address or no camera answers within a second (at once
 * when the host refuses). Thread-safe.
 */
std::optional<CameraDescription> askCameraAt(const QString& address);

/**
 * The camera with Aravis's device id @p id, or with an empty id the one that
 * @p name selects among @p cameras: by id, address, MAC address or serial number;
 * with an empty name the one on the loopback interface (the simulated camera),
 * else the first. Returns -1 when there is none.
 */
int selectCamera(const QList<CameraDescription>& cameras, const QByteArray& id, const QString& name);

#endif
