// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// A chart of frame rate and data rate over the last minute.
#ifndef CAMERAMONITOR_RATECHART_H
#define CAMERAMONITOR_RATECHART_H

#include "ratepoint.h"

#include <QVector>
#include <QWidget>

#include <functional>

/**
 * Paints the frame rate (left scale) and data rate (right scale) of the last
 * RatePoint::maxPoints seconds, one point per second, newest at the right. A second
 * without a frame is shaded as a stall and breaks the lines; a restart of the
 * rate (a new stream, a change of the camera's settings) is a dashed vertical
 * line.
 */
class RateChart : public QWidget
{
    Q_OBJECT

public:
    explicit RateChart(QWidget* parent = nullptr);

    void setPoints(const QVector<RatePoint>& points);
    const QVector<RatePoint>& points() const { return m_points; }
    /** Texts of the scales: frame rate and data rate, e.g. "50 fps", "13.1 MB/s". */
    void setFormatters(std::function<QString(double)> frameRate, std::function<QString(double)> dataRate);

    QSize sizeHint() const override { return { 360, 160 }; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVector<RatePoint> m_points;
    std::function<QString(double)> m_frameRateText;
    std::function<QString(double)> m_dataRateText;
};

#endif
