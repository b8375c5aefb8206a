// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "streamfigures.h"

namespace {

// Two seconds of frames at 50 fps: long enough to smooth the jitter of a
// loaded machine, short enough to follow a change of the camera's rate.
constexpr unsigned int statisticWindow = 100;

} // namespace

StreamFigures::StreamFigures()
    : m_statistic(statisticWindow)
{
}

void StreamFigures::restart()
{
    m_statistic.reset();
    m_images = 0;
    m_errors = 0;
    m_width = 0;
    m_height = 0;
    m_frameBytes = 0;
}

void StreamFigures::addFrame(unsigned int bytes, int width, int height)
{
    m_statistic.addSample(bytes);
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
    figures.hasRate = m_statistic.computeResult(&figures.framesPerSecond, &figures.bytesPerSecond);
    figures.width = m_width;
    figures.height = m_height;
    figures.frameBytes = m_frameBytes;
    figures.images = m_images;
    figures.errors = m_errors;
    return figures;
}
