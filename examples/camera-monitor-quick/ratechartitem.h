// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The selected camera's rate chart as a Qt Quick item.
#ifndef CAMERAMONITORQUICK_RATECHARTITEM_H
#define CAMERAMONITORQUICK_RATECHARTITEM_H

#include "monitorcontroller.h"

#include <QPointer>
#include <QQuickPaintedItem>

/**
 * The QML element RateChart: the frame rate and data rate of a Monitor's
 * selected camera over the last minute, as paintRateChart() draws them,
 * repainted when the Monitor samples its figures, once a second.
 */
class RateChartItem : public QQuickPaintedItem
{
    Q_OBJECT
    QML_NAMED_ELEMENT(RateChart)
    Q_PROPERTY(MonitorController* monitor READ monitor WRITE setMonitor NOTIFY monitorChanged)

public:
    explicit RateChartItem(QQuickItem* parent = nullptr);

    MonitorController* monitor() const { return m_monitor; }
    void setMonitor(MonitorController* monitor);

    void paint(QPainter* painter) override;

Q_SIGNALS:
    void monitorChanged();

private:
    QPointer<MonitorController> m_monitor;
};

#endif
