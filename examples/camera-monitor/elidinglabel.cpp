// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "elidinglabel.h"

ElidingLabel::ElidingLabel(QWidget* parent)
    : QLabel(parent)
{
}

void ElidingLabel::setFullText(const QString& text)
{
    if (text == m_fullText) {
        return;
    }
    m_fullText = text;
    showFitting();
}

void ElidingLabel::setUsualText(const QString& text)
{
    m_usualText = text;
    updateGeometry();
}

QSize ElidingLabel::sizeHint() const
{
    return { fontMetrics().horizontalAdvance(m_usualText), QLabel::sizeHint().height() };
}

QSize ElidingLabel::minimumSizeHint() const
{
    return { 0, QLabel::minimumSizeHint().height() };
}

void ElidingLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    showFitting();
}

void ElidingLabel::showFitting()
{
    setToolTip(fontMetrics().horizontalAdvance(m_fullText) > width() ? m_fullText : QString());
    QLabel::setText(fontMetrics().elidedText(m_fullText, Qt::ElideRight, width()));
}
