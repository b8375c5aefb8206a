// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "monitorcontroller.h"

#include "savedframe.h"

#include <TavixQtBase/stringhelpers.h>

#include <QJSEngine>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSettings>

#include <optional>

namespace {

MonitorController* s_instance = nullptr;

enum CameraRole {
    IdRole = Qt::UserRole,
    NameRole,
    DamagedRole,
    ModelRole,
    SerialNumberRole,
    MacAddressRole,
    AddressRole,
    GigERole,
    IpConfigurationRole, ///< the library's bits, see CameraDescription::ipConfigurationMethods()
    IpConfigurationBitsRole, ///< as the camera reported them; -1 until it is open
    HasRateRole,
    FramesPerSecondRole,
    BytesPerSecondRole
};

/** A number setting of the camera: its name in QML and in scripted actions, where it is read and asked for. */
struct NumberSetting
{
    const char* name;
    CameraFeature CameraSettings::*reported;
    double SettingsChange::*change;
};

constexpr NumberSetting numberSettings[] = {
    { "frame-rate", &CameraSettings::frameRate, &SettingsChange::frameRate },
    { "exposure-time", &CameraSettings::exposureTime, &SettingsChange::exposureTime },
    { "gain", &CameraSettings::gain, &SettingsChange::gain },
    { "offset-x", &CameraSettings::offsetX, &SettingsChange::offsetX },
    { "offset-y", &CameraSettings::offsetY, &SettingsChange::offsetY },
    { "width", &CameraSettings::width, &SettingsChange::width },
    { "height", &CameraSettings::height, &SettingsChange::height },
    { "binning-horizontal", &CameraSettings::binningHorizontal, &SettingsChange::binningHorizontal },
    { "binning-vertical", &CameraSettings::binningVertical, &SettingsChange::binningVertical },
};

struct SwitchSetting
{
    const char* name;
    CameraSwitch CameraSettings::*reported;
    std::optional<bool> SettingsChange::*change;
};

constexpr SwitchSetting switchSettings[] = {
    { "auto-exposure", &CameraSettings::autoExposure, &SettingsChange::autoExposure },
    { "auto-gain", &CameraSettings::autoGain, &SettingsChange::autoGain },
};

struct FlipSetting
{
    const char* name;
    bool ImageOrientation::*flip;
};

constexpr FlipSetting flipSettings[] = {
    { "flip-horizontal", &ImageOrientation::flipHorizontal },
    { "flip-vertical", &ImageOrientation::flipVertical },
};

/** @p orientation with the flip or rotation @p name set to @p value; nullopt for another name or a bad angle. */
std::optional<ImageOrientation> turnedOrientation(
    ImageOrientation orientation, const QString& name, const QVariant& value)
{
    for (const FlipSetting& setting : flipSettings) {
        if (name == QLatin1String(setting.name)) {
            orientation.*setting.flip = value.toBool();
            return orientation;
        }
    }
    const int rotation = value.toInt();
    if (name != QLatin1String("rotation") || rotation % 90 != 0 || rotation < 0 || rotation >= 360) {
        return std::nullopt;
    }
    orientation.rotation = rotation;
    return orientation;
}

/**
 * The change that sets @p name (a key of MonitorController::settings) to @p value on a camera that
 * reported @p reported, a number within the camera's bounds; nullopt when the camera has no such setting.
 */
std::optional<SettingsChange> settingsChange(const CameraSettings& reported, const QString& name, const QVariant& value)
{
    SettingsChange change;
    for (const NumberSetting& setting : numberSettings) {
        const CameraFeature& feature = reported.*setting.reported;
        if (name == QLatin1String(setting.name)) {
            if (!feature.available) {
                return std::nullopt;
            }
            change.*setting.change = qBound(feature.minimum, value.toDouble(), feature.maximum);
            return change;
        }
    }
    for (const SwitchSetting& setting : switchSettings) {
        if (name == QLatin1String(setting.name)) {
            if (!(reported.*setting.reported).available) {
                return std::nullopt;
            }
            change.*setting.change = value.toBool();
            return change;
        }
    }
    if (name == QLatin1String("pixel-format")) {
        if (!reported.pixelFormats.contains(value.toString())) {
            return std::nullopt;
        }
        change.pixelFormat = value.toString();
        return change;
    }
    change.orientation = turnedOrientation(reported.orientation, name, value);
    return change.orientation ? std::optional<SettingsChange>(change) : std::nullopt;
}

QString binaryPrefixesKey()
{
    return QStringLiteral("MainWindow/binaryPrefixes");
}

QVariantMap settingEntry(bool available, const QVariant& value)
{
    return { { QStringLiteral("available"), available }, { QStringLiteral("value"), value } };
}

QVariantMap featureEntry(const CameraFeature& feature)
{
    QVariantMap entry = settingEntry(feature.available, feature.value);
    entry.insert(QStringLiteral("minimum"), feature.minimum);
    entry.insert(QStringLiteral("maximum"), feature.maximum);
    return entry;
}

QList<QStandardItem*> cameraItem(const CameraDescription& camera)
{
    const Tavix::CDeviceInfo info = toDeviceInfo(camera);
    auto* item = new QStandardItem;
    item->setData(camera.id, IdRole);
    item->setData(isolatedText(formatDeviceName(&info, FormatDeviceNameFlags())), NameRole);
    item->setData(camera.looksDamaged(), DamagedRole);
    item->setData(isolatedText(camera.model), ModelRole);
    item->setData(isolatedText(camera.serialNumber), SerialNumberRole);
    item->setData(camera.macAddress, MacAddressRole);
    item->setData(camera.address, AddressRole);
    item->setData(camera.isGigE(), GigERole);
    item->setData(camera.ipConfigurationMethods(), IpConfigurationRole);
    item->setData(camera.ipConfiguration, IpConfigurationBitsRole);
    item->setData(false, HasRateRole);
    return { item };
}

} // namespace

