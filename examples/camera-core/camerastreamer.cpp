// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "camerastreamer.h"

#include "aravis_p.h"
#include "fittedimage.h"
#include "latestframe.h"
#include "pixelconversion.h"
#include "streamfigures.h"
#include "streamsession.h"

#include <TavixQtBase/errorreporting.h>

#include <QElapsedTimer>
#include <QMutexLocker>
#include <QSet>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <future>
#include <limits>
#include <optional>
#include <utility>

namespace {

constexpr qint64 silenceLimitMs = 3000;
constexpr qint64 reportIntervalMs = 2000;
// How often the streaming thread looks for silence and sends due summaries when nothing wakes it.
constexpr std::chrono::milliseconds requestWait(100);

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

/**
 * Feeds the figures from the buffers of one stream and reports their faults. Aravis's receiving
 * thread counts the buffers, the streaming thread sends the summaries and watches for silence.
 */
class FrameCounter
{
public:
    /** @p imagePut is called after an image is put that the GUI must be told of. */
    FrameCounter(StreamFigures& figures, LatestFrame& frame, std::function<void()> imagePut)
        : m_figures(figures)
        , m_frame(frame)
        , m_imagePut(std::move(imagePut))
        , m_badFrames(CameraStreamer::tr("Incomplete frames"))
        , m_missingFrames(CameraStreamer::tr("Lost frames"))
        , m_foreignData(CameraStreamer::tr("Stream data"))
    {
        m_sinceLastFrame.start();
    }

    /**
     * Counts the frame in @p buffer, if it holds one, and the CPU time of the calling thread. The first
     * buffer of a stream starts the frame ids anew.
     */
    void count(LentBuffer& buffer, bool firstOfStream)
    {
        QMutexLocker locker(&m_mutex);
        if (firstOfStream) {
            m_lastFrameId.reset();
        }
        if (countFrame(buffer)) {
            m_sinceLastFrame.start();
        }
        // A thread's CPU time takes a system call: read it ten times a second, not for every buffer.
        if (firstOfStream || !m_sinceCpuRead.isValid() || m_sinceCpuRead.hasExpired(100)) {
            m_sinceCpuRead.start();
            timespec cpu {};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
            m_figures.setCpuSeconds(double(cpu.tv_sec) + double(cpu.tv_nsec) / 1e9);
        }
    }

    /** Sends the summaries that are due. */
    void flush()
    {
        QMutexLocker locker(&m_mutex);
        m_badFrames.flush();
        m_missingFrames.flush();
        m_foreignData.flush();
    }

    /** Milliseconds since the last frame, or since the stream started. */
    qint64 silence() const
    {
        QMutexLocker locker(&m_mutex);
        return m_sinceLastFrame.elapsed();
    }

private:
    /**
     * Counts the frame in @p lent, and keeps the buffer for an image when one is due; false, with nothing
     * counted, when it holds no frame.
     */
    bool countFrame(LentBuffer& lent)
    {
        ArvBuffer* buffer = lent.get();
        if (!StreamSession::holdsFrame(buffer)) {
            m_foreignData.note(
                CameraStreamer::tr("Ignored a stream packet that starts no frame the monitor can receive."), 1);
            return false;
        }
        const ArvBufferStatus status = arv_buffer_get_status(buffer);
        if (status == ARV_BUFFER_STATUS_SUCCESS) {
            countMissedFrames(arv_buffer_get_frame_id(buffer));
            size_t size = 0;
            const void* data = arv_buffer_get_data(buffer, &size);
            const int width = arv_buffer_get_image_width(buffer);
            const int height = arv_buffer_get_image_height(buffer);
            m_figures.addFrame(static_cast<unsigned int>(size), width, height);
            const LatestFrame::Clock::time_point now = LatestFrame::Clock::now();
            if (m_frame.due(now)) {
                LatestFrame::Frame frame;
                frame.pixelFormat = arv_buffer_get_image_pixel_format(buffer);
                frame.frameId = arv_buffer_get_frame_id(buffer);
                if (m_frame.keepRaw()) {
                    frame.raw = QByteArray(static_cast<const char*>(data), static_cast<int>(size));
                }
                // Last use of the buffer but through the image: an image that does not keep it gives it back.
                frame.image = orientedImage(
                    imageOnPixels(data, size, width, height, frame.pixelFormat, &LentBuffer::release, lent.keep()),
                    m_frame.orientation());
                frame.fitted = fittedImage(frame.image, m_frame.displaySize());
                if (m_frame.put(std::move(frame), now)) {
                    m_imagePut();
                }
            }
        } else {
            ++m_incompleteSinceLastFrame;
            m_figures.addErrors(1);
            m_badFrames.note(
                CameraStreamer::tr("Frame %1: %2").arg(arv_buffer_get_frame_id(buffer)).arg(bufferStatusText(status)),
                1);
        }
        return true;
    }

