// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The selected camera's live image as a Qt Quick item.
#ifndef CAMERAMONITORQUICK_CAMERAIMAGE_H
#define CAMERAMONITORQUICK_CAMERAIMAGE_H

#include "monitorcontroller.h"

#include <QImage>
#include <QPointer>
#include <QQuickItem>

/**
 * The QML element CameraImage: the newest image of a Monitor, scaled to fit and
 * centred. The image was converted in the receiving thread; the item only
 * hands it to the scene graph as a texture, at most as often as the Monitor
 * takes a new one.
 */
class CameraImage : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(MonitorController* monitor READ monitor WRITE setMonitor NOTIFY monitorChanged)

public:
    explicit CameraImage(QQuickItem* parent = nullptr);

    MonitorController* monitor() const { return m_monitor; }
    void setMonitor(MonitorController* monitor);

Q_SIGNALS:
    void monitorChanged();

protected:
    QSGNode* updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData* data) override;
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;

private:
    QSize displaySize() const;
    void takeImage();

    QPointer<MonitorController> m_monitor;
    QImage m_image; ///< the frame's image, or the same shrunk to the item's size
    QSize m_imageSize; ///< of the frame's whole image
    bool m_imageChanged = false;
};

#endif
