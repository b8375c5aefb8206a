// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// A main window's normal geometry and its maximized or full-screen state across runs.
#ifndef CAMERAMONITOR_WINDOWSTATE_H
#define CAMERAMONITOR_WINDOWSTATE_H

#include <QObject>
#include <QPoint>
#include <QSize>

class QSettings;
class QWidget;

/**
 * Follows a top-level window's normal place and size (its frame position and
 * its size while neither maximized, full screen nor minimized) and keeps them
 * with its maximized or full-screen state in the current group of a QSettings,
 * under "normalPos", "normalSize" and "windowState". The library's position and
 * size of the window say where it was, maximized or not; these say where it
 * goes when it is un-maximized. Restoring never puts the window's title bar
 * above the top of the available geometry of the screen it comes back on.
 */
class WindowState : public QObject
{
    Q_OBJECT

public:
    /** Follows @p window, which must outlive this object, from now on. */
    explicit WindowState(QWidget* window);

    void save(QSettings* settings) const;
    /**
     * Gives the window its stored normal place and size and, once shown, its
     * stored state; before the window is shown. False when nothing was stored.
     */
    bool restore(const QSettings* settings);

    QPoint normalPosition() const { return m_normalPosition; }
    QSize normalSize() const { return m_normalSize; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* const m_window;
    QPoint m_normalPosition;
    QSize m_normalSize;
};

#endif
