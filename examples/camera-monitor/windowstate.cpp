// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "windowstate.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace {

enum StoredState { Normal = 0, Maximized = 1, FullScreen = 2 };

QString normalPositionKey()
{
    return QStringLiteral("normalPos");
}

QString normalSizeKey()
{
    return QStringLiteral("normalSize");
}

QString stateKey()
{
    return QStringLiteral("windowState");
}

/** The screen that shows most of @p frame, else the primary screen. */
QScreen* screenFor(const QRect& frame)
{
    QScreen* best = QGuiApplication::primaryScreen();
    int bestArea = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(frame);
        if (common.width() * common.height() > bestArea) {
            best = screen;
            bestArea = common.width() * common.height();
        }
    }
    return best;
}

} // namespace

WindowState::WindowState(QWidget* window)
    : QObject(window)
    , m_window(window)
    , m_normalPosition(window->pos())
    , m_normalSize(window->size())
{
    window->installEventFilter(this);
}

bool WindowState::eventFilter(QObject* watched, QEvent* event)
{
    const bool normal = !(m_window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
    if (watched == m_window && normal && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        m_normalPosition = m_window->pos();
        m_normalSize = m_window->size();
    }
    return false;
}

void WindowState::save(QSettings* settings) const
{
    const Qt::WindowStates state = m_window->windowState();
    settings->setValue(normalPositionKey(), m_normalPosition);
    settings->setValue(normalSizeKey(), m_normalSize);
    settings->setValue(stateKey(),
        state & Qt::WindowFullScreen      ? FullScreen
            : state & Qt::WindowMaximized ? Maximized
                                          : Normal);
}

bool WindowState::restore(const QSettings* settings)
{
    const QSize size = settings->value(normalSizeKey()).toSize();
    if (!settings->contains(normalPositionKey()) || !size.isValid()) {
        return false;
    }
    QPoint position = settings->value(normalPositionKey()).toPoint();
    // A title bar dragged above the screen would come back out of reach.
    const QRect available = screenFor(QRect(position, size))->availableGeometry();
    position.setY(qMax(position.y(), available.top()));
    m_window->resize(size);
    m_window->move(position);
    m_normalPosition = position;
    m_normalSize = size;
    switch (settings->value(stateKey(), Normal).toInt()) {
    case Maximized:
        m_window->setWindowState(m_window->windowState() | Qt::WindowMaximized);
        break;
    case FullScreen:
        m_window->setWindowState(m_window->windowState() | Qt::WindowFullScreen);
        break;
    default:
        break;
    }
    return true;
}
