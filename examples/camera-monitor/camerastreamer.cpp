// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "camerastreamer.h"

#include "aravis_p.h"
#include "latestframe.h"
#include "pixelconversion.h"
#include "streamfigures.h"

#include <TavixQtBase/errorreporting.h>

#include <QElapsedTimer>
#include <QMutexLocker>
#include <QSet>

#include <cstring>
#include <ctime>
#include <utility>

#include <ifaddrs.h>
#include <netinet/in.h>

namespace {

constexpr guint64 popTimeoutUs = 100 * 1000;
constexpr qint64 silenceLimitMs = 3000;
constexpr qint64 reportIntervalMs = 2000;
constexpr int bufferCount = 16;
constexpr int openLockWaitMs = 1000;

QString reportSource()
{
    return QStringLiteral("camera-monitor");
}

/** The streamers handed to CameraStreamer::release() that are not deleted yet; GUI thread only. */
QSet<CameraStreamer*>& releasedStreamers()
{
    static QSet<CameraStreamer*> streamers;
    return streamers;
}

QString bufferStatusText(ArvBufferStatus status)
{
    switch (status) {
    case ARV_BUFFER_STATUS_TIMEOUT:
        return CameraStreamer::tr("timed out before all packets arrived");
    case ARV_BUFFER_STATUS_MISSING_PACKETS:
        return CameraStreamer::tr("packets are missing");
    case ARV_BUFFER_STATUS_WRONG_PACKET_ID:
        return CameraStreamer::tr("a packet had a wrong id");
    case ARV_BUFFER_STATUS_SIZE_MISMATCH:
        return CameraStreamer::tr("the image does not fit the buffer");
    case ARV_BUFFER_STATUS_ABORTED:
        return CameraStreamer::tr("the transfer was aborted");
    default:
        return CameraStreamer::tr("status %1").arg(static_cast<int>(status));
    }
}

/**
 * Reports the first fault of a kind at once and the faults that follow within
 * the next two seconds as one summary, so a burst yields a report every two
 * seconds, not one per frame.
 */
class ReportThrottle
{
public:
    explicit ReportThrottle(const QString& title)
        : m_title(title)
    {
    }

    /** Notes @p count faults described by @p message. */
    void note(const QString& message, unsigned long long count)
    {
        m_pending += count;
        m_latest = message;
        flush();
    }

    /** Reports the pending faults if the last report is two seconds old. */
    void flush()
    {
        if (m_pending == 0 || (m_sinceReport.isValid() && m_sinceReport.elapsed() < reportIntervalMs)) {
            return;
        }
        const QString message = m_pending == 1 || !m_sinceReport.isValid()
            ? m_latest
            : CameraStreamer::tr("%1 in the last %2 s, the latest: %3")
                  .arg(m_pending)
                  .arg(m_sinceReport.elapsed() / 1000)
                  .arg(m_latest);
        showWarningMessage(m_title, reportSource(), message, nullptr);
        m_sinceReport.start();
        m_pending = 0;
    }

private:
    const QString m_title;
    QElapsedTimer m_sinceReport;
    unsigned long long m_pending = 0;
    QString m_latest;
};

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

/** One open camera with a running stream; closes both on destruction. */
class StreamSession
{
public:
    StreamSession() = default;
    StreamSession(const StreamSession&) = delete;
    StreamSession& operator=(const StreamSession&) = delete;

    ~StreamSession()
    {
        if (m_acquiring && !m_controlLost) {
            ArvError ignored;
            arv_camera_stop_acquisition(m_camera.get(), ignored.out());
        }
        m_stream.reset();
        if (m_controlLostHandler != 0) {
            g_signal_handler_disconnect(arv_camera_get_device(m_camera.get()), m_controlLostHandler);
        }
    }

