// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "streamsession.h"

#include <QFile>
#include <QMutex>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr guint minBufferCount = 16;
// Buffers out of the stream while their images are shown or wait to be: the GUI's and the one waiting.
constexpr guint keptBufferCount = 2;
// How long a stream's buffers last at its frame rate: see StreamSession::wantedBufferCount().
constexpr double bufferedSeconds = 1.0;
// Aravis's packet socket ring: 16 blocks of 2 MiB.
constexpr guint packetRingBytes = 32U << 20;
constexpr int openLockWaitMs = 1000;

// The GigE Vision bootstrap register "current IP configuration".
long long readIpConfiguration(ArvDevice* device)
{
    constexpr guint64 currentIpConfigurationRegister = 0x0014;
    guint32 value = 0;
    ArvError error;
    if (!arv_device_read_register(device, currentIpConfigurationRegister, &value, error.out())) {
        return -1;
    }
    return value;
}

/** The address of the local IPv4 interface whose subnet holds @p device, or null. */
GObjectPtr<GInetAddress> interfaceFacing(GInetAddress* device)
{
    in_addr_t target = 0;
    memcpy(&target, g_inet_address_to_bytes(device), sizeof target);
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0) {
        return nullptr;
    }
    GObjectPtr<GInetAddress> found;
    for (const ifaddrs* entry = interfaces; entry && !found; entry = entry->ifa_next) {
        if (entry->ifa_addr && entry->ifa_netmask && entry->ifa_addr->sa_family == AF_INET) {
            const in_addr local = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr;
            const in_addr_t mask = reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr;
            if ((local.s_addr & mask) == (target & mask)) {
                found.reset(g_inet_address_new_from_bytes(
                    reinterpret_cast<const guint8*>(&local.s_addr), G_SOCKET_FAMILY_IPV4));
            }
        }
    }
    freeifaddrs(interfaces);
    return found;
}

// arv_camera_new() holds Aravis's global lock until the camera is open, and a slow
// camera stretches that to minutes, in which no other thread can discover or open
// a camera. A GigE Vision camera on a local subnet is opened without that lock.
ArvCamera* openCamera(const CameraDescription& camera, ArvError& error)
{
    GObjectPtr<GInetAddress> address(
        camera.isGigE() ? g_inet_address_new_from_string(camera.address.toLatin1().constData()) : nullptr);
    const GObjectPtr<GInetAddress> interface = address ? interfaceFacing(address.get()) : nullptr;
    if (!interface) {
        return arv_camera_new(camera.id.constData(), error.out());
    }
    const GObjectPtr<ArvDevice> device(arv_gv_device_new(interface.get(), address.get(), error.out()));
    return device ? arv_camera_new_with_device(device.get(), error.out()) : nullptr;
}

/**
 * Taken while a camera opens. Aravis parses each camera's GenICam description
 * with state that two threads opening cameras at the same moment corrupt (the
 * feature tree of one of them breaks), so openings go one after another; a
 * camera that holds the lock for long (a slow GenICam download) lets the others
 * go ahead after openLockWaitMs, at that risk, rather than hold them up for minutes.
 */
QMutex& openLock()
{
    static QMutex mutex;
    return mutex;
}

ArvCamera* newCamera(const CameraDescription& camera, ArvError& error)
{
    const bool locked = openLock().tryLock(openLockWaitMs);
    ArvCamera* opened = openCamera(camera, error);
    if (locked) {
        openLock().unlock();
    }
    return opened;
}

void noteRefusal(QStringList* refused, const QString& what, const ArvError& error)
{
    if (error.failed()) {
        refused->append(QStringLiteral("%1: %2").arg(what, error.message()));
    }
}

/** The value and bounds of an integer feature read with Aravis's getters. */
void readIntegerFeature(CameraFeature* feature, gint value, gint minimum, gint maximum, const ArvError& error)
{
    feature->available = !error.failed();
    feature->value = value;
    feature->minimum = minimum;
    feature->maximum = maximum;
}

void readRegion(ArvCamera* camera, CameraSettings* settings)
{
    ArvError error;
    gint x = 0, y = 0, width = 0, height = 0;
    arv_camera_get_region(camera, &x, &y, &width, &height, error.out());
    const auto read = [camera, &error](CameraFeature* feature, gint value, auto getBounds) {
        gint minimum = 0, maximum = 0;
        getBounds(camera, &minimum, &maximum, error.out());
        readIntegerFeature(feature, value, minimum, maximum, error);
    };
    read(&settings->offsetX, x, arv_camera_get_x_offset_bounds);
    read(&settings->offsetY, y, arv_camera_get_y_offset_bounds);
    read(&settings->width, width, arv_camera_get_width_bounds);
    read(&settings->height, height, arv_camera_get_height_bounds);
}

