// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "streamfigures.h"

#include <QDeadlineTimer>

namespace {

// Two seconds of frames at 50 fps: long enough to smooth the jitter of a
// loaded machine, short enough to follow a change of the camera's rate.
constexpr unsigned int statisticWindow = 100;

qint64 monotonicMs()
{
    return QDeadlineTimer::current().deadline();
}

} // namespace

StreamFigures::StreamFigures()
    : m_statistic(statisticWindow)
{
}

void StreamFigures::forgetRate()
{
    m_statistic.reset();
    m_hasRate = false;
}

void StreamFigures::restart()
{
    forgetRate();
    m_images = 0;
    m_errors = 0;
    m_width = 0;
    m_height = 0;
    m_frameBytes = 0;
    ++m_restarts;
}

void StreamFigures::restartRate()
{
    forgetRate();
    ++m_restarts;
}

void StreamFigures::setRateFeed(FrameRateFeed* feed)
{
    const QMutexLocker locker(&m_feedMutex);
    m_feed = feed;
}

void StreamFigures::addFrame(unsigned int bytes, int width, int height)
{
    {
        const QMutexLocker locker(&m_feedMutex);
        if (m_feed) {
            m_feed->addSample(bytes);
        }
    }
    m_statistic.addSample(bytes);
    double framesPerSecond = 0.0;
    unsigned long long bytesPerSecond = 0;
    if (m_statistic.computeResult(&framesPerSecond, &bytesPerSecond)) {
        m_framesPerSecond = framesPerSecond;
        m_bytesPerSecond = bytesPerSecond;
        m_hasRate = true;
    }
    m_lastFrameMs = monotonicMs();
    m_width = width;
    m_height = height;
    m_frameBytes = bytes;
    ++m_images;
}

void StreamFigures::addErrors(unsigned long long count)
{
    m_errors += count;
}

StreamFigures::Snapshot StreamFigures::snapshot()
{
    Snapshot figures;
    if (m_hasRate && monotonicMs() - m_lastFrameMs < freshLimitMs) {
        figures.hasRate = true;
        figures.framesPerSecond = m_framesPerSecond;
        figures.bytesPerSecond = m_bytesPerSecond;
    } else {
        figures.hasRate = m_statistic.computeResult(&figures.framesPerSecond, &figures.bytesPerSecond);
    }
    figures.width = m_width;
    figures.height = m_height;
    figures.frameBytes = m_frameBytes;
    figures.images = m_images;
    figures.errors = m_errors;
    figures.restarts = m_restarts;
    figures.cpuSeconds = m_cpuSeconds;
    return figures;
}

quint64 framesBetween(quint64 previous, quint64 next)
{
    constexpr quint64 shortIds = 0xffff;
    if (previous > shortIds || next > shortIds) {
        return next > previous ? next - previous - 1 : 0;
    }
    if (previous == 0 || next == 0) {
        return 0;
    }
    const quint64 ahead = (next + shortIds - previous) % shortIds;
    return ahead > 0 && ahead < shortIds / 2 ? ahead - 1 : 0;
}
