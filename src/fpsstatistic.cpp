// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/fpsstatistic.h>

#include "recursivemutexlocker_p.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include <time.h>

namespace {

// A new interval that differs from the previous one by more than this share of
// the mean interval restarts the window; only whole seconds of difference count.
constexpr double IntervalJumpFactor = 0.25;
// A result asked for later than this many mean intervals after the newest
// sample treats the window as outdated.
constexpr double LateFactor = 1.25;

// Truncates toward zero; a negative or NaN rate (the clock was set back) reads
// 0, one beyond 64 bits (the clock set back to near the window's oldest
// sample) the largest value instead of an undefined conversion.
quint64 toAmountPerSecond(double amountPerSecond)
{
    if (!(amountPerSecond > 0.0)) {
        return 0;
    }
    constexpr double twoTo64 = 18446744073709551616.0;
    if (amountPerSecond >= twoTo64) {
        return std::numeric_limits<quint64>::max();
    }
    return quint64(amountPerSecond);
}

// value / divisor for a divisor of 1 or more. Where the divisor is a power of
// two its reciprocal is exact, so multiplying by it gives the same double as
// the division; the reciprocal does not wait for the value, which leaves only a
// multiplication on the path from the clock read to the result.
double dividedBy(double value, quint32 divisor)
{
    if ((divisor & (divisor - 1)) == 0) {
        return value * (1.0 / divisor);
    }
    return value / divisor;
}

} // namespace

double StopWatch::gettime()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    const double seconds = double(now.tv_sec);
    // From 2^24 s (1970-07-14) to 2^40 s a multiplication by 1e-9 gives the very
    // double that the division by 1e9 gives, at a fraction of its latency. There
    // the sum's spacing is 2^-p s with 12 < p <= 28, and the exact quotient
    // tv_nsec / 1e9 lies at least 1 / (5^9 * 2^(p + 1)) >= 9.5e-16 from every
    // rounding midpoint (1e9 holds the factor 2 only nine times). The quotient
    // is off by at most 5.6e-17 and the product by 1.2e-16 (6.3e-17 from the
    // constant, 5.6e-17 from rounding), so both round to the same sum.
    if (Q_LIKELY(qint64(now.tv_sec) >= qint64(1) << 24 && qint64(now.tv_sec) < qint64(1) << 40)) {
        return seconds + double(now.tv_nsec) * 1e-9;
    }
    return seconds + double(now.tv_nsec) / 1e9;
}

struct FpsStatistic::Sample
{
    double time = 0.0; ///< seconds since m_startTime
    double interval = 0.0; ///< seconds since the predecessor; 0.0 without one
    quint32 amount = 0; ///< the caller's amount; 0 without a predecessor
    /// whether the sample had a predecessor when stored, i.e. whether its interval counts in the mean
    bool hasPredecessor = false;
};

FpsStatistic::FpsStatistic(unsigned int maxNumSamples)
{
    // Read as a signed int, so that 2^31 and above count as "too small" too.
    const int capacity = int(maxNumSamples);
    if (capacity < 3) {
        return;
    }
    const int bounded = std::min(capacity, MaxNumSamples);
    // Refused memory leaves the statistic without a buffer instead of throwing.
    m_samples.reset(new (std::nothrow) Sample[size_t(bounded)]);
    if (!m_samples) {
        return;
    }
    m_maxNumSamples = bounded;
    reset();
}

FpsStatistic::~FpsStatistic()
{
    RecursiveMutexLocker locker(&m_mutex);
    m_samples.reset();
    m_maxNumSamples = 0;
    clearWindow();
}

void FpsStatistic::reset()
{
    RecursiveMutexLocker locker(&m_mutex);
    clearWindow();
}

void FpsStatistic::clearWindow()
{
    m_numSamples = 0;
    m_totalAmount = 0;
    m_firstIndex = 0;
    m_intervalMean.reset();
    m_newestIntervalPending = false;
    m_startPending = true;
}

int FpsStatistic::getPhysicalIndex(int logicalIndex) const
{
    assert(m_maxNumSamples > 0);
    // The modulo of the window's indices without a division, which would cost
    // as much as the rest of addSample().
    const int physicalIndex = m_firstIndex + logicalIndex;
    return physicalIndex < m_maxNumSamples ? physicalIndex : physicalIndex - m_maxNumSamples;
}

inline const FpsStatistic::Sample& FpsStatistic::sampleAt(int logicalIndex) const
{
    return m_samples[size_t(getPhysicalIndex(logicalIndex))];
}

inline void FpsStatistic::addPendingInterval()
{
    if (m_newestIntervalPending) {
        m_intervalMean.add(sampleAt(m_numSamples - 1).interval);
        m_newestIntervalPending = false;
    }
}

inline double FpsStatistic::meanInterval()
{
    addPendingInterval();
    return m_intervalMean.getMeanUnsafe();
}

inline void FpsStatistic::store(const Sample& sample)
{
    addPendingInterval();
    int slot = m_numSamples;
    if (m_numSamples < m_maxNumSamples) {
        ++m_numSamples;
    } else {
        slot = m_firstIndex;
        forget(m_samples[slot]);
        m_firstIndex = getPhysicalIndex(1);
    }
    m_samples[slot] = sample;
    m_newestIntervalPending = sample.hasPredecessor;
    m_totalAmount += sample.amount;
}

