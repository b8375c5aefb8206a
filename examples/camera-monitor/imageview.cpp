// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "imageview.h"

#include <QPainter>

ImageView::ImageView(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(160, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ImageView::setImage(const QImage& image)
{
    m_image = image;
    update();
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

void ImageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(32, 32, 32));
    if (m_image.isNull()) {
        painter.setPen(Qt::lightGray);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, m_placeholder);
        return;
    }
    const QRect target = imageRect();
    // Smoothing only when shrinking: enlarged camera pixels stay sharp squares.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.width() < m_image.width());
    painter.drawImage(target, m_image);
}
