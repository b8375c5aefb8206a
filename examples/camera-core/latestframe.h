// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The newest image of a stream, handed from the thread that receives it to the GUI.
#ifndef CAMERACORE_LATESTFRAME_H
#define CAMERACORE_LATESTFRAME_H

#include "camerasettings.h"

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QSize>

#include <atomic>
#include <chrono>

/**
 * A slot for one image: the receiving thread overwrites it and tells the
 * GUI when the slot holds a frame the GUI has not taken, once until the GUI
 * takes it. Frames in between are dropped, never queued, so a fast camera
 * cannot flood the GUI thread, and the receiving thread converts a frame
 * only when the GUI wants images and at most maxImagesPerSecond times a
 * second. Thread-safe.
 */
class LatestFrame
{
public:
    using Clock = std::chrono::steady_clock;
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

    /**
     * Whether images are made at all; off for a stream whose image is not shown.
     * Turned on, the frame in the slot counts as taken: the next put() tells the GUI.
     */
    void setWanted(bool wanted);
    /** Keep the camera's bytes beside each image (for saving them; costs a copy per image). */
    void setKeepRaw(bool keep) { m_keepRaw = keep; }
    bool keepRaw() const { return m_keepRaw; }

    /** How images are turned from now on; the raw bytes stay as the camera sent them. */
    void setOrientation(const ImageOrientation& orientation);
    ImageOrientation orientation() const;

    /**
     * The size, in device pixels, of the place where the image is shown: the
     * receiving thread then also makes Frame::fitted, so that the GUI draws
     * without scaling. Empty (the default) for none.
     */
    void setDisplaySize(const QSize& size);
    QSize displaySize() const;

    /**
     * True when the receiving thread should convert a frame that arrived at
     * @p now. Images keep to turns of one every 1/maxImagesPerSecond s, and an
     * image up to one interval late for its turn leaves the turns after it as
     * they are: a camera at that rate whose frames arrive a little early or
     * late has every frame shown, a faster one maxImagesPerSecond a second.
     */
    bool due(Clock::time_point now) const;
    /**
     * Stores @p frame, of a frame that arrived at @p now, in place of the one
     * before. True when the GUI has taken the frame before and must be told of
     * this one; false while it is yet to take one, which is then this one.
     */
    bool put(Frame frame, Clock::time_point now);
    /** Empties the slot, for a new stream; true, as for put(), when the GUI must be told. */
    bool clear();

    /** Copies the newest frame to @p frame if the GUI has not taken it yet; GUI thread. */
    bool takeNew(Frame* frame);

private:
    /** A setting of the receiving thread's conversion, written and read under the mutex. */
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

    /** Stores @p frame; true when the GUI had taken the one before. Under the mutex. */
    bool store(Frame* frame);

    mutable QMutex m_mutex;
    Frame m_frame;
    ImageOrientation m_orientation;
    QSize m_displaySize;
    Clock::time_point m_nextImage = Clock::time_point::min();
    quint64 m_serial = 0;
    quint64 m_takenSerial = 0;
    std::atomic<bool> m_wanted { false };
    std::atomic<bool> m_keepRaw { false };
};

#endif