void readBinning(ArvCamera* camera, CameraSettings* settings)
{
    ArvError error;
    if (!arv_camera_is_binning_available(camera, error.out()) || error.failed()) {
        return;
    }
    gint horizontal = 0, vertical = 0, minimum = 0, maximum = 0;
    arv_camera_get_binning(camera, &horizontal, &vertical, error.out());
    arv_camera_get_x_binning_bounds(camera, &minimum, &maximum, error.out());
    readIntegerFeature(&settings->binningHorizontal, horizontal, minimum, maximum, error);
    arv_camera_get_y_binning_bounds(camera, &minimum, &maximum, error.out());
    readIntegerFeature(&settings->binningVertical, vertical, minimum, maximum, error);
}

void readImageGeometry(ArvCamera* camera, CameraSettings* settings)
{
    readRegion(camera, settings);
    readBinning(camera, settings);
}

void readAutomaticModes(ArvCamera* camera, CameraSettings* settings)
{
    const auto read = [camera](CameraSwitch* automatic, auto isAvailable, auto getMode) {
        ArvError error;
        automatic->available = isAvailable(camera, error.out()) && !error.failed();
        if (automatic->available) {
            automatic->on = getMode(camera, error.out()) != ARV_AUTO_OFF;
            automatic->available = !error.failed();
        }
    };
    read(&settings->autoExposure, arv_camera_is_exposure_auto_available, arv_camera_get_exposure_time_auto);
    read(&settings->autoGain, arv_camera_is_gain_auto_available, arv_camera_get_gain_auto);
}

/**
 * A buffer of @p size bytes whose pages are all in memory. Written to for the first time, each
 * page of a new buffer costs a page fault, tens of microseconds in a virtual machine: about
 * 13 ms for a frame of 4 MiB. Left to Aravis's receiving thread, those faults slowed it down
 * while it filled each buffer for the first time, and on a busy machine it fell behind the
 * camera until the kernel's packet ring overflowed and the start of a frame was lost. So the
 * pages are mapped here, before the stream starts, by the kernel in one call where it can
 * (Linux 5.14 and later), which costs a tenth of faulting them in one by one.
 */
ArvBuffer* newFaultedInBuffer(guint size)
{
    const gsize pageSize = gsize(sysconf(_SC_PAGESIZE));
    void* data = g_aligned_alloc(1, size, pageSize);
#ifdef MADV_POPULATE_WRITE
    const bool mapped = madvise(data, size, MADV_POPULATE_WRITE) == 0;
#else
    const bool mapped = false;
#endif
    if (!mapped) {
        memset(data, 0, size);
    }
    return arv_buffer_new_full(size, data, data, g_aligned_free);
}

} // namespace

StreamSession::~StreamSession()
{
    if (m_acquiring && !m_controlLost) {
        ArvError ignored;
        arv_camera_stop_acquisition(m_camera.get(), ignored.out());
    }
    closeStream();
    if (m_controlLostHandler != 0) {
        g_signal_handler_disconnect(arv_camera_get_device(m_camera.get()), m_controlLostHandler);
    }
}

bool StreamSession::receivesWithPacketSockets()
{
    // Aravis receives a GigE Vision stream through a packet socket with a ring buffer
    // shared with the kernel when the process may open one (CAP_NET_RAW), and through
    // a plain UDP socket otherwise, which drops packets when the receiving thread is
    // late. The capability is bit 13 of the effective set.
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return false;
    }
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("CapEff:")) {
            constexpr qulonglong netRawCapability = 1ULL << 13;
            return line.mid(7).trimmed().toULongLong(nullptr, 16) & netRawCapability;
        }
    }
    return false;
}

