// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The painting of a chart of frame rate and data rate over the last minute.
#ifndef CAMERACORE_RATECHARTPAINTER_H
#define CAMERACORE_RATECHARTPAINTER_H

#include "ratepoint.h"

#include <QPalette>
#include <QRect>
#include <QString>
#include <QVector>

#include <functional>

class QPainter;

/**
 * Paints into @p area the frame rate (left scale) and data rate (right scale)
 * of @p points, the last RatePoint::maxPoints seconds, one point per second,
 * newest at the right. A second without a frame is shaded as a stall and breaks
 * the lines; a restart of the rate (a new stream, a change of the camera's
 * settings) is a dashed vertical line. @p frameRateText and @p dataRateText
 * write the scales' texts, e.g. "50 fps", "13.1 MB/s".
 */
void paintRateChart(QPainter* painter, const QRect& area, const QVector<RatePoint>& points, const QPalette& palette,
    const std::function<QString(double)>& frameRateText, const std::function<QString(double)>& dataRateText);

#endif