    /**
     * Counts the frames that never arrived between the last whole frame and the whole frame @p frameId:
     * those the network lost and those that found no free buffer (which Aravis counts per packet, not per
     * frame). Only whole frames are sure to carry their id; the incomplete ones between are counted already.
     */
    void countMissedFrames(guint64 frameId)
    {
        const guint64 between = m_lastFrameId ? framesBetween(*m_lastFrameId, frameId) : 0;
        const guint64 missed = between - std::min(between, m_incompleteSinceLastFrame);
        m_lastFrameId = frameId;
        m_incompleteSinceLastFrame = 0;
        if (missed > 0) {
            m_figures.addErrors(missed);
            const int shownCount = int(std::min<guint64>(missed, std::numeric_limits<int>::max()));
            m_missingFrames.note(CameraStreamer::tr("%n frame(s) lost", nullptr, shownCount), missed);
        }
    }

    mutable QMutex m_mutex; ///< guards all that follows
    StreamFigures& m_figures;
    LatestFrame& m_frame;
    const std::function<void()> m_imagePut;
    ReportThrottle m_badFrames;
    ReportThrottle m_missingFrames;
    ReportThrottle m_foreignData;
    std::optional<guint64> m_lastFrameId; ///< of the last whole frame
    guint64 m_incompleteSinceLastFrame = 0;
    QElapsedTimer m_sinceLastFrame;
    QElapsedTimer m_sinceCpuRead;
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
    const std::lock_guard<std::mutex> locker(m_changeMutex);
    m_change.merge(change);
    m_changePending = true;
    m_requested.notify_all();
}

void CameraStreamer::waitForRequest()
{
    std::unique_lock<std::mutex> locker(m_changeMutex);
    m_requested.wait_for(locker, requestWait, [this] { return m_changePending || m_stopRequested; });
}

SettingsChange CameraStreamer::takeSettingsChange()
{
    const std::lock_guard<std::mutex> locker(m_changeMutex);
    m_changePending = false;
    return std::exchange(m_change, SettingsChange());
}

void CameraStreamer::release(CameraStreamer* streamer)
{
    {
        const std::lock_guard<std::mutex> locker(streamer->m_changeMutex);
        streamer->m_stopRequested = true;
        streamer->m_requested.notify_all();
    }
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
    // Discovery waits a second for answers. A camera named by its address is asked directly in the meantime,
    // so that it streams a second earlier; the list of cameras follows when discovery ends. Leaving this
    // function waits for the discovery.
    std::future<QList<CameraDescription>> discovery = std::async(std::launch::async, [this] {
        QList<CameraDescription> cameras = discoverCameras();
        Q_EMIT camerasDiscovered(cameras);
        return cameras;
    });
    std::optional<CameraDescription> named
        = m_request.cameraId.isEmpty() ? askCameraAt(m_request.cameraName) : std::nullopt;
    if (!named) {
        const QList<CameraDescription> cameras = discovery.get();
        const int index = selectCamera(cameras, m_request.cameraId, m_request.cameraName);
        if (index < 0) {
            const QString name = m_request.cameraId.isEmpty()
                ? m_request.cameraName
                : isolatedText(cameraText(m_request.cameraId.constData()));
            *message = name.isEmpty() ? tr("No camera found. Is the camera switched on and connected?")
                                      : tr("No camera \"%1\" found among %2 cameras.").arg(name).arg(cameras.size());
            return NoCamera;
        }
        named = cameras.at(index);
    }
    CameraDescription& camera = *named;
    // Declared before the session, whose destruction waits for the last buffer it counts.
    FrameCounter counter(*m_figures, *m_frame, [this] { Q_EMIT imageReady(); });
    StreamSession session([&counter](LentBuffer& buffer, bool firstOfStream) { counter.count(buffer, firstOfStream); });
    if (!session.open(camera, m_request.frameRate, message)) {
        return OpenFailed;
    }
    camera.ipConfiguration = session.ipConfiguration();
    Q_EMIT streamingStarted(camera);
    Q_EMIT settingsRead(session.readSettings());

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
            // The frames before the change say nothing about the new rate.
            m_figures->restartRate();
            Q_EMIT settingsRead(session.readSettings());
            if (!session.acquiring()) {
                *message = tr("The camera %1 stopped streaming after a change of its settings.")
                               .arg(isolatedText(camera.idText()));
                return OpenFailed;
            }
        }
        waitForRequest();
        if (counter.silence() < silenceLimitMs) {
            silenceReported = false;
        } else if (!silenceReported) {
            showWarningMessage(tr("No frames"), reportSource(),
                tr("The camera %1 sent no frame for %2 s.")
                    .arg(isolatedText(camera.idText()))
                    .arg(silenceLimitMs / 1000),
                nullptr);
            silenceReported = true;
        }
        counter.flush();
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
