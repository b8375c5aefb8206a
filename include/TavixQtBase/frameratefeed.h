// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_FRAMERATEFEED_H
#define TAVIXQTBASE_FRAMERATEFEED_H

#include <QObject>

/**
 * @file frameratefeed.h
 * The C++ side of the QML element FrameRate: the interface through which an
 * acquisition thread adds its frames to a FrameRate of the QML scene.
 */

/**
 * Takes the frames of a stream into a frame-rate statistic from any thread.
 *
 * Every FrameRate element of the QML module TavixQtBase implements it: find the
 * element's object in the scene, turn it into the interface with qobject_cast
 * in the GUI thread, and hand the pointer to the thread that receives the
 * frames. The header has no code of its own, so it needs nothing but QtCore.
 *
 * @howtouse{frameratefeed.h}
 *
 * @code
 * // QML: FrameRate { objectName: "cameraRate" }
 * QObject* element = engine.rootObjects().constFirst()->findChild<QObject*>(QStringLiteral("cameraRate"));
 * FrameRateFeed* feed = qobject_cast<FrameRateFeed*>(element);  // null when it is no FrameRate
 * // In the acquisition thread, once per frame:
 * feed->addSample(double(payloadBytes));
 * @endcode
 *
 * The element owns the object: stop the thread before the QML scene is
 * destroyed, or guard the element with a QPointer checked in the GUI thread.
 */
class FrameRateFeed
{
public:
    /**
     * Records one frame of @p amount (bytes, lines, ...; negative and NaN count
     * as 0, amounts beyond 2^32 - 1 as 2^32 - 1). Thread-safe: the element's
     * figures follow in the GUI thread at its next refresh.
     */
    virtual void addSample(double amount) = 0;

protected:
    ~FrameRateFeed() = default;
};

/** The interface's identifier for qobject_cast. */
#define TAVIXQTBASE_FRAMERATEFEED_IID "org.tavix.TavixQtBase.FrameRateFeed/1"
Q_DECLARE_INTERFACE(FrameRateFeed, TAVIXQTBASE_FRAMERATEFEED_IID)

#endif
