// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The live figures of one stream: written by the threads of the stream, read by the GUI.
#ifndef CAMERACORE_STREAMFIGURES_H
#define CAMERACORE_STREAMFIGURES_H

#include <TavixQtBase/fpsstatistic.h>
#include <TavixQtBase/frameratefeed.h>

#include <QMutex>

#include <QtGlobal>

#include <atomic>

/**
 * Frame rate, data rate, frame size and counts of the current stream.
 * addFrame() and addErrors() are called by Aravis's receiving thread, snapshot() by
 * the GUI timer; all members are thread-safe (the statistic has its own lock).
 *
 * The rates are read from the statistic right after each frame, where its
 * window is whole: a reading at any other moment cuts the window back to two
 * frames whenever the newest frame is a little late, which on a busy machine
 * makes the figures jump. Once no frame came for freshLimitMs, snapshot()
 * reads the statistic itself, so that a stall shows as the statistic defines it.
 */
class StreamFigures
{
public:
    struct Snapshot
    {
        bool hasRate = false; ///< false until two frames arrived
        double framesPerSecond = 0.0;
        unsigned long long bytesPerSecond = 0;
        int width = 0;
        int height = 0;
        unsigned int frameBytes = 0;
        unsigned long long images = 0;
        unsigned long long errors = 0;
        double cpuSeconds = 0.0; ///< CPU time so far of the thread that receives and converts the frames
        unsigned long long restarts = 0; ///< how often the rate started over: new streams and setting changes
    };

    static constexpr qint64 freshLimitMs = 1000;

    StreamFigures();

    /** Starts over for a new stream: empties the statistic and zeroes the counts. */
    void restart();
    /** Starts the rate over, keeping the counts: after a change of the camera's settings. */
    void restartRate();
    void addFrame(unsigned int bytes, int width, int height);
    /**
     * While @p feed is set, addFrame() gives it every frame's bytes too; null
     * stops that. Once this returns, no call into the previous feed runs.
     */
    void setRateFeed(FrameRateFeed* feed);
    void addErrors(unsigned long long count);
    /** The CPU time the thread that receives the frames has used so far. */
    void setCpuSeconds(double seconds) { m_cpuSeconds = seconds; }
    /** The current figures; may restart the statistic's window (see FpsStatistic::computeResult). */
    Snapshot snapshot();

private:
    void forgetRate();

    FpsStatistic m_statistic;
    QMutex m_feedMutex; ///< held while the feed is called or changed
    FrameRateFeed* m_feed = nullptr;
    std::atomic<bool> m_hasRate { false };
    std::atomic<double> m_framesPerSecond { 0.0 };
    std::atomic<unsigned long long> m_bytesPerSecond { 0 };
    std::atomic<qint64> m_lastFrameMs { 0 }; ///< on a monotonic clock
    std::atomic<unsigned long long> m_images { 0 };
    std::atomic<unsigned long long> m_errors { 0 };
    std::atomic<unsigned long long> m_restarts { 0 };
    std::atomic<double> m_cpuSeconds { 0.0 };
    std::atomic<int> m_width { 0 };
    std::atomic<int> m_height { 0 };
    std::atomic<unsigned int> m_frameBytes { 0 };
};

/**
 * How many frames a camera sent between the frames @p previous and @p next. GigE Vision counts
 * frames from 1 to 65535 and then from 1 again, or with 64-bit ids. As in Aravis, a short id more
 * than half the range ahead is a frame from before a wrap, not a gap.
 */
quint64 framesBetween(quint64 previous, quint64 next);

#endif
