// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "elidinglabel.h"

#include <QEvent>
#include <QLabel>

ElidingLabel::ElidingLabel(QWidget* parent)
    : QWidget(parent)
    , m_label(new QLabel(this))
{
    // A label of fixed size does not ask its parent to be laid out anew when its text changes.
    m_label->setFixedSize(0, 0);
}

void ElidingLabel::setFullText(const QString& text)
{
    if (text == m_fullText) {
        return;
    }
    m_fullText = text;
    showFitting();
}

QString ElidingLabel::shownText() const
{
    return m_label->text();
}

void ElidingLabel::setUsualText(const QString& text)
{
    m_usualText = text;
    m_usualWidth = fontMetrics().horizontalAdvance(text);
    updateGeometry();
}

void ElidingLabel::setSelectable(bool selectable)
{
    m_label->setTextInteractionFlags(selectable ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
    m_lineHeight = -1;
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
    // The label lays its text out anew for its size hint after each change of the text, through a whole text
    // document when the text is selectable; the height of the one line does not depend on the text.
    if (m_lineHeight < 0) {
        m_lineHeight = m_label->sizeHint().height();
    }
    return m_lineHeight;
}

void ElidingLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_lineHeight = -1;
        m_usualWidth = fontMetrics().horizontalAdvance(m_usualText);
        showFitting();
    }
    QWidget::changeEvent(event);
}

void ElidingLabel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_label->setFixedSize(size());
    showFitting();
}

void ElidingLabel::showFitting()
{
    m_label->setToolTip(fontMetrics().horizontalAdvance(m_fullText) > width() ? m_fullText : QString());
    m_label->setText(fontMetrics().elidedText(m_fullText, Qt::ElideRight, width()));
}