MonitorController::MonitorController(const ChannelSet::Options& options, QObject* parent)
    : QObject(parent)
    , m_channels(options)
    , m_binaryPrefixes(QSettings().value(binaryPrefixesKey(), false).toBool())
{
    m_cameras.setItemRoleNames({ { NameRole, "name" }, { DamagedRole, "damaged" }, { ModelRole, "model" },
        { SerialNumberRole, "serialNumber" }, { MacAddressRole, "macAddress" }, { AddressRole, "address" },
        { GigERole, "gigE" }, { IpConfigurationRole, "ipConfiguration" },
        { IpConfigurationBitsRole, "ipConfigurationBits" }, { HasRateRole, "hasRate" },
        { FramesPerSecondRole, "framesPerSecond" }, { BytesPerSecondRole, "bytesPerSecond" } });
    connect(&m_channels, &ChannelSet::channelAdded, this, &MonitorController::follow);
    connect(&m_channels, &ChannelSet::selectionChanged, this, &MonitorController::onSelectionChanged);
    connect(&m_channels, &ChannelSet::figuresRead, this, [this] {
        updateListRates();
        Q_EMIT figuresChanged();
    });
    connect(&m_channels, &ChannelSet::figuresSampled, this, &MonitorController::figuresSampled);
    connect(&m_channels, &ChannelSet::frameTaken, this, &MonitorController::onFrameTaken);
    m_channels.addFirst();
    m_channels.selected()->connectCamera(true);
}

void MonitorController::setInstance(MonitorController* instance)
{
    s_instance = instance;
}

bool MonitorController::rebind(QPointer<MonitorController>& current, MonitorController* next, QObject* receiver)
{
    if (next == current) {
        return false;
    }
    if (current) {
        disconnect(current, nullptr, receiver, nullptr);
    }
    current = next;
    return true;
}

MonitorController* MonitorController::create(QQmlEngine* engine, QJSEngine*)
{
    // The instance belongs to main(), not to the engine.
    QJSEngine::setObjectOwnership(s_instance, QJSEngine::CppOwnership);
    s_instance->m_engine = engine;
    for (CameraChannel* channel : s_instance->channels()) {
        s_instance->attachFrameRate(channel);
    }
    return s_instance;
}