bool StreamSession::open(const CameraDescription& camera, double frameRate, QString* message)
{
    ArvError error;
    m_camera.reset(newCamera(camera, error));
    if (!m_camera) {
        *message
            = tr("Cannot open the camera %1: %2").arg(isolatedText(camera.idText()), isolatedText(error.message()));
        return false;
    }
    ArvDevice* device = arv_camera_get_device(m_camera.get());
    m_controlLostHandler = g_signal_connect(device, "control-lost", G_CALLBACK(&StreamSession::onControlLost), this);
    if (camera.isGigE()) {
        m_ipConfiguration = readIpConfiguration(device);
    }
    arv_camera_set_acquisition_mode(m_camera.get(), ARV_ACQUISITION_MODE_CONTINUOUS, error.out());
    if (!error.failed() && frameRate > 0.0) {
        arv_camera_set_frame_rate(m_camera.get(), frameRate, error.out());
    }
    if (error.failed() || !createStream(error)) {
        *message = tr("Cannot set up streaming from the camera %1: %2")
                       .arg(isolatedText(camera.idText()), isolatedText(error.message()));
        return false;
    }
    arv_camera_start_acquisition(m_camera.get(), error.out());
    m_acquiring = !error.failed();
    if (!m_acquiring) {
        *message
            = tr("Cannot start the camera %1: %2").arg(isolatedText(camera.idText()), isolatedText(error.message()));
    }
    return m_acquiring;
}

CameraSettings StreamSession::readSettings()
{
    CameraSettings settings;
    ArvCamera* camera = m_camera.get();
    const auto read = [camera](CameraFeature* feature, auto isAvailable, auto getBounds, auto getValue) {
        ArvError error;
        feature->available = isAvailable(camera, error.out()) && !error.failed();
        if (feature->available) {
            getBounds(camera, &feature->minimum, &feature->maximum, error.out());
            feature->value = getValue(camera, error.out());
            feature->available = !error.failed();
        }
    };
    read(&settings.frameRate, arv_camera_is_frame_rate_available, arv_camera_get_frame_rate_bounds,
        arv_camera_get_frame_rate);
    read(&settings.exposureTime, arv_camera_is_exposure_time_available, arv_camera_get_exposure_time_bounds,
        arv_camera_get_exposure_time);
    read(&settings.gain, arv_camera_is_gain_available, arv_camera_get_gain_bounds, arv_camera_get_gain);
    ArvError error;
    settings.pixelFormat = QString::fromLatin1(arv_camera_get_pixel_format_as_string(camera, error.out()));
    guint count = 0;
    const char** names = arv_camera_dup_available_pixel_formats_as_strings(camera, &count, error.out());
    for (guint i = 0; names && i < count; ++i) {
        settings.pixelFormats.append(QString::fromLatin1(names[i]));
    }
    g_free(names);
    readImageGeometry(camera, &settings);
    readAutomaticModes(camera, &settings);
    return settings;
}

bool StreamSession::apply(const SettingsChange& change, QString* message)
{
    ArvCamera* camera = m_camera.get();
    QStringList refused;
    const auto set = [&refused, camera](const QString& what, double value, auto setter) {
        ArvError error;
        setter(camera, value, error.out());
        noteRefusal(&refused, what, error);
    };
    const auto setAutomatic = [&refused, camera](const QString& what, bool on, auto setter) {
        ArvError error;
        setter(camera, on ? ARV_AUTO_CONTINUOUS : ARV_AUTO_OFF, error.out());
        noteRefusal(&refused, what, error);
    };
    if (change.autoExposure) {
        setAutomatic(tr("automatic exposure"), *change.autoExposure, arv_camera_set_exposure_time_auto);
    }
    if (change.autoGain) {
        setAutomatic(tr("automatic gain"), *change.autoGain, arv_camera_set_gain_auto);
    }
    if (change.frameRate >= 0.0) {
        set(tr("frame rate"), change.frameRate, arv_camera_set_frame_rate);
    }
    if (change.exposureTime >= 0.0) {
        set(tr("exposure time"), change.exposureTime, arv_camera_set_exposure_time);
    }
    if (change.gain >= 0.0) {
        set(tr("gain"), change.gain, arv_camera_set_gain);
    }
    if (change.frameRate >= 0.0 && m_stream) {
        provideBuffers();
    }
    if (change.resizesFrames()) {
        ArvError error;
        arv_camera_stop_acquisition(camera, error.out());
        m_acquiring = false;
        closeStream();
        applyFrameLayout(change, &refused);
        // With the old layout where the new one was refused.
        if (createStream(error)) {
            arv_camera_start_acquisition(camera, error.out());
            m_acquiring = !error.failed();
        }
        if (!m_acquiring) {
            *message = tr("The stream did not restart: %1").arg(error.message());
            return false;
        }
    }
    *message = refused.join(QStringLiteral("; "));
    return refused.isEmpty();
}

