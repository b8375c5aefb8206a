// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The live figures of one stream: written by the streaming thread, read by the GUI.
#ifndef CAMERAMONITOR_STREAMFIGURES_H
#define CAMERAMONITOR_STREAMFIGURES_H

#include <TavixQtBase/fpsstatistic.h>

#include <atomic>

/**
 * Frame rate, data rate, frame size and counts of the current stream.
 * addFrame() and addErrors() are called by the streaming thread, snapshot() by
 * the GUI timer; all members are thread-safe (the statistic has its own lock).
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
    };

    StreamFigures();

    /** Starts over for a new stream: empties the statistic and zeroes the counts. */
    void restart();
    void addFrame(unsigned int bytes, int width, int height);
    void addErrors(unsigned long long count);
    /** The current figures; may restart the statistic's window (see FpsStatistic::computeResult). */
    Snapshot snapshot();

private:
    FpsStatistic m_statistic;
    std::atomic<unsigned long long> m_images { 0 };
    std::atomic<unsigned long long> m_errors { 0 };
    std::atomic<int> m_width { 0 };
    std::atomic<int> m_height { 0 };
    std::atomic<unsigned int> m_frameBytes { 0 };
};

#endif
