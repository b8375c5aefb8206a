// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_LAYOUTPERSISTENCE_H
#define TAVIXQTBASE_LAYOUTPERSISTENCE_H

#include <TavixQtBase/tavixqtbase_export.h>

class QHeaderView;
class QSettings;
class QWidget;
class QWindow;

/**
 * @file layoutpersistence.h
 * Keeping column layouts and window places across runs.
 *
 * @howtouse{layoutpersistence.h}
 *
 * @code
 * // At start-up, after setting the organization and application names:
 * restoreHeaderLayout(L"deviceList", 2, view->horizontalHeader()); // false the first time
 * restoreWidgetPositionAndSize(L"mainWindow", &window, nullptr);   // false the first time
 * // When closing:
 * saveHeaderLayout(L"deviceList", 2, view->horizontalHeader());     // writes deviceList/headerver=2
 * saveWidgetPositionAndSize(L"mainWindow", &window, nullptr);       // writes mainWindow/pos and mainWindow/size
 * @endcode
 *
 * The functions store the state of a QHeaderView with a layout version number,
 * and the position and size of a widget, in QSettings. Each comes twice: the
 * first form works on the caller's QSettings object, relative to its current
 * group; the second takes a group name, opens the application's default
 * settings store (QSettings constructed with only a parent, so the organization
 * and application names of QCoreApplication choose the file) and that group
 * itself, and closes it again before returning.
 *
 * Keys written, relative to the group:
 * | key         | type       | written by                                                     |
 * |-------------|------------|----------------------------------------------------------------|
 * | "headerver" | int        | saveHeaderLayout(): the version number                         |
 * | "header"    | QByteArray | saveHeaderLayout(): QHeaderView::saveState()                   |
 * | "pos"       | QPoint     | saveWidgetPositionAndSize() without a reference widget         |
 * | "pos_r"     | QPoint     | saveWidgetPositionAndSize() with one: the offset from its pos  |
 * | "size"      | QSize      | saveWidgetPositionAndSize(), saveWindowPositionAndSize()       |
 * | "pos"       | QPoint     | saveWindowPositionAndSize() too, in normal state only          |
 * | "state"     | int        | saveWindowPositionAndSize(): 0 normal, 2 maximized, 4 full screen |
 *
 * No function removes a key, and none writes a message: failure is the result
 * false. Stored values are read as QVariant converts them; bad data gives odd
 * places or sizes, never a crash. The widget functions apply a stored size as
 * QWidget::resize() limits it (to QWIDGETSIZE_MAX); the QWindow functions refuse
 * a "size" wider or higher than the rectangle that all of
 * QGuiApplication::screens() span together (their QScreen::geometry() united),
 * so that no damaged or hostile entry makes a window of billions of pixels.
 *
 * Thread affinity: every function reads or changes a header, widget or window,
 * so call them only from the GUI thread. The header and widget functions need a
 * QApplication alive; the QWindow functions need only a QGuiApplication. They
 * keep no state of their own.
 */

/**
 * @name Header layouts
 * @{
 */

/**
 * Writes "headerver" = @p version and "header" = @p header->saveState() into the
 * current group of @p settings.
 *
 * @param settings where to write; null gives false
 * @param version the caller's number for its column layout; bump it when the
 *        columns change so that old layouts are no longer applied
 * @param header the header to save; null gives false
 * @return true when both values were written
 */
TAVIXQTBASE_EXPORT bool saveHeaderLayout(QSettings* settings, int version, const QHeaderView* header);

/**
 * Applies the header state stored in the current group of @p settings, if it
 * was saved with @p version. A missing "headerver" counts as version 0.
 *
 * The stored state goes to QHeaderView::restoreState(); whether the header
 * accepts it (it rejects damaged bytes) does not change the result. A state so
 * damaged that QHeaderView would exhaust memory or access memory it does not
 * own while reading or applying it (a list that announces more entries than
 * the bytes after it, more sections than the header has and over 65536, more
 * hidden-section bits than sections, visual and logical indices that do not
 * map the sections one to one) is not handed to the header at all; the result
 * is true as well. Every state that QHeaderView::saveState() wrote passes.
 *
 * @param settings where to read; null gives false
 * @param version the version the stored layout must have been saved with
 * @param header the header to change; null gives false
 * @return true when a layout of @p version was found and handed to the header;
 *         false, with @p header untouched, when there is no "header" or its
 *         version differs
 */
TAVIXQTBASE_EXPORT bool restoreHeaderLayout(const QSettings* settings, int version, QHeaderView* header);

/** As the QSettings form, in group @p groupName of the default store; null or empty @p groupName gives false. */
TAVIXQTBASE_EXPORT bool saveHeaderLayout(const wchar_t* groupName, int version, const QHeaderView* header);
/** As the QSettings form, in group @p groupName of the default store; null or empty @p groupName gives false. */
TAVIXQTBASE_EXPORT bool restoreHeaderLayout(const wchar_t* groupName, int version, QHeaderView* header);

/** @} */

