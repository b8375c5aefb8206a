// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "windowlayout.h"

#include <TavixQtBase/layoutpersistence.h>

#include <QEvent>

#include <string>

WindowLayout::WindowLayout(QObject* parent)
    : QObject(parent)
{
}

void WindowLayout::setWindow(QWindow* window)
{
    if (window == m_window) {
        return;
    }
    if (m_window) {
        m_window->removeEventFilter(this);
    }
    m_window = window;
    m_shownBefore = window && window->isVisible();
    if (window) {
        // The show event comes before the window appears on screen.
        window->installEventFilter(this);
    }
    Q_EMIT windowChanged();
}

void WindowLayout::setGroup(const QString& group)
{
    if (group != m_group) {
        m_group = group;
        Q_EMIT groupChanged();
    }
}

void WindowLayout::componentComplete()
{
    // Inside a Window the parent is the window's content item, a child of the window.
    for (QObject* ancestor = parent(); ancestor && !m_window; ancestor = ancestor->parent()) {
        setWindow(qobject_cast<QWindow*>(ancestor));
    }
}

bool WindowLayout::save()
{
    return m_window && saveWindowPositionAndSize(m_group.toStdWString().c_str(), m_window);
}

bool WindowLayout::restore()
{
    const bool restored = m_window && restoreWindowPositionAndSize(m_group.toStdWString().c_str(), m_window);
    if (restored != m_restored) {
        m_restored = restored;
        Q_EMIT restoredChanged();
    }
    return restored;
}

bool WindowLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::Show && !m_shownBefore) {
            m_shownBefore = true;
            restore();
        } else if (event->type() == QEvent::Close) {
            save();
        }
    }
    return QObject::eventFilter(watched, event);
}
