// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "ratechart.h"

#include "ratechartpainter.h"

#include <QPainter>

RateChart::RateChart(QWidget* parent)
    : QWidget(parent)
    , m_frameRateText([](double value) { return QString::number(value); })
    , m_dataRateText([](double value) { return QString::number(value); })
{
    setMinimumSize(200, 100);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void RateChart::setPoints(const QVector<RatePoint>& points)
{
    m_points = points;
    update();
}

void RateChart::setFormatters(std::function<QString(double)> frameRate, std::function<QString(double)> dataRate)
{
    m_frameRateText = std::move(frameRate);
    m_dataRateText = std::move(dataRate);
    update();
}

void RateChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintRateChart(&painter, rect(), m_points, palette(), m_frameRateText, m_dataRateText);
}
