// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "elidinglabel.h"

#include <QEvent>

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
    m_usualWidth = fontMetrics().horizontalAdvance(text);
    updateGeometry();
}

QSize ElidingLabel::sizeHint() const
{
    return { m_usualWidth, lineHeight() };
}

QSize ElidingLabel::minimumSizeHint() const
{
    return { 0, lineHeight() };
}

int ElidingLabel::lineHeight() const
{
    // QLabel lays its text out anew for its size hint after each change of the text, through a whole text
    // document when the text is selectable; the height of the one line does not depend on the text.
    if (m_lineHeight < 0) {
        m_lineHeight = QLabel::sizeHint().height();
    }
    return m_lineHeight;
}

void ElidingLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_lineHeight = -1;
        m_usualWidth = fontMetrics().horizontalAdvance(m_usualText);
    }
    QLabel::changeEvent(event);
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
