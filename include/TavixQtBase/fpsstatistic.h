// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_FPSSTATISTIC_H
#define TAVIXQTBASE_FPSSTATISTIC_H

#include <TavixQtBase/tavixqtbase_export.h>

#include <QMutex>
#include <QtGlobal>

#include <cassert>
#include <memory>

/**
 * @file fpsstatistic.h
 * Frame rate and amount per second over a sliding window of recent samples.
 *
 * @howtouse{fpsstatistic.h}
 *
 * FpsStatistic gives the rates, StopWatch the clock they are measured with,
 * FlexiMean the running mean of the intervals; the example of FpsStatistic
 * shows how to read them.
 */

/**
 * The system's wall clock in seconds.
 *
 * @howtouse{fpsstatistic.h}
 *
 * @code
 * const double start = StopWatch::gettime();
 * camera.grabOne();
 * const double seconds = StopWatch::gettime() - start;   // e.g. 0.125
 * @endcode
 *
 * This is the real-time clock, not a monotonic one, so it jumps when the
 * system time is set; FpsStatistic copes with such jumps (see there).
 */
class StopWatch
{
public:
    /** Seconds since the epoch by clock_gettime(CLOCK_REALTIME), with nanosecond resolution. */
    TAVIXQTBASE_EXPORT static double gettime();
};

/**
 * A running mean over a changing set of values, kept with Welford's method:
 * values can be added and removed again in constant time, without keeping them.
 *
 * @howtouse{fpsstatistic.h}
 *
 * @code
 * FlexiMean mean;
 * mean.add(1.0); mean.add(2.0); mean.add(6.0);
 * mean.remove(1.0);
 * mean.getMeanUnsafe();      // 4.0
 * mean.getSumSquaredDiff();  // 8.0
 * @endcode
 *
 * Not thread-safe on its own; FpsStatistic uses it under its lock.
 */
class FlexiMean
{
public:
    /** Adds @p value to the set. */
    void add(double value)
    {
        ++m_numValues;
        const double delta = value - m_mean;
        m_mean += delta / m_numValues;
        m_sumSquaredDiff += delta * (value - m_mean);
    }

    /**
     * Removes @p value, which must have been added before, from the set.
     * Removing the only value left is not supported.
     */
    void remove(double value)
    {
        --m_numValues;
        const double delta = value - m_mean;
        m_mean -= delta / m_numValues;
        m_sumSquaredDiff -= delta * (value - m_mean);
    }

    /** The mean of the values; the set must not be empty (asserted). */
    double getMeanUnsafe() const
    {
        assert(m_numValues >= 1);
        return m_mean;
    }

    /** The sum of the squared deviations from the mean (0.0 for an empty set). */
    double getSumSquaredDiff() const { return m_sumSquaredDiff; }

    /** The number of values in the set. */
    quint32 getNumValues() const { return m_numValues; }

    /** Empties the set. */
    void reset()
    {
        m_numValues = 0;
        m_mean = 0.0;
        m_sumSquaredDiff = 0.0;
    }

private:
    quint32 m_numValues = 0;
    double m_mean = 0.0;
    double m_sumSquaredDiff = 0.0;
};

/**
 * Frames per second and amount per second over the newest samples.
 *
 * @howtouse{fpsstatistic.h}
 *
 * @code
 * FpsStatistic statistic(30);          // window of the 30 newest frames
 * // In the thread that receives the frames, once per frame: the sample, and
 * // the figures computed right after it, kept for the display.
 * statistic.addSample(payloadSizeInBytes);
 * double fps = 0.0;
 * unsigned long long bytesPerSecond = 0;
 * if (statistic.computeResult(&fps, &bytesPerSecond)) {
 *     latestFps.store(fps);            // e.g. a std::atomic<double> the display timer reads
 * }
 * @endcode
 *
 * With frames arriving every 0.125 s, each of 1000 bytes, @c fps is 8.0 and
 * @c bytesPerSecond is 8000.
 *
 * Read the statistic right after each sample, as above, and let the display
 * show the newest of these results. A read at an arbitrary moment, from a
 * display timer, finds the newest frame late whenever the timer fires a little
 * after the frame was due (more than 1.25 mean intervals after it), and then
 * cuts the window to its newest two samples (see computeResult()): on a busy
 * machine the figures jump and lose their smoothing. Read at the display's
 * moment only once no frame has come for a while, so that a stopped stream
 * shows as late and then stalled. The QML element FrameRate reads this way.
 *
 * The owner calls addSample() once per arrival, with an amount in a unit of its
 * choosing (bytes, lines, ...), and computeResult() for the rates, as above. The frame rate is the inverse of the mean
 * interval between the samples of the window; the amount per second is the amount that arrived after the window's
 * oldest sample divided by the window's time span.
 *
 * The window adapts itself, so that the figures follow a new rate at once:
 * - when the whole seconds by which the interval before a new sample differs
 *   from the one before exceed a quarter of the mean interval (so that a
 *   difference below one second never counts; checked only once the window
 *   holds more than 3 samples), the window is cut back to its newest two
 *   samples before the new one is stored;
 * - when computeResult() is called more than 1.25 mean intervals after the
 *   newest of more than 3 samples, the window is cut back to its newest two
 *   samples and the result is computed from them;
 * - with 2 or 3 samples and the same lateness, the result is extrapolated as
 *   if one more sample had arrived at the moment of the call;
 * - once the newest sample is stallTimeout() seconds old (10.5 s unless set
 *   otherwise), both figures read zero.
 *
 * A capacity below 3 (including every value of 2^31 and above) gives a
 * statistic without a buffer, which never yields a result. A capacity above
 * MaxNumSamples gives a window of MaxNumSamples samples.
 *
 * A window whose oldest and newest samples lie less than MinimumSpan (1 ms)
 * apart gives no result: samples that close came in a burst (a driver handing
 * over queued frames, timers that fire in one pass of the event loop), and the
 * rate within the burst, often orders of magnitude above the stream's, says
 * nothing about the stream. The result returns once the window spans 1 ms
 * again; a stream that stops after a burst reads no result, not stalled. So a
 * steady stream of r samples per second needs a capacity above r / 1000 + 1 to
 * be measured (the QML element's default of 100 covers 99,000 per second).
 *
 * The wall clock can be set back or forward while the statistic runs. The
 * figures can then be off until the sample after the jump has left the window
 * (a jump of a whole second or more usually restarts the window first, so that
 * few samples remain), but they stay within sense: a mean interval of zero or
 * below reads as 0.0 frames per second and an amount per second of 0; a
 * negative amount per second reads 0, and one beyond 64 bits reads the largest
 * unsigned 64-bit value. The running mean keeps a trace of a huge interval's
 * rounding after it has left (about 1e-16 of its size).
 *
 * A sample that arrives at the same instant as its predecessor has the
 * interval 0.0, which takes part in the mean like any other interval, and
 * leaves it again with the sample.
 *
 * All operations are thread-safe: the statistic may be fed from one thread and
 * read from another. Each operation holds the statistic's own recursive mutex
 * from entry to exit.
 */
