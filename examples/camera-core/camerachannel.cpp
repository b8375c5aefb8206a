// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "camerachannel.h"

#include <QVariant>

namespace {

/** What names a camera among the remembered settings: its serial number, else its MAC address, else its id. */
QString settingsKey(const CameraDescription& camera)
{
    if (!camera.serialNumber.isEmpty()) {
        return camera.serialNumber;
    }
    return camera.macAddress.isEmpty() ? camera.idText() : camera.macAddress;
}

} // namespace

CameraChannel::CameraChannel(const CameraStreamer::Request& request, int retryIntervalMs, QObject* parent)
    : QObject(parent)
    , m_request(request)
    , m_figures(std::make_shared<StreamFigures>())
    , m_frame(std::make_shared<LatestFrame>())
    , m_cameraId(request.cameraId)
{
    m_retryTimer.setSingleShot(true);
    m_retryTimer.setInterval(retryIntervalMs);
    connect(&m_retryTimer, &QTimer::timeout, this, [this] { connectCamera(false); });
}

CameraChannel::~CameraChannel()
{
    stop();
    // A released stream's thread may still deliver frames: detach it from the
    // FrameRate before that child goes.
    m_figures->setRateFeed(nullptr);
}

void CameraChannel::setFrameRate(QObject* frameRate)
{
    FrameRateFeed* const feed = qobject_cast<FrameRateFeed*>(frameRate);
    if (!feed) {
        return;
    }
    frameRate->setParent(this);
    m_frameRate = frameRate;
    m_figures->setRateFeed(feed);
}

void CameraChannel::connectCamera(bool reportFailure)
{
    stop();
    setState(tr("Looking for cameras..."));
    m_request.reportConnectFailure = reportFailure;
    m_streamer = new CameraStreamer(m_request, m_figures, m_frame);
    connect(m_streamer, &CameraStreamer::camerasDiscovered, this, [this](const QList<CameraDescription>& cameras) {
        // A camera named by its address may stream before discovery ends.
        if (!m_streaming) {
            setState(tr("Connecting..."));
        }
        Q_EMIT camerasDiscovered(cameras);
    });
    connect(m_streamer, &CameraStreamer::streamingStarted, this, [this](const CameraDescription& camera) {
        m_figures->restart();
        if (m_frameRate) {
            QMetaObject::invokeMethod(m_frameRate, "restart");
        }
        if (m_frame->clear()) {
            Q_EMIT imageReady();
        }
        m_camera = camera;
        m_cameraId = camera.id;
        // A reconnection opens this camera again, whatever the name asked for finds then.
        m_request.cameraId = camera.id;
        m_streaming = true;
        setState(tr("Streaming"));
        applyRememberedSettings();
        Q_EMIT streamingStarted(camera);
    });
    connect(m_streamer, &CameraStreamer::settingsRead, this, [this](const CameraSettings& settings) {
        m_settings = settings;
        m_settings.orientation = m_frame->orientation();
        Q_EMIT settingsRead(m_settings);
    });
    connect(m_streamer, &CameraStreamer::imageReady, this, &CameraChannel::imageReady);
    connect(m_streamer, &CameraStreamer::streamingEnded, this, &CameraChannel::onStreamingEnded);
    m_streamer->start();
}

void CameraChannel::stop()
{
    m_retryTimer.stop();
    m_streaming = false;
    if (m_streamer) {
        // Never waits: a camera may hold the thread in Aravis for minutes.
        CameraStreamer::release(m_streamer);
        m_streamer = nullptr;
    }
}

void CameraChannel::onStreamingEnded(CameraStreamer::EndReason reason, const QString& message)
{
    m_streaming = false;
    if (reason == CameraStreamer::Stopped) {
        setState(tr("Stopped"));
        return;
    }
    if (m_retryTimer.interval() > 0) {
        setState(tr("%1 Retrying every %2 s.").arg(message).arg(m_retryTimer.interval() / 1000.0));
        m_retryTimer.start();
    } else {
        setState(tr("%1 Use File > Reconnect to try again.").arg(message));
    }
}

void CameraChannel::setState(const QString& state)
{
    m_state = state;
    Q_EMIT stateChanged(state);
}

void CameraChannel::readFigures()
{
    m_figuresNow = m_figures->snapshot();
    if (m_frameRate) {
        m_figuresNow.hasRate = m_frameRate->property("valid").toBool();
        m_figuresNow.framesPerSecond = m_frameRate->property("framesPerSecond").toDouble();
        m_figuresNow.bytesPerSecond
            = static_cast<unsigned long long>(m_frameRate->property("amountPerSecond").toDouble());
    }
}

void CameraChannel::sample(qint64 msecsSinceEpoch)
{
    const StreamFigures::Snapshot& figures = m_figuresNow;
    RatePoint point;
    point.msecsSinceEpoch = msecsSinceEpoch;
    point.framesPerSecond = figures.hasRate ? figures.framesPerSecond : 0.0;
    point.bytesPerSecond = figures.hasRate ? double(figures.bytesPerSecond) : 0.0;
    point.restarted = !m_history.isEmpty() && figures.restarts != m_lastSample.restarts;
    // No frame in the whole second: a stall, whatever the statistic still extrapolates.
    point.stalled = !m_streaming || figures.images == m_lastSample.images;
    m_history.append(point);
    if (m_history.size() > RatePoint::maxPoints) {
        m_history.removeFirst();
    }
    m_lastSample = figures;
}

void CameraChannel::changeSettings(const SettingsChange& change)
{
    if (change.orientation) {
        m_frame->setOrientation(*change.orientation);
        m_settings.orientation = *change.orientation;
    }
    if (!m_camera.id.isEmpty()) {
        rememberSettings(settingsKey(m_camera), change);
    }
    // A turn of the image alone leaves the camera and its rate statistic alone.
    if (m_streamer && !change.leavesCamera()) {
        m_streamer->changeSettings(change);
    }
}

void CameraChannel::applyRememberedSettings()
{
    const SettingsChange remembered = rememberedSettings(settingsKey(m_camera));
    m_frame->setOrientation(remembered.orientation.value_or(ImageOrientation()));
    if (!remembered.leavesCamera()) {
        m_streamer->changeSettings(remembered);
    }
}