    /** Opens the camera and starts streaming; on failure returns false and sets @p message. */
    bool open(const CameraDescription& camera, double frameRate, QString* message)
    {
        ArvError error;
        m_camera.reset(newCamera(camera, error));
        if (!m_camera) {
            *message = CameraStreamer::tr("Cannot open the camera %1: %2")
                           .arg(isolatedText(camera.idText()), isolatedText(error.message()));
            return false;
        }
        ArvDevice* device = arv_camera_get_device(m_camera.get());
        m_controlLostHandler
            = g_signal_connect(device, "control-lost", G_CALLBACK(&StreamSession::onControlLost), this);
        if (camera.isGigE()) {
            m_ipConfiguration = readIpConfiguration(device);
            // Packet sockets see nothing on the loopback interface; plain sockets do.
            if (camera.address.startsWith(QLatin1String("127."))) {
                arv_camera_gv_set_stream_options(m_camera.get(), ARV_GV_STREAM_OPTION_PACKET_SOCKET_DISABLED);
            }
        }
        arv_camera_set_acquisition_mode(m_camera.get(), ARV_ACQUISITION_MODE_CONTINUOUS, error.out());
        if (!error.failed() && frameRate > 0.0) {
            arv_camera_set_frame_rate(m_camera.get(), frameRate, error.out());
        }
        if (error.failed() || !createStream(error)) {
            *message = CameraStreamer::tr("Cannot set up streaming from the camera %1: %2")
                           .arg(isolatedText(camera.idText()), isolatedText(error.message()));
            return false;
        }
        arv_camera_start_acquisition(m_camera.get(), error.out());
        m_acquiring = !error.failed();
        if (!m_acquiring) {
            *message = CameraStreamer::tr("Cannot start the camera %1: %2")
                           .arg(isolatedText(camera.idText()), isolatedText(error.message()));
        }
        return m_acquiring;
    }

    /** The camera's acquisition settings as it reports them now. */
    CameraSettings readSettings()
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
        return settings;
    }

    /**
     * Applies @p change; a new pixel format restarts the stream with buffers of
     * the new size. Returns false with @p message set when the camera refused
     * a setting or the stream could not restart.
     */
    bool apply(const SettingsChange& change, QString* message)
    {
        ArvCamera* camera = m_camera.get();
        QStringList refused;
        const auto set = [&refused, camera](const QString& what, double value, auto setter) {
            ArvError error;
            setter(camera, value, error.out());
            if (error.failed()) {
                refused.append(QStringLiteral("%1: %2").arg(what, error.message()));
            }
        };
        if (change.frameRate >= 0.0) {
            set(CameraStreamer::tr("frame rate"), change.frameRate, arv_camera_set_frame_rate);
        }
        if (change.exposureTime >= 0.0) {
            set(CameraStreamer::tr("exposure time"), change.exposureTime, arv_camera_set_exposure_time);
        }
        if (change.gain >= 0.0) {
            set(CameraStreamer::tr("gain"), change.gain, arv_camera_set_gain);
        }
        if (!change.pixelFormat.isEmpty()) {
            ArvError error;
            arv_camera_stop_acquisition(camera, error.out());
            m_acquiring = false;
            m_stream.reset();
            arv_camera_set_pixel_format_from_string(camera, change.pixelFormat.toLatin1().constData(), error.out());
            if (error.failed()) {
                refused.append(CameraStreamer::tr("pixel format: %1").arg(error.message()));
            }
            // With the old format if the new one was refused.
            if (createStream(error)) {
                arv_camera_start_acquisition(camera, error.out());
                m_acquiring = !error.failed();
            }
            if (!m_acquiring) {
                *message = CameraStreamer::tr("The stream did not restart: %1").arg(error.message());
                return false;
            }
        }
        *message = refused.join(QStringLiteral("; "));
        return refused.isEmpty();
    }

    bool acquiring() const { return m_acquiring; }
    bool controlLost() const { return m_controlLost; }
    long long ipConfiguration() const { return m_ipConfiguration; }
    ArvBuffer* pop() { return m_stream ? arv_stream_timeout_pop_buffer(m_stream.get(), popTimeoutUs) : nullptr; }
    void push(ArvBuffer* buffer) { arv_stream_push_buffer(m_stream.get(), buffer); }
    /** Frames that never reached a buffer: missing in the stream, or without a free buffer. */
    guint64 lostFrames()
    {
        if (!m_stream) {
            return 0;
        }
        return arv_stream_get_info_uint64_by_name(m_stream.get(), "n_missing_frames")
            + arv_stream_get_info_uint64_by_name(m_stream.get(), "n_underruns");
    }

private:
    bool createStream(ArvError& error)
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
        for (int i = 0; i < bufferCount; ++i) {
            arv_stream_push_buffer(m_stream.get(), arv_buffer_new_allocate(payload));
        }
        return true;
    }

    // Called by Aravis's heartbeat thread when the camera stops answering.
    static void onControlLost(ArvDevice*, gpointer session)
    {
        static_cast<StreamSession*>(session)->m_controlLost = true;
    }

    GObjectPtr<ArvCamera> m_camera;
    GObjectPtr<ArvStream> m_stream;
    gulong m_controlLostHandler = 0;
    bool m_acquiring = false;
    std::atomic<bool> m_controlLost { false };
    long long m_ipConfiguration = -1;
};

