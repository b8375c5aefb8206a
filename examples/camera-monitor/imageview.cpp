// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "imageview.h"

#include "pixelconversion.h"

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
    const QRect before = drawnRect().toAlignedRect();
    m_image = image;
    m_fitted = fitted;
    const QRect after = drawnRect().toAlignedRect();
    // A frame drawn where the one before it was leaves the margins as they are.
    if (!after.isEmpty() && after == before) {
        update(after);
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

QRectF ImageView::drawnRect() const
{
    QRectF target = imageRect();
    if (isFittedTo(m_fitted, m_image, displaySize())) {
        target.setSize(QSizeF(m_fitted.size()) / devicePixelRatioF());
    }
    return target;
}

void ImageView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QColor background(32, 32, 32);
    if (m_image.isNull()) {
        painter.fillRect(rect(), background);
        painter.setPen(Qt::lightGray);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_placeholder);
        return;
    }
    const QRectF target = drawnRect();
    if (isFittedTo(m_fitted, m_image, displaySize())) {
        painter.drawImage(target, m_fitted);
    } else {
        // Smoothing only when shrinking: enlarged camera pixels stay sharp squares.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, target.width() < m_image.width());
        painter.drawImage(target, m_image);
    }
    // Only around the image, which covers the rest.
    for (const QRect& margin : event->region().subtracted(target.toRect())) {
        painter.fillRect(margin, background);
    }
}
