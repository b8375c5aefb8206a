// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "imageview.h"

#include "fittedimage.h"

#include <QPainter>
#include <QResizeEvent>

ImageView::ImageView(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(160, 120);
    // The paint event fills the whole view: nothing behind it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ImageView::setImage(const QImage& image, const QImage& fitted)
{
    m_image = image;
    m_fitted = fitted;
    const QRect target = drawing().target.toAlignedRect();
    // A frame drawn where the one before it was leaves the margins as they are.
    if (!target.isEmpty() && target == m_lastTarget) {
        update(target);
    } else {
        update();
    }
}

QSize ImageView::displaySize() const
{
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

void ImageView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Q_EMIT displaySizeChanged(displaySize());
}

void ImageView::setPlaceholderText(const QString& text)
{
    m_placeholder = text;
    update();
}

QRect ImageView::imageRect() const
{
    if (m_image.isNull()) {
        return QRect();
    }
    const QSize size = m_image.size().scaled(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

ImageView::Drawing ImageView::drawing() const
{
    Drawing drawing { imageRect(), false };
    const qreal ratio = devicePixelRatioF();
    if (isFittedTo(m_fitted, m_image, (QSizeF(size()) * ratio).toSize())) {
        drawing.target.setSize(QSizeF(m_fitted.size()) / ratio);
        drawing.fitted = true;
    }
    return drawing;
}

void ImageView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QColor background(32, 32, 32);
    if (m_image.isNull()) {
        m_lastTarget = QRect();
        painter.fillRect(rect(), background);
        painter.setPen(Qt::lightGray);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_placeholder);
        return;
    }
    const Drawing drawing = this->drawing();
    m_lastTarget = drawing.target.toAlignedRect();
    if (drawing.fitted) {
        painter.drawImage(drawing.target, m_fitted);
    } else {
        // Smoothing only when shrinking: enlarged camera pixels stay sharp squares.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, drawing.target.width() < m_image.width());
        painter.drawImage(drawing.target, m_image);
    }
    // Only around the image, which covers the rest.
    for (const QRect& margin : event->region().subtracted(drawing.target.toRect())) {
        painter.fillRect(margin, background);
    }
}
