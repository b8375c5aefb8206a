// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "framerate.h"

#include <QMutexLocker>

#include <limits>

namespace {

constexpr int defaultCapacity = 100;
constexpr int defaultUpdateInterval = 1000;
// How long the result after the newest sample stands for the stream.
constexpr std::chrono::seconds freshLimit(1);

unsigned int toAmount(double amount)
{
    constexpr double largest = std::numeric_limits<unsigned int>::max();
    if (!(amount > 0.0)) {
        return 0;
    }
    return amount >= largest ? std::numeric_limits<unsigned int>::max() : static_cast<unsigned int>(amount);
}

} // namespace

FrameRate::FrameRate(QObject* parent)
    : QObject(parent)
    , m_statistic(std::make_unique<FpsStatistic>(defaultCapacity))
    , m_capacity(defaultCapacity)
{
    connect(&m_refreshTimer, &QTimer::timeout, this, &FrameRate::refresh);
    m_refreshTimer.start(defaultUpdateInterval);
}

FrameRate::~FrameRate() = default;

int FrameRate::capacity() const
{
    const QMutexLocker locker(&m_lock);
    return m_capacity;
}

void FrameRate::setCapacity(int requested)
{
    // The property shows the window the statistic really has.
    const int capacity = qBound(0, requested, FpsStatistic::MaxNumSamples);
    {
        const QMutexLocker locker(&m_lock);
        if (capacity == m_capacity) {
            return;
        }
        m_statistic = std::make_unique<FpsStatistic>(unsigned(capacity));
        m_capacity = capacity;
        m_latest = Figures();
    }
    show(Figures());
    Q_EMIT capacityChanged();
}

int FrameRate::updateInterval() const
{
    return m_refreshTimer.isActive() ? m_refreshTimer.interval() : 0;
}

void FrameRate::setUpdateInterval(int milliseconds)
{
    // Every interval of 0 or below reads 0: the refresh stopped.
    if (qMax(milliseconds, 0) == updateInterval()) {
        return;
    }
    if (milliseconds > 0) {
        m_refreshTimer.start(milliseconds);
    } else {
        m_refreshTimer.stop();
    }
    Q_EMIT updateIntervalChanged();
}

void FrameRate::addSample(double amount)
{
    const QMutexLocker locker(&m_lock);
    m_statistic->addSample(toAmount(amount));
    // Read right after the sample: a read at any other moment cuts the window
    // whenever the newest frame is a little late.
    m_latest = computeLocked();
    m_newestSample = std::chrono::steady_clock::now();
}

void FrameRate::restart()
{
    {
        const QMutexLocker locker(&m_lock);
        m_statistic->reset();
        m_latest = Figures();
    }
    show(Figures());
}

FrameRate::Figures FrameRate::computeLocked()
{
    Figures figures;
    unsigned long long amountPerSecond = 0;
    figures.valid = m_statistic->computeResult(&figures.framesPerSecond, &amountPerSecond);
    figures.amountPerSecond = double(amountPerSecond);
    return figures;
}

void FrameRate::refresh()
{
    Figures figures;
    {
        const QMutexLocker locker(&m_lock);
        // Without a recent sample the stream has paused or stopped: only a read
        // now can tell, and the statistic then reports it late or stalled.
        const bool fresh = m_latest.valid && std::chrono::steady_clock::now() - m_newestSample < freshLimit;
        figures = fresh ? m_latest : computeLocked();
    }
    show(figures);
}

void FrameRate::show(const Figures& figures)
{
    const Figures previous = m_shown;
    m_shown = figures;
    if (figures.framesPerSecond != previous.framesPerSecond) {
        Q_EMIT framesPerSecondChanged();
    }
    if (figures.amountPerSecond != previous.amountPerSecond) {
        Q_EMIT amountPerSecondChanged();
    }
    if (figures.valid != previous.valid) {
        Q_EMIT validChanged();
    }
}
