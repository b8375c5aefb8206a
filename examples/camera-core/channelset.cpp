// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "channelset.h"

#include <QDateTime>

ChannelSet::ChannelSet(const Options& options, QObject* parent)
    : QObject(parent)
    , m_options(options)
{
    m_figuresTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_figuresTimer, &QTimer::timeout, this, &ChannelSet::onFiguresTimer);
    m_figuresTimer.start(sampleIntervalMs / 2);
}

ChannelSet::~ChannelSet()
{
    // The channels release their streamers without waiting.
    qDeleteAll(m_channels);
}

void ChannelSet::addFirst()
{
    select(addChannel(QByteArray()));
}

CameraChannel* ChannelSet::addChannel(const QByteArray& cameraId)
{
    CameraStreamer::Request request;
    request.cameraName = m_options.cameraName;
    request.cameraId = cameraId;
    request.frameRate = m_options.frameRate;
    auto* channel = new CameraChannel(request, static_cast<int>(m_options.retryIntervalSeconds * 1000));
    channel->frame().setKeepRaw(m_options.keepRawFrames);
    connect(channel, &CameraChannel::imageReady, this, [this, channel] {
        if (channel == m_selected) {
            takeFrame();
        }
    });
    m_channels.append(channel);
    Q_EMIT channelAdded(channel);
    return channel;
}

CameraChannel* ChannelSet::channelFor(const QByteArray& cameraId) const
{
    for (CameraChannel* channel : m_channels) {
        if (channel->cameraId() == cameraId) {
            return channel;
        }
    }
    return nullptr;
}

void ChannelSet::select(CameraChannel* channel)
{
    if (m_selected) {
        m_selected->frame().setWanted(false);
    }
    m_selected = channel;
    channel->frame().setDisplaySize(m_displaySize);
    channel->frame().setWanted(true);
    m_shownFrame = LatestFrame::Frame();
    Q_EMIT selectionChanged();
}

void ChannelSet::setDisplaySize(const QSize& size)
{
    m_displaySize = size;
    if (m_selected) {
        m_selected->frame().setDisplaySize(size);
    }
}

void ChannelSet::activate(const QByteArray& cameraId)
{
    if (CameraChannel* channel = channelFor(cameraId)) {
        select(channel);
        if (!channel->isStreaming()) {
            channel->connectCamera(true);
        }
        return;
    }
    if (!m_options.allCameras) {
        // One camera at a time: the one before lets go of its camera.
        m_channels.removeOne(m_selected);
        delete m_selected;
        m_selected = nullptr;
    }
    CameraChannel* channel = addChannel(cameraId);
    select(channel);
    channel->connectCamera(true);
}

void ChannelSet::openOthers(const QList<CameraDescription>& cameras)
{
    if (!m_options.allCameras) {
        return;
    }
    const int own = m_selected->cameraId().isEmpty() ? selectCamera(cameras, QByteArray(), m_options.cameraName) : -1;
    for (int i = 0; i < cameras.size(); ++i) {
        if (i != own && !channelFor(cameras.at(i).id)) {
            addChannel(cameras.at(i).id)->connectCamera(false);
        }
    }
}

void ChannelSet::stop()
{
    m_figuresTimer.stop();
    for (CameraChannel* channel : qAsConst(m_channels)) {
        channel->stop();
    }
}

void ChannelSet::onFiguresTimer()
{
    for (CameraChannel* channel : qAsConst(m_channels)) {
        channel->readFigures();
    }
    Q_EMIT figuresRead();
    m_sampleDue = !m_sampleDue;
    if (!m_sampleDue) {
        return;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (CameraChannel* channel : qAsConst(m_channels)) {
        channel->sample(now);
    }
    Q_EMIT figuresSampled();
}

void ChannelSet::takeFrame()
{
    if (m_selected->frame().takeNew(&m_shownFrame)) {
        Q_EMIT frameTaken();
    }
}