class FpsStatistic
{
public:
    /** The stall limit of a new statistic, in seconds. */
    static constexpr double DefaultStallTimeout = 10.5;

    /**
     * The largest window. A million samples (24 MB, allocated within
     * milliseconds) hold ten seconds of a 100 kHz stream, more than any
     * display smooths over.
     */
    static constexpr int MaxNumSamples = 1000000;

    /** The shortest time in seconds from the window's oldest to its newest sample that gives a result. */
    static constexpr double MinimumSpan = 1e-3;

    /**
     * Creates a statistic whose window holds at most @p maxNumSamples samples,
     * MaxNumSamples for a larger number. The ring is allocated here, once;
     * when the memory is refused the statistic has no buffer.
     */
    TAVIXQTBASE_EXPORT explicit FpsStatistic(unsigned int maxNumSamples);
    TAVIXQTBASE_EXPORT ~FpsStatistic();

    /**
     * Empties the window; the next sample starts afresh. Keeps the capacity,
     * the stall limit and the restart flag.
     */
    TAVIXQTBASE_EXPORT void reset();

    /**
     * Records one arrival at the current wall-clock time. The first sample
     * after construction or reset() only marks the start: its @p amount is
     * not counted.
     *
     * @return false only for a statistic without a buffer
     */
    TAVIXQTBASE_EXPORT bool addSample(unsigned int amount);

    /**
     * Cuts the window to its newest two samples; the older of them becomes
     * the start of the window.
     *
     * @param pTimeOffset may be null; receives the seconds by which the
     *        window's start moved. Untouched when nothing was cut.
     * @return false, changing nothing, when the window holds fewer than 3 samples
     */
    TAVIXQTBASE_EXPORT bool removeAllButLastTwoSamples(double* pTimeOffset);

    /**
     * Computes the current rates. May cut the window (see the class
     * description), so this is not a pure query.
     *
     * @param pFps may be null; receives frames per second, never negative
     * @param pAmountPerSecond may be null; receives the amount per second,
     *        truncated toward zero
     * @return false, leaving both values untouched, when there is no result:
     *         no buffer, fewer than 2 samples, or a window spanning less than
     *         MinimumSpan (a burst). True otherwise, zeros included.
     */
    TAVIXQTBASE_EXPORT bool computeResult(double* pFps, unsigned long long* pAmountPerSecond);

    /**
     * True once the statistic has cut its window by itself, in addSample() or
     * computeResult(); it stays true for the statistic's life (reset() and a
     * direct call of removeAllButLastTwoSamples() leave it as it is).
     */
    TAVIXQTBASE_EXPORT bool hasRestarted() const;

    /** Seconds after the newest sample from which both figures read zero. */
    TAVIXQTBASE_EXPORT double stallTimeout() const;

    /**
     * Sets the stall limit in seconds; infinity disables it, and 0 or below
     * makes every result zero. reset() keeps it.
     *
     * @return false, keeping the old limit, for NaN
     */
    TAVIXQTBASE_EXPORT bool setStallTimeout(double seconds);

private:
    Q_DISABLE_COPY(FpsStatistic)

    struct Sample; // defined in fpsstatistic.cpp

    // The helpers below expect the caller to hold m_mutex.
    int getPhysicalIndex(int logicalIndex) const;
    const Sample& sampleAt(int logicalIndex) const;
    void addPendingInterval();
    double meanInterval();
    void store(const Sample& sample);
    void forget(const Sample& sample);
    void clearWindow();
    /// Cuts a window of 3 or more samples to its newest two; returns by how much the origin moved.
    double keepLastTwoSamples();
    void restartAndStore(Sample sample);
    bool computeResultAt(double clock, double* pFps, unsigned long long* pAmountPerSecond);

    mutable QRecursiveMutex m_mutex;
    std::unique_ptr<Sample[]> m_samples;
    int m_maxNumSamples = 0;
    int m_numSamples = 0;
    quint64 m_totalAmount = 0;
    int m_firstIndex = 0;
    double m_startTime = 0.0;
    FlexiMean m_intervalMean;
    bool m_startPending = true;
    bool m_restarted = false;
    // Whether the newest sample's interval is still to be added to m_intervalMean.
    // The next operation adds it after its own clock read, so that the division
    // runs beside the clock read instead of after it.
    bool m_newestIntervalPending = false;
    double m_stallTimeout = DefaultStallTimeout;
};

#endif