/**
 * @name Window positions and sizes
 * Positions are those of QWidget::pos(): for a top-level window the place of
 * its frame, the same that QWidget::move() takes.
 * @{
 */

/**
 * Writes the position and size of @p widget into the current group of @p settings.
 *
 * Without a reference widget the position goes to "pos". With one, "pos_r"
 * receives @p widget->pos() minus @p referenceWidget->pos(), so that a dialog
 * can come back at the same place beside its main window wherever that is then.
 * "size" receives @p widget->size().
 *
 * @param settings where to write; null gives false
 * @param widget the widget to save; null gives false
 * @param referenceWidget null for an absolute position
 * @return true when the position and size were written
 */
TAVIXQTBASE_EXPORT bool saveWidgetPositionAndSize(QSettings* settings, const QWidget* widget, QWidget* referenceWidget);

/**
 * Gives @p widget back its stored size, and its stored position when that keeps
 * it visible.
 *
 * The position is "pos", or with a reference widget @p referenceWidget->pos()
 * plus "pos_r"; when that key is missing, nothing changes and the result is
 * false. Otherwise the widget is resized to "size" at once (when present), and
 * then moved only if the rectangle at the position with that size, less 8
 * pixels on the left and right, 16 at the top and 8 at the bottom, overlaps the
 * available geometry of one of QGuiApplication::screens(). So a window is never
 * put where only its border would show, nor onto a screen that has been
 * removed. A widget narrower than 17 or lower than 25 pixels has no such
 * rectangle and is never moved.
 *
 * Example, a window of 300x200 on a single screen of 1920x1080 at (0, 0):
 * a stored "pos" of (1911, 10) moves it there (true), as its inner rectangle
 * starts at x = 1919, the screen's last column; a stored "pos" of (1912, 10)
 * leaves it where it was (false), though with the stored size.
 *
 * @param settings where to read; null gives false
 * @param widget the widget to move and resize; null gives false
 * @param referenceWidget null to read the absolute position "pos"; otherwise
 *        the widget that "pos_r" is relative to
 * @return true when the widget was moved to the stored position
 */
TAVIXQTBASE_EXPORT bool restoreWidgetPositionAndSize(
    const QSettings* settings, QWidget* widget, QWidget* referenceWidget);

/** As the QSettings form, in group @p groupName of the default store; null or empty @p groupName gives false. */
TAVIXQTBASE_EXPORT bool saveWidgetPositionAndSize(
    const wchar_t* groupName, const QWidget* widget, QWidget* referenceWidget);
/** As the QSettings form, in group @p groupName of the default store; null or empty @p groupName gives false. */
TAVIXQTBASE_EXPORT bool restoreWidgetPositionAndSize(
    const wchar_t* groupName, QWidget* widget, QWidget* referenceWidget);

/** @} */

/**
 * @name Window positions, sizes and states
 * The forms for a QWindow, such as a Qt Quick window, which has no QWidget. They
 * share the keys "pos" and "size" with the widget forms, the position being
 * QWindow::framePosition() like QWidget::pos(), and add "state".
 * @{
 */

/**
 * Writes the state of @p window into the current group of @p settings: "state"
 * (0 normal, 2 maximized, 4 full screen; a minimized window counts as normal)
 * and, in normal state only, "pos" and "size". So a maximized or full-screen
 * window keeps the place it had before, to come back to when it returns to normal.
 *
 * @param settings where to write; null gives false
 * @param window the window to save; null gives false
 * @return true when the values were written
 */
TAVIXQTBASE_EXPORT bool saveWindowPositionAndSize(QSettings* settings, const QWindow* window);

/**
 * Gives @p window back its stored size, position and state, by the rule of
 * restoreWidgetPositionAndSize(): the size is applied at once, the position
 * only when the window at that place overlaps the available geometry of a
 * screen, and the maximized or full-screen state only with the position, so
 * that the window fills the screen it was on.
 *
 * Unlike the widget forms these check what they read: a "pos" that is not a
 * QPoint (a damaged entry, or a text that another program wrote) refuses the
 * whole restore and gives false with the window untouched; a "size" that is
 * not a QSize with a positive width and height is not applied, and one larger
 * than all screens span together refuses the whole restore (false, the window
 * untouched); a "state" other than 0, 2 or 4 leaves the window's state as it is.
 *
 * @param settings where to read; null gives false
 * @param window the window to move, resize and maximize; null gives false
 * @return true when the window was moved to the stored position
 */
TAVIXQTBASE_EXPORT bool restoreWindowPositionAndSize(const QSettings* settings, QWindow* window);

/** As the QSettings form, in group @p groupName of the default store; null or empty @p groupName gives false. */
TAVIXQTBASE_EXPORT bool saveWindowPositionAndSize(const wchar_t* groupName, const QWindow* window);
/** As the QSettings form, in group @p groupName of the default store; null or empty @p groupName gives false. */
TAVIXQTBASE_EXPORT bool restoreWindowPositionAndSize(const wchar_t* groupName, QWindow* window);

/** @} */

#endif
