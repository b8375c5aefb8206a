// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "monitorcontroller.h"

#include <QJSEngine>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSettings>

namespace {

MonitorController* s_instance = nullptr;

QString binaryPrefixesKey()
{
    return QStringLiteral("MainWindow/binaryPrefixes");
}

} // namespace

MonitorController::MonitorController(const ChannelSet::Options& options, QObject* parent)
    : MonitorModel(options, parent)
    , m_binaryPrefixes(QSettings().value(binaryPrefixesKey(), false).toBool())
{
    connect(&channels(), &ChannelSet::channelAdded, this, &MonitorController::attachFrameRate);
    connect(this, &MonitorModel::selectionChanged, this, &MonitorController::figuresChanged);
    connect(this, &MonitorModel::figuresRead, this, &MonitorController::figuresChanged);
    reconnect();
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
    for (CameraChannel* channel : s_instance->channels().channels()) {
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

QVariantMap MonitorController::figures() const
{
    const StreamFigures::Snapshot& figures = selected()->figuresNow();
    return { { QStringLiteral("hasRate"), figures.hasRate },
        { QStringLiteral("framesPerSecond"), figures.framesPerSecond },
        { QStringLiteral("bytesPerSecond"), double(figures.bytesPerSecond) },
        { QStringLiteral("width"), figures.width }, { QStringLiteral("height"), figures.height },
        { QStringLiteral("frameBytes"), double(figures.frameBytes) },
        { QStringLiteral("images"), double(figures.images) }, { QStringLiteral("errors"), double(figures.errors) } };
}

QVariantMap MonitorController::settings() const
{
    if (!selected()->isStreaming()) {
        return {};
    }
    QVariantMap settings;
    for (const CameraSetting& setting : cameraSettingTable()) {
        const SettingState state = settingState(setting, selected()->settings());
        settings.insert(QLatin1String(setting.key),
            QVariantMap { { QStringLiteral("available"), state.available }, { QStringLiteral("value"), state.value },
                { QStringLiteral("minimum"), state.minimum }, { QStringLiteral("maximum"), state.maximum },
                { QStringLiteral("options"), state.options } });
    }
    return settings;
}

void MonitorController::setBinaryPrefixes(bool binary)
{
    if (binary != m_binaryPrefixes) {
        m_binaryPrefixes = binary;
        QSettings().setValue(binaryPrefixesKey(), binary);
        Q_EMIT binaryPrefixesChanged();
    }
}