void MonitorController::attachFrameRate(CameraChannel* channel)
{
    if (!m_engine) {
        return;
    }
    // Refreshed as often as the channels' figures are read.
    QQmlComponent component(m_engine);
    component.setData(QByteArrayLiteral("import TavixQtBase\nFrameRate { updateInterval: ")
            + QByteArray::number(ChannelSet::sampleIntervalMs / 2) + QByteArrayLiteral(" }"),
        QUrl());
    QObject* const frameRate = component.create();
    if (!frameRate) {
        qWarning("No FrameRate for the camera's rates: %s", qPrintable(component.errorString()));
    }
    channel->setFrameRate(frameRate);
}

void MonitorController::follow(CameraChannel* channel)
{
    attachFrameRate(channel);
    connect(channel, &CameraChannel::camerasDiscovered, this, &MonitorController::onCamerasDiscovered);
    connect(channel, &CameraChannel::streamingStarted, this,
        [this, channel](const CameraDescription& camera) { onChannelStarted(channel, camera); });
    connect(channel, &CameraChannel::stateChanged, this, [this, channel] {
        if (channel == m_channels.selected()) {
            Q_EMIT stateChanged();
        }
    });
    connect(channel, &CameraChannel::settingsRead, this, [this, channel] {
        if (channel == m_channels.selected()) {
            Q_EMIT settingsChanged();
        }
    });
}

void MonitorController::onSelectionChanged()
{
    m_imageMessage = tr("No image");
    // A camera not opened yet leaves the last one named until it streams.
    const CameraDescription& camera = m_channels.selected()->camera();
    if (!camera.id.isEmpty()) {
        m_cameraText = QStringLiteral("%1, %2").arg(isolatedText(camera.idText()), camera.address);
    }
    Q_EMIT imageChanged();
    Q_EMIT cameraChanged();
    Q_EMIT stateChanged();
    Q_EMIT settingsChanged();
    Q_EMIT figuresChanged();
    Q_EMIT selectedRowChanged();
}

void MonitorController::openCamera(int row)
{
    m_channels.activate(m_cameras.item(row)->data(IdRole).toByteArray());
}

void MonitorController::reconnect()
{
    m_channels.selected()->connectCamera(true);
}

void MonitorController::stop()
{
    m_channels.stop();
}

void MonitorController::onCamerasDiscovered(const QList<CameraDescription>& cameras)
{
    m_cameras.clear();
    for (CameraDescription camera : cameras) {
        camera.ipConfiguration = m_ipConfigurations.value(camera.id, camera.ipConfiguration);
        m_cameras.appendRow(cameraItem(camera));
    }
    updateListRates();
    Q_EMIT selectedRowChanged();
    m_channels.openOthers(cameras);
}

void MonitorController::onChannelStarted(CameraChannel* channel, const CameraDescription& camera)
{
    m_ipConfigurations.insert(camera.id, camera.ipConfiguration);
    const int row = rowOfAddress(camera.address);
    if (row >= 0) {
        m_cameras.item(row)->setData(camera.ipConfigurationMethods(), IpConfigurationRole);
        m_cameras.item(row)->setData(camera.ipConfiguration, IpConfigurationBitsRole);
    }
    if (channel == m_channels.selected()) {
        m_cameraText = QStringLiteral("%1, %2").arg(isolatedText(camera.idText()), camera.address);
        Q_EMIT cameraChanged();
        Q_EMIT selectedRowChanged();
    }
    Q_EMIT streamingStarted(visibleText(camera.idText()));
}

int MonitorController::selectedRow() const
{
    for (int row = 0; row < m_cameras.rowCount(); ++row) {
        const CameraChannel* selected = m_channels.selected();
        if (selected->isStreaming() && m_cameras.item(row)->data(IdRole).toByteArray() == selected->cameraId()) {
            return row;
        }
    }
    return -1;
}

