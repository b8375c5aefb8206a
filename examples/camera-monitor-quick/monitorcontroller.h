// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// What the Qt Quick monitor's QML sees of its cameras.
#ifndef CAMERAMONITORQUICK_MONITORCONTROLLER_H
#define CAMERAMONITORQUICK_MONITORCONTROLLER_H

#include "monitormodel.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

/**
 * The QML singleton Monitor: a MonitorModel as QML sees it, the selected
 * camera's figures and settings as maps, and each camera's rates from a
 * FrameRate of the module TavixQtBase that its stream feeds. GUI thread.
 */
class MonitorController : public MonitorModel
{
    Q_OBJECT
    QML_NAMED_ELEMENT(Monitor)
    QML_SINGLETON
    /**
     * The selected camera's figures: hasRate, framesPerSecond, bytesPerSecond, width, height, frameBytes,
     * images, errors (see StreamFigures::Snapshot).
     */
    Q_PROPERTY(QVariantMap figures READ figures NOTIFY figuresChanged)
    /**
     * The selected camera's settings by the keys of cameraSettingTable(), each as its SettingState:
     * {available, value, minimum, maximum, options}. Empty while no camera streams.
     */
    Q_PROPERTY(QVariantMap settings READ settings NOTIFY settingsChanged)
    /** Data rate and frame size with powers of 1024 (KiB, MiB); kept in the settings. */
    Q_PROPERTY(bool binaryPrefixes READ binaryPrefixes WRITE setBinaryPrefixes NOTIFY binaryPrefixesChanged)

public:
    explicit MonitorController(const ChannelSet::Options& options, QObject* parent = nullptr);

    /** The instance that QML gets; set it before the QML engine loads anything. */
    static void setInstance(MonitorController* instance);
    static MonitorController* create(QQmlEngine* engine, QJSEngine* scriptEngine);
    /**
     * Points an item's @p current monitor at @p next, dropping the connections
     * the @p receiver had to the old one. False when nothing changes.
     */
    static bool rebind(QPointer<MonitorController>& current, MonitorController* next, QObject* receiver);

    QVariantMap figures() const;
    QVariantMap settings() const;
    bool binaryPrefixes() const { return m_binaryPrefixes; }
    void setBinaryPrefixes(bool binary);

    const QVector<RatePoint>& history() const { return selected()->history(); }
    /** The newest frame of the selected camera, its image turned as asked; no image before the first. */
    const LatestFrame::Frame& frame() const { return channels().shownFrame(); }
    /** Where the image is shown, in device pixels: see LatestFrame::setDisplaySize(). */
    void setDisplaySize(const QSize& size) { channels().setDisplaySize(size); }

Q_SIGNALS:
    void figuresChanged();
    void binaryPrefixesChanged();

private:
    /** Gives @p channel a FrameRate of the module TavixQtBase for its rates, once the engine is known. */
    void attachFrameRate(CameraChannel* channel);

    QPointer<QQmlEngine> m_engine; ///< the engine that made the singleton, which makes the FrameRates
    bool m_binaryPrefixes = false;
};

#endif
