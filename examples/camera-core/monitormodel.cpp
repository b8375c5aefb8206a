// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "monitormodel.h"

#include "savedframe.h"

MonitorModel::MonitorModel(const ChannelSet::Options& options, QObject* parent)
    : QObject(parent)
    , m_channels(options)
    , m_imageMessage(tr("No image"))
{
    connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, &m_reports, &ReportList::addReport);
    connect(&m_channels, &ChannelSet::channelAdded, this, &MonitorModel::follow);
    connect(&m_channels, &ChannelSet::selectionChanged, this, &MonitorModel::onSelectionChanged);
    connect(&m_channels, &ChannelSet::figuresRead, this, [this] {
        m_cameras.updateRates(m_channels);
        Q_EMIT figuresRead();
    });
    connect(&m_channels, &ChannelSet::figuresSampled, this, &MonitorModel::figuresSampled);
    connect(&m_channels, &ChannelSet::frameTaken, this, &MonitorModel::onFrameTaken);
    m_channels.addFirst();
}

void MonitorModel::follow(CameraChannel* channel)
{
    connect(channel, &CameraChannel::camerasDiscovered, this, &MonitorModel::onCamerasDiscovered);
    connect(channel, &CameraChannel::streamingStarted, this,
        [this, channel](const CameraDescription& camera) { onChannelStarted(channel, camera); });
    connect(channel, &CameraChannel::stateChanged, this, [this, channel] {
        if (channel == selected()) {
            Q_EMIT stateChanged();
        }
    });
    connect(channel, &CameraChannel::settingsRead, this, [this, channel] {
        if (channel == selected()) {
            Q_EMIT settingsChanged();
        }
    });
}

void MonitorModel::onSelectionChanged()
{
    m_imageMessage = tr("No image");
    // A camera not opened yet leaves the last one named until it streams.
    if (!selected()->camera().id.isEmpty()) {
        nameCamera(selected()->camera());
    }
    Q_EMIT selectionChanged();
    Q_EMIT imageChanged();
    Q_EMIT cameraChanged();
    Q_EMIT stateChanged();
    Q_EMIT settingsChanged();
    Q_EMIT selectedRowChanged();
}

void MonitorModel::nameCamera(const CameraDescription& camera)
{
    m_cameraText = QStringLiteral("%1, %2").arg(isolatedText(camera.idText()), camera.address);
}

void MonitorModel::onCamerasDiscovered(const QList<CameraDescription>& cameras)
{
    m_cameras.setCameras(cameras);
    m_cameras.updateRates(m_channels);
    Q_EMIT selectedRowChanged();
    m_channels.openOthers(cameras);
}

void MonitorModel::onChannelStarted(CameraChannel* channel, const CameraDescription& camera)
{
    m_cameras.noteOpened(camera);
    if (channel == selected()) {
        nameCamera(camera);
        Q_EMIT cameraChanged();
        Q_EMIT selectedRowChanged();
        Q_EMIT selectedStarted(camera);
    }
    Q_EMIT streamingStarted(visibleText(camera.idText()));
}

void MonitorModel::onFrameTaken()
{
    const LatestFrame::Frame& frame = m_channels.shownFrame();
    m_imageMessage.clear();
    if (frame.image.isNull() && frame.pixelFormat != 0) {
        m_imageMessage = tr("The pixel format 0x%1 cannot be shown.").arg(frame.pixelFormat, 8, 16, QLatin1Char('0'));
    }
    Q_EMIT imageChanged();
}

int MonitorModel::selectedRow() const
{
    return selected()->isStreaming() ? m_cameras.rowOf(selected()->cameraId()) : -1;
}

void MonitorModel::reconnect()
{
    selected()->connectCamera(true);
}

void MonitorModel::openCamera(int row)
{
    if (row >= 0 && row < m_cameras.rowCount()) {
        m_channels.activate(m_cameras.camera(row).id);
    }
}

bool MonitorModel::changeSetting(const QString& key, const QVariant& value)
{
    const CameraSetting* setting = findCameraSetting(key);
    const std::optional<SettingsChange> change
        = setting && selected()->isStreaming() ? settingChange(*setting, selected()->settings(), value) : std::nullopt;
    if (!change) {
        return false;
    }
    selected()->changeSettings(*change);
    // The image is turned from the next frame on; the settings show it at once.
    Q_EMIT settingsChanged();
    return true;
}

bool MonitorModel::saveImage(const QString& path) const
{
    return saveFrame(m_channels.shownFrame(), path);
}
