// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "cameraimage.h"

#include "fittedimage.h"

#include <QQuickWindow>
#include <QSGImageNode>

CameraImage::CameraImage(QQuickItem* parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
}

void CameraImage::setMonitor(MonitorController* monitor)
{
    if (!MonitorController::rebind(m_monitor, monitor, this)) {
        return;
    }
    if (monitor) {
        connect(monitor, &MonitorController::imageChanged, this, &CameraImage::takeImage);
        monitor->setDisplaySize(displaySize());
    }
    takeImage();
    Q_EMIT monitorChanged();
}

QSize CameraImage::displaySize() const
{
    return (size() * (window() ? window()->effectiveDevicePixelRatio() : 1.0)).toSize();
}

void CameraImage::takeImage()
{
    const LatestFrame::Frame frame = m_monitor ? m_monitor->frame() : LatestFrame::Frame();
    // The image shrunk in the receiving thread where it fits: the renderer then need not scale it.
    m_image = isFittedTo(frame.fitted, frame.image, displaySize()) ? frame.fitted : frame.image;
    m_imageSize = frame.image.size();
    m_imageChanged = true;
    update();
}

void CameraImage::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (m_monitor) {
        m_monitor->setDisplaySize(displaySize());
    }
    update();
}

QSGNode* CameraImage::updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData*)
{
    auto* node = static_cast<QSGImageNode*>(oldNode);
    if (m_image.isNull() || width() <= 0 || height() <= 0) {
        delete node;
        return nullptr;
    }
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        node->setFiltering(QSGTexture::Linear);
        m_imageChanged = true;
    }
    if (m_imageChanged) {
        node->setTexture(window()->createTextureFromImage(m_image));
        m_imageChanged = false;
    }
    const QSizeF fitted = QSizeF(m_imageSize).scaled(size(), Qt::KeepAspectRatio);
    node->setRect(QRectF(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted));
    return node;
}