void StreamSession::applyFrameLayout(const SettingsChange& change, QStringList* refused)
{
    ArvCamera* camera = m_camera.get();
    // -1 leaves a value of Aravis's setters alone.
    const auto whole = [](double value) { return value >= 0.0 ? qRound(value) : -1; };
    if (!change.pixelFormat.isEmpty()) {
        ArvError error;
        arv_camera_set_pixel_format_from_string(camera, change.pixelFormat.toLatin1().constData(), error.out());
        noteRefusal(refused, tr("pixel format"), error);
    }
    // Binning first: it changes the bounds of the region.
    if (change.binningHorizontal >= 0.0 || change.binningVertical >= 0.0) {
        ArvError error;
        arv_camera_set_binning(camera, whole(change.binningHorizontal), whole(change.binningVertical), error.out());
        noteRefusal(refused, tr("binning"), error);
    }
    if (change.offsetX >= 0.0 || change.offsetY >= 0.0 || change.width >= 0.0 || change.height >= 0.0) {
        ArvError error;
        arv_camera_set_region(camera, whole(change.offsetX), whole(change.offsetY), whole(change.width),
            whole(change.height), error.out());
        noteRefusal(refused, tr("region of interest"), error);
    }
}

// Called by Aravis's receiving thread after it put a buffer in the stream's output queue.
void StreamSession::onNewBuffer(ArvStream* stream, gpointer session)
{
    auto* self = static_cast<StreamSession*>(session);
    while (ArvBuffer* buffer = arv_stream_try_pop_buffer(stream)) {
        LentBuffer lent(buffer, self->m_bufferReturn);
        self->m_bufferHandler(lent, std::exchange(self->m_streamFresh, false));
    }
}

bool StreamSession::holdsFrame(ArvBuffer* buffer)
{
    // New buffers start cleared and unstamped, and a whole frame always had its leader, so a stamp. An
    // incomplete frame may have lost its leader: one handed back untouched after an incomplete frame
    // looks the same and counts as another incomplete frame.
    const ArvBufferStatus status = arv_buffer_get_status(buffer);
    return status != ARV_BUFFER_STATUS_CLEARED
        && (status != ARV_BUFFER_STATUS_SUCCESS || arv_buffer_get_system_timestamp(buffer) != 0);
}

bool StreamSession::createStream(ArvError& error)
{
    const guint payload = arv_camera_get_payload(m_camera.get(), error.out());
    if (error.failed()) {
        return false;
    }
    m_stream.reset(arv_camera_create_stream(m_camera.get(), nullptr, nullptr, error.out()));
    if (!m_stream) {
        return false;
    }
    if (ARV_IS_GV_STREAM(m_stream.get())) {
        // A socket buffer of one frame keeps frames whole when the machine is busy.
        g_object_set(m_stream.get(), "socket-buffer", ARV_GV_STREAM_SOCKET_BUFFER_AUTO, nullptr);
    }
    m_payload = payload;
    m_bufferReturn = std::make_shared<BufferReturn>(m_stream.get());
    m_bufferCount = 0;
    provideBuffers();
    m_streamFresh = true;
    g_signal_connect(m_stream.get(), "new-buffer", G_CALLBACK(&StreamSession::onNewBuffer), this);
    arv_stream_set_emit_signals(m_stream.get(), TRUE);
    return true;
}

void StreamSession::closeStream()
{
    if (m_stream) {
        // Aravis emits under the lock this takes: a handler still running ends first, and none starts after.
        arv_stream_set_emit_signals(m_stream.get(), FALSE);
        // Buffers still kept for images are freed when their images go.
        m_bufferReturn->close();
        m_bufferReturn.reset();
        m_stream.reset();
    }
}

guint StreamSession::wantedBufferCount() const
{
    ArvError error;
    const double frameRate = arv_camera_get_frame_rate(m_camera.get(), error.out());
    const guint ringFrames = packetRingBytes / std::max<guint>(m_payload, 1);
    const guint forRate
        = !error.failed() && frameRate > 0.0 ? guint(std::ceil(frameRate * bufferedSeconds)) : ringFrames;
    return std::max(minBufferCount, std::min(forRate, ringFrames)) + keptBufferCount;
}

void StreamSession::provideBuffers()
{
    for (const guint wanted = wantedBufferCount(); m_bufferCount < wanted; ++m_bufferCount) {
        arv_stream_push_buffer(m_stream.get(), newFaultedInBuffer(m_payload));
    }
}

// Called by Aravis's heartbeat thread when the camera stops answering.
void StreamSession::onControlLost(ArvDevice*, gpointer session)
{
    static_cast<StreamSession*>(session)->m_controlLost = true;
}
