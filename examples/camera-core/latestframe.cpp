// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "latestframe.h"

#include <QMutexLocker>

bool LatestFrame::due() const
{
    if (!m_wanted) {
        return false;
    }
    QMutexLocker locker(&m_mutex);
    return !m_sincePut.isValid() || m_sincePut.elapsed() >= 1000 / maxImagesPerSecond;
}

void LatestFrame::put(Frame frame)
{
    QMutexLocker locker(&m_mutex);
    // The old image is released after the lock, outside the GUI's way.
    std::swap(m_frame, frame);
    m_sincePut.start();
    ++m_serial;
    locker.unlock();
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

void LatestFrame::clear()
{
    put(Frame());
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