inline void FpsStatistic::forget(const Sample& sample)
{
    if (sample.hasPredecessor) {
        m_intervalMean.remove(sample.interval);
    }
    m_totalAmount -= sample.amount;
}

bool FpsStatistic::addSample(unsigned int amount)
{
    RecursiveMutexLocker locker(&m_mutex);
    if (!m_samples) {
        return false;
    }
    Sample sample;
    if (m_startPending) {
        m_startTime = StopWatch::gettime();
        m_startPending = false;
    } else {
        sample.time = StopWatch::gettime() - m_startTime;
    }
    if (m_numSamples > 0) {
        const Sample& last = sampleAt(m_numSamples - 1);
        sample.interval = sample.time - last.time;
        sample.amount = amount;
        sample.hasPredecessor = true;
        if (m_numSamples > 3) {
            // Whole seconds only: trunc() instead of a cast to int keeps a clock
            // jump beyond 2^31 s well-defined. A difference below one second,
            // the usual case, skips the rounding.
            const double difference = std::fabs(sample.interval - last.interval);
            const double jump = difference < 1.0 ? 0.0 : std::trunc(difference);
            if (jump > IntervalJumpFactor * meanInterval()) {
                restartAndStore(sample);
                return true;
            }
        }
    }
    store(sample);
    return true;
}

// Out of line and called last, so that no double of addSample() has to survive
// a call: the common path then keeps them in vector registers throughout.
Q_NEVER_INLINE void FpsStatistic::restartAndStore(Sample sample)
{
    sample.time -= keepLastTwoSamples();
    m_restarted = true;
    store(sample);
}

bool FpsStatistic::removeAllButLastTwoSamples(double* pTimeOffset)
{
    RecursiveMutexLocker locker(&m_mutex);
    if (m_numSamples < 3) {
        return false;
    }
    const double offset = keepLastTwoSamples();
    if (pTimeOffset) {
        *pTimeOffset = offset;
    }
    return true;
}

double FpsStatistic::keepLastTwoSamples()
{
    Sample older = sampleAt(m_numSamples - 2);
    Sample newer = sampleAt(m_numSamples - 1);
    clearWindow();
    m_startPending = false;
    m_startTime += older.time;
    newer.time -= older.time;
    store(Sample());
    store(newer);
    return older.time;
}

bool FpsStatistic::computeResult(double* pFps, unsigned long long* pAmountPerSecond)
{
    RecursiveMutexLocker locker(&m_mutex);
    // The clock read waits for every instruction before it, so it comes first.
    return computeResultAt(StopWatch::gettime(), pFps, pAmountPerSecond);
}

bool FpsStatistic::computeResultAt(double clock, double* pFps, unsigned long long* pAmountPerSecond)
{
    if (!m_samples || m_numSamples < 2) {
        return false;
    }
    const Sample& first = sampleAt(0);
    const Sample& last = sampleAt(m_numSamples - 1);
    const double span = last.time - first.time;
    // Samples this close together came in one burst: their span says nothing
    // about the stream's rate, and dividing by it would give absurd figures.
    if (std::fabs(span) < MinimumSpan) {
        return false;
    }
    const double now = clock - m_startTime;
    const double mean = meanInterval();
    const double sinceLast = now - last.time;
    const bool late = sinceLast > LateFactor * mean;
    if (late && m_numSamples > 3) {
        keepLastTwoSamples();
        m_restarted = true;
        // The cut window answers for the same instant.
        return computeResultAt(clock, pFps, pAmountPerSecond);
    }

    double fps = 0.0;
    quint64 amountPerSecond = 0;
    // A mean of zero or below means no time passed, or the clock was set back.
    if (sinceLast < m_stallTimeout && mean > 0.0) {
        const quint64 amountAfterFirst = m_totalAmount - first.amount;
        if (late) {
            // As if one more sample, like the newest, had arrived just now.
            const double extrapolatedMean = mean + dividedBy(sinceLast - mean, m_intervalMean.getNumValues() + 1);
            fps = 1.0 / extrapolatedMean;
            amountPerSecond = toAmountPerSecond(double(amountAfterFirst + last.amount) / (now - first.time));
        } else {
            fps = 1.0 / mean;
            amountPerSecond = toAmountPerSecond(double(amountAfterFirst) / span);
        }
    }
    if (pFps) {
        *pFps = fps;
    }
    if (pAmountPerSecond) {
        *pAmountPerSecond = amountPerSecond;
    }
    return true;
}

bool FpsStatistic::hasRestarted() const
{
    RecursiveMutexLocker locker(&m_mutex);
    return m_restarted;
}

double FpsStatistic::stallTimeout() const
{
    RecursiveMutexLocker locker(&m_mutex);
    return m_stallTimeout;
}

bool FpsStatistic::setStallTimeout(double seconds)
{
    if (std::isnan(seconds)) {
        return false;
    }
    RecursiveMutexLocker locker(&m_mutex);
    m_stallTimeout = seconds;
    return true;
}