int MonitorController::rowOfAddress(const QString& address) const
{
    for (int row = 0; row < m_cameras.rowCount(); ++row) {
        if (m_cameras.item(row)->data(AddressRole).toString() == address) {
            return row;
        }
    }
    return -1;
}

void MonitorController::updateListRates()
{
    for (int row = 0; row < m_cameras.rowCount(); ++row) {
        QStandardItem* item = m_cameras.item(row);
        const CameraChannel* channel = m_channels.channelFor(item->data(IdRole).toByteArray());
        const bool shown = channel && channel->isStreaming() && channel->figuresNow().hasRate;
        item->setData(shown, HasRateRole);
        item->setData(shown ? channel->figuresNow().framesPerSecond : 0.0, FramesPerSecondRole);
        item->setData(shown ? double(channel->figuresNow().bytesPerSecond) : 0.0, BytesPerSecondRole);
    }
}

void MonitorController::onFrameTaken()
{
    const LatestFrame::Frame& frame = m_channels.shownFrame();
    m_imageMessage.clear();
    if (frame.image.isNull() && frame.pixelFormat != 0) {
        m_imageMessage = tr("The pixel format 0x%1 cannot be shown.").arg(frame.pixelFormat, 8, 16, QLatin1Char('0'));
    }
    Q_EMIT imageChanged();
}

QVariantMap MonitorController::figures() const
{
    const StreamFigures::Snapshot& figures = m_channels.selected()->figuresNow();
    return { { QStringLiteral("hasRate"), figures.hasRate },
        { QStringLiteral("framesPerSecond"), figures.framesPerSecond },
        { QStringLiteral("bytesPerSecond"), double(figures.bytesPerSecond) },
        { QStringLiteral("width"), figures.width }, { QStringLiteral("height"), figures.height },
        { QStringLiteral("frameBytes"), double(figures.frameBytes) },
        { QStringLiteral("images"), double(figures.images) }, { QStringLiteral("errors"), double(figures.errors) } };
}

QVariantMap MonitorController::settings() const
{
    if (!m_channels.selected()->isStreaming()) {
        return {};
    }
    const CameraSettings& reported = m_channels.selected()->settings();
    QVariantMap settings;
    for (const NumberSetting& setting : numberSettings) {
        settings.insert(QLatin1String(setting.name), featureEntry(reported.*setting.reported));
    }
    for (const SwitchSetting& setting : switchSettings) {
        const CameraSwitch& state = reported.*setting.reported;
        settings.insert(QLatin1String(setting.name), settingEntry(state.available, state.on));
    }
    for (const FlipSetting& setting : flipSettings) {
        settings.insert(QLatin1String(setting.name), settingEntry(true, reported.orientation.*setting.flip));
    }
    settings.insert(QStringLiteral("rotation"), settingEntry(true, reported.orientation.rotation));
    QVariantMap pixelFormat = settingEntry(!reported.pixelFormats.isEmpty(), reported.pixelFormat);
    pixelFormat.insert(QStringLiteral("options"), reported.pixelFormats);
    settings.insert(QStringLiteral("pixel-format"), pixelFormat);
    return settings;
}

bool MonitorController::changeSetting(const QString& name, const QVariant& value)
{
    CameraChannel* selected = m_channels.selected();
    const std::optional<SettingsChange> change
        = selected->isStreaming() ? settingsChange(selected->settings(), name, value) : std::nullopt;
    if (!change) {
        return false;
    }
    selected->changeSettings(*change);
    // The image is turned from the next frame on; the settings show it at once.
    Q_EMIT settingsChanged();
    return true;
}

void MonitorController::setBinaryPrefixes(bool binary)
{
    if (binary != m_binaryPrefixes) {
        m_binaryPrefixes = binary;
        QSettings().setValue(binaryPrefixesKey(), binary);
        Q_EMIT binaryPrefixesChanged();
    }
}

bool MonitorController::saveImage(const QString& path) const
{
    return saveFrame(m_channels.shownFrame(), path);
}
