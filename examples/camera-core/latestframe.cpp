// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "latestframe.h"

#include <QMutexLocker>

#include <algorithm>

namespace {

constexpr LatestFrame::Clock::duration imageInterval
    = std::chrono::duration_cast<LatestFrame::Clock::duration>(std::chrono::seconds(1))
    / LatestFrame::maxImagesPerSecond;

} // namespace

void LatestFrame::setWanted(bool wanted)
{
    if (wanted) {
        QMutexLocker locker(&m_mutex);
        m_takenSerial = m_serial;
    }
    m_wanted = wanted;
}

bool LatestFrame::due(Clock::time_point now) const
{
    if (!m_wanted) {
        return false;
    }
    QMutexLocker locker(&m_mutex);
    return now >= m_nextImage;
}

bool LatestFrame::put(Frame frame, Clock::time_point now)
{
    QMutexLocker locker(&m_mutex);
    // A turn missed by more than an interval is gone: a camera after a pause gets no burst of images.
    m_nextImage = std::max(m_nextImage, now - imageInterval) + imageInterval;
    // The image before, swapped into frame, is released after the lock, outside the GUI's way.
    return store(&frame);
}

bool LatestFrame::clear()
{
    Frame empty;
    QMutexLocker locker(&m_mutex);
    return store(&empty);
}

bool LatestFrame::store(Frame* frame)
{
    std::swap(m_frame, *frame);
    return m_serial++ == m_takenSerial;
}

void LatestFrame::setOrientation(const ImageOrientation& orientation)
{
    setLocked(&m_orientation, orientation);
}

ImageOrientation LatestFrame::orientation() const
{
    return readLocked(m_orientation);
}

void LatestFrame::setDisplaySize(const QSize& size)
{
    setLocked(&m_displaySize, size);
}

QSize LatestFrame::displaySize() const
{
    return readLocked(m_displaySize);
}

bool LatestFrame::takeNew(Frame* frame)
{
    QMutexLocker locker(&m_mutex);
    if (m_serial == m_takenSerial) {
        return false;
    }
    m_takenSerial = m_serial;
    *frame = m_frame;
    return true;
}
