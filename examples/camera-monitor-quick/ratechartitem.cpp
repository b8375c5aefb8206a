// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "ratechartitem.h"

#include "figuresformat.h"
#include "ratechartpainter.h"

#include <QGuiApplication>

RateChartItem::RateChartItem(QQuickItem* parent)
    : QQuickPaintedItem(parent)
{
}

void RateChartItem::setMonitor(MonitorController* monitor)
{
    if (!MonitorController::rebind(m_monitor, monitor, this)) {
        return;
    }
    if (monitor) {
        for (const auto signal :
            std::initializer_list<void (MonitorController::*)()> { &MonitorController::figuresSampled,
                &MonitorController::cameraChanged, &MonitorController::binaryPrefixesChanged }) {
            connect(monitor, signal, this, [this] { update(); });
        }
    }
    update();
    Q_EMIT monitorChanged();
}

void RateChartItem::paint(QPainter* painter)
{
    if (!m_monitor) {
        return;
    }
    const UnitPrefixes prefixes = m_monitor->binaryPrefixes() ? UnitPrefixes::Binary : UnitPrefixes::Decimal;
    paintRateChart(painter, boundingRect().toRect(), m_monitor->history(), QGuiApplication::palette(), formatFrameRate,
        [prefixes](double bytes) { return formatDataRate(static_cast<unsigned long long>(bytes), prefixes); });
}
