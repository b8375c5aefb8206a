// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The newest image of a stream, handed from the acquisition thread to the GUI.
#ifndef CAMERAMONITOR_LATESTFRAME_H
#define CAMERAMONITOR_LATESTFRAME_H

#include "camerasettings.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QMutex>
#include <QSize>

#include <atomic>

/**
 * A slot for one image: the acquisition thread overwrites it, the GUI takes
 * what is there when its display timer fires. Frames in between are dropped,
 * never queued, so a fast camera cannot flood the GUI thread, and the
 * acquisition thread converts a frame only when the GUI wants images and at
 * most maxImagesPerSecond times a second. Thread-safe.
 */
class LatestFrame
{
public:
    static constexpr int maxImagesPerSecond = 30;

    struct Frame
    {
        QImage image; ///< the whole image, as imageFromPixels() and the orientation make it
        QImage fitted; ///< the image shrunk to the display size, see setDisplaySize(); null when it fits
        QByteArray raw; ///< the camera's own bytes of the image, only while keepRaw is set
        quint32 pixelFormat = 0;
        quint64 frameId = 0;
    };

    LatestFrame() = default;
    LatestFrame(const LatestFrame&) = delete;
    LatestFrame& operator=(const LatestFrame&) = delete;

    /** Whether images are made at all; off for a stream whose image is not shown. */
    void setWanted(bool wanted) { m_wanted = wanted; }
    /** Keep the camera's bytes beside each image (for saving them; costs a copy per image). */
    void setKeepRaw(bool keep) { m_keepRaw = keep; }
    bool keepRaw() const { return m_keepRaw; }

    /** How images are turned from now on; the raw bytes stay as the camera sent them. */
    void setOrientation(const ImageOrientation& orientation);
    ImageOrientation orientation() const;

    /**
     * The size, in device pixels, of the place where the image is shown: the
     * acquisition thread then also makes Frame::fitted, so that the GUI draws
     * without scaling. Empty (the default) for none.
     */
    void setDisplaySize(const QSize& size);
    QSize displaySize() const;

    /** True when the acquisition thread should convert the frame it has now. */
    bool due() const;
    /** Stores @p frame in place of the one before. */
    void put(Frame frame);
    /** Empties the slot, for a new stream. */
    void clear();

    /** Copies the newest frame to @p frame if it is newer than the last one taken; GUI thread. */
    bool takeNew(Frame* frame);

private:
    /** A setting of the acquisition thread's conversion, written and read under the mutex. */
    template <typename T> void setLocked(T* setting, const T& value)
    {
        QMutexLocker locker(&m_mutex);
        *setting = value;
    }
    template <typename T> T readLocked(const T& setting) const
    {
        QMutexLocker locker(&m_mutex);
        return setting;
    }

    mutable QMutex m_mutex;
    Frame m_frame;
    ImageOrientation m_orientation;
    QSize m_displaySize;
    QElapsedTimer m_sincePut;
    quint64 m_serial = 0;
    quint64 m_takenSerial = 0;
    std::atomic<bool> m_wanted { false };
    std::atomic<bool> m_keepRaw { false };
};

#endif