/** Feeds the figures from the buffers of one stream and reports their faults. */
class FrameCounter
{
public:
    FrameCounter(StreamFigures& figures, LatestFrame& frame)
        : m_figures(figures)
        , m_frame(frame)
        , m_badFrames(CameraStreamer::tr("Incomplete frames"))
        , m_missingFrames(CameraStreamer::tr("Lost frames"))
    {
    }

    void count(ArvBuffer* buffer)
    {
        const ArvBufferStatus status = arv_buffer_get_status(buffer);
        if (status == ARV_BUFFER_STATUS_SUCCESS) {
            size_t size = 0;
            const void* data = arv_buffer_get_data(buffer, &size);
            const int width = arv_buffer_get_image_width(buffer);
            const int height = arv_buffer_get_image_height(buffer);
            m_figures.addFrame(static_cast<unsigned int>(size), width, height);
            if (m_frame.due()) {
                LatestFrame::Frame frame;
                frame.pixelFormat = arv_buffer_get_image_pixel_format(buffer);
                frame.frameId = arv_buffer_get_frame_id(buffer);
                frame.image = imageFromPixels(data, size, width, height, frame.pixelFormat);
                if (m_frame.keepRaw()) {
                    frame.raw = QByteArray(static_cast<const char*>(data), static_cast<int>(size));
                }
                m_frame.put(std::move(frame));
            }
        } else {
            m_figures.addErrors(1);
            m_badFrames.note(
                CameraStreamer::tr("Frame %1: %2").arg(arv_buffer_get_frame_id(buffer)).arg(bufferStatusText(status)),
                1);
        }
    }

    /** For a new stream of the same camera, whose loss count starts at zero. */
    void restartStream() { m_lostFrames = 0; }

    /** Counts the frames the stream lost so far in all (@p lostFrames) and sends due summaries. */
    void flush(guint64 lostFrames)
    {
        if (lostFrames > m_lostFrames) {
            const guint64 missing = lostFrames - m_lostFrames;
            m_figures.addErrors(missing);
            m_missingFrames.note(CameraStreamer::tr("%1 frames lost").arg(missing), missing);
            m_lostFrames = lostFrames;
        }
        m_badFrames.flush();
        m_missingFrames.flush();
    }

private:
    StreamFigures& m_figures;
    LatestFrame& m_frame;
    ReportThrottle m_badFrames;
    ReportThrottle m_missingFrames;
    guint64 m_lostFrames = 0;
};

} // namespace

CameraStreamer::CameraStreamer(
    const Request& request, std::shared_ptr<StreamFigures> figures, std::shared_ptr<LatestFrame> frame)
    : m_request(request)
    , m_figures(std::move(figures))
    , m_frame(std::move(frame))
{
    qRegisterMetaType<CameraSettings>();
    qRegisterMetaType<CameraDescription>();
    qRegisterMetaType<QList<CameraDescription>>();
    qRegisterMetaType<CameraStreamer::EndReason>();
}

CameraStreamer::~CameraStreamer()
{
    releasedStreamers().remove(this);
}

void CameraStreamer::changeSettings(const SettingsChange& change)
{
    QMutexLocker locker(&m_changeMutex);
    m_change.merge(change);
    m_changePending = true;
}

SettingsChange CameraStreamer::takeSettingsChange()
{
    QMutexLocker locker(&m_changeMutex);
    m_changePending = false;
    return std::exchange(m_change, SettingsChange());
}

