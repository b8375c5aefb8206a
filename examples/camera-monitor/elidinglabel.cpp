// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "elidinglabel.h"

ElidingLabel::ElidingLabel(QWidget* parent)
    : QLabel(parent)
{
    // The layout gives the label what is left; it never grows the window.
    setSizePolicy(QSizePolicy::Ignored, sizePolicy().verticalPolicy());
}

void ElidingLabel::setFullText(const QString& text)
{
    if (text == m_fullText) {
        return;
    }
    m_fullText = text;
    showFitting();
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
