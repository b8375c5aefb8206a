// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "ratechartpainter.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const QColor frameRateColour(0, 110, 200);
const QColor dataRateColour(220, 120, 0);
const QColor stallColour(220, 40, 40, 60);

/** A round upper end for a scale: 1, 2 or 5 times a power of ten, at least @p value. */
double niceCeiling(double value)
{
    if (value <= 0.0) {
        return 1.0;
    }
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (const double step : { 1.0, 2.0, 5.0, 10.0 }) {
        if (step * power >= value) {
            return step * power;
        }
    }
    return 10.0 * power;
}

} // namespace

void paintRateChart(QPainter* painter, const QRect& area, const QVector<RatePoint>& points, const QPalette& palette,
    const std::function<QString(double)>& frameRateText, const std::function<QString(double)>& dataRateText)
{
    painter->fillRect(area, palette.base());
    double fpsTop = 0.0;
    double bytesTop = 0.0;
    for (const RatePoint& point : points) {
        fpsTop = qMax(fpsTop, point.framesPerSecond);
        bytesTop = qMax(bytesTop, point.bytesPerSecond);
    }
    fpsTop = niceCeiling(fpsTop * 1.1);
    bytesTop = niceCeiling(bytesTop * 1.1);
    const QString fpsLabel = frameRateText(fpsTop);
    const QString bytesLabel = dataRateText(bytesTop);
    const QFontMetrics metrics = painter->fontMetrics();
    const int margin = metrics.height() / 2;
    const QRect plot = area.adjusted(metrics.horizontalAdvance(fpsLabel) + 2 * margin, margin + metrics.height(),
        -metrics.horizontalAdvance(bytesLabel) - 2 * margin, -margin - metrics.height());
    if (plot.width() < 10 || plot.height() < 10) {
        return;
    }
    // Seconds run from the left (oldest) to the right (newest).
    const double step = double(plot.width()) / (RatePoint::maxPoints - 1);
    const int first = RatePoint::maxPoints - points.size();
    const auto xAt = [&](int index) { return plot.left() + (first + index) * step; };
    const auto yAt = [&](double value, double top) { return plot.bottom() - value / top * plot.height(); };

    painter->setPen(palette.color(QPalette::Mid));
    for (int line = 0; line <= 4; ++line) {
        const int y = plot.top() + plot.height() * line / 4;
        painter->drawLine(plot.left(), y, plot.right(), y);
    }
    for (int i = 0; i < points.size(); ++i) {
        if (points.at(i).stalled) {
            painter->fillRect(QRectF(xAt(i) - step / 2, plot.top(), step, plot.height()), stallColour);
        }
        if (points.at(i).restarted) {
            painter->setPen(QPen(palette.color(QPalette::Text), 1, Qt::DashLine));
            painter->drawLine(QPointF(xAt(i), plot.top()), QPointF(xAt(i), plot.bottom()));
        }
    }
    painter->setRenderHint(QPainter::Antialiasing);
    const auto drawSeries = [&](double RatePoint::*value, double top, const QColor& colour) {
        QPainterPath path;
        bool drawing = false;
        for (int i = 0; i < points.size(); ++i) {
            const RatePoint& point = points.at(i);
            if (point.stalled && point.*value == 0.0) {
                drawing = false;
                continue;
            }
            const QPointF at(xAt(i), yAt(point.*value, top));
            drawing ? path.lineTo(at) : path.moveTo(at);
            drawing = true;
        }
        painter->setPen(QPen(colour, 2));
        painter->drawPath(path);
    };
    drawSeries(&RatePoint::bytesPerSecond, bytesTop, dataRateColour);
    drawSeries(&RatePoint::framesPerSecond, fpsTop, frameRateColour);
    painter->setRenderHint(QPainter::Antialiasing, false);

    painter->setPen(frameRateColour);
    painter->drawText(
        QRect(area.left(), plot.top() - metrics.height() / 2, plot.left() - area.left() - margin, metrics.height()),
        Qt::AlignRight | Qt::AlignVCenter, fpsLabel);
    painter->drawText(
        QRect(area.left(), plot.bottom() - metrics.height() / 2, plot.left() - area.left() - margin, metrics.height()),
        Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
    painter->setPen(dataRateColour);
    painter->drawText(
        QRect(plot.right() + margin, plot.top() - metrics.height() / 2, area.right() - plot.right(), metrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter, bytesLabel);
    painter->setPen(palette.color(QPalette::Text));
    painter->drawText(QRect(plot.left(), plot.bottom() + 2, plot.width(), metrics.height()), Qt::AlignCenter,
        QCoreApplication::translate("CameraCore", "last %1 s").arg(RatePoint::maxPoints));
}