void CameraStreamer::release(CameraStreamer* streamer)
{
    streamer->m_stopRequested = true;
    streamer->disconnect();
    releasedStreamers().insert(streamer);
    // Connected before the check, so that a thread ending in between is not missed;
    // a second deleteLater() is harmless.
    connect(streamer, &QThread::finished, streamer, &QObject::deleteLater);
    if (streamer->isFinished()) {
        streamer->deleteLater();
    }
}

bool CameraStreamer::finishReleased(QDeadlineTimer deadline)
{
    const QSet<CameraStreamer*> streamers = releasedStreamers();
    bool allEnded = true;
    for (CameraStreamer* streamer : streamers) {
        if (streamer->wait(deadline)) {
            delete streamer;
        } else {
            allEnded = false;
        }
    }
    return allEnded;
}

void CameraStreamer::run()
{
    QString message;
    const EndReason reason = connectAndStream(&message);
    // Only now, with the camera closed, may the owner start the next connection.
    end(reason, message);
}

CameraStreamer::EndReason CameraStreamer::connectAndStream(QString* message)
{
    const QList<CameraDescription> cameras = discoverCameras();
    Q_EMIT camerasDiscovered(cameras);
    const int index = selectCamera(cameras, m_request.cameraId, m_request.cameraName);
    if (index < 0) {
        const QString name = m_request.cameraId.isEmpty() ? m_request.cameraName
                                                          : isolatedText(cameraText(m_request.cameraId.constData()));
        *message = name.isEmpty() ? tr("No camera found. Is the camera switched on and connected?")
                                  : tr("No camera \"%1\" found among %2 cameras.").arg(name).arg(cameras.size());
        return NoCamera;
    }
    CameraDescription camera = cameras.at(index);
    StreamSession session;
    if (!session.open(camera, m_request.frameRate, message)) {
        return OpenFailed;
    }
    camera.ipConfiguration = session.ipConfiguration();
    Q_EMIT streamingStarted(camera);
    Q_EMIT settingsRead(session.readSettings());

    FrameCounter counter(*m_figures, *m_frame);
    QElapsedTimer sinceLastFrame;
    sinceLastFrame.start();
    bool silenceReported = false;
    while (!m_stopRequested && !session.controlLost()) {
        if (m_changePending) {
            const SettingsChange change = takeSettingsChange();
            QString failure;
            if (!session.apply(change, &failure)) {
                showWarningMessage(tr("Camera settings"), reportSource(),
                    tr("The camera %1 did not take the settings: %2").arg(isolatedText(camera.idText()), failure),
                    nullptr);
            }
            if (!change.pixelFormat.isEmpty()) {
                counter.restartStream();
            }
            // The frames before the change say nothing about the new rate.
            m_figures->restartRate();
            Q_EMIT settingsRead(session.readSettings());
            if (!session.acquiring()) {
                *message = tr("The camera %1 stopped streaming after a change of its settings.")
                               .arg(isolatedText(camera.idText()));
                return OpenFailed;
            }
        }
        if (ArvBuffer* buffer = session.pop()) {
            counter.count(buffer);
            session.push(buffer);
            sinceLastFrame.start();
            silenceReported = false;
        } else if (!silenceReported && sinceLastFrame.elapsed() >= silenceLimitMs) {
            showWarningMessage(tr("No frames"), reportSource(),
                tr("The camera %1 sent no frame for %2 s.")
                    .arg(isolatedText(camera.idText()))
                    .arg(silenceLimitMs / 1000),
                nullptr);
            silenceReported = true;
        }
        counter.flush(session.lostFrames());
        timespec cpu {};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        m_figures->setCpuSeconds(double(cpu.tv_sec) + double(cpu.tv_nsec) / 1e9);
    }
    if (session.controlLost()) {
        *message = tr("Lost the connection to the camera %1.").arg(isolatedText(camera.idText()));
        return ConnectionLost;
    }
    return Stopped;
}

void CameraStreamer::end(EndReason reason, const QString& message)
{
    // A released streamer's owner has moved on; what it finds out later is no news.
    const bool report
        = !m_stopRequested && (reason == ConnectionLost || (reason != Stopped && m_request.reportConnectFailure));
    if (report) {
        showCriticalMessage(tr("Camera"), reportSource(), message, nullptr);
    }
    Q_EMIT streamingEnded(reason, message);
}
