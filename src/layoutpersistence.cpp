// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/layoutpersistence.h>

#include "headerstatecheck_p.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <iterator>

namespace {

const QString headerVersionKey = QStringLiteral("headerver");
const QString headerKey = QStringLiteral("header");
const QString positionKey = QStringLiteral("pos");
const QString relativePositionKey = QStringLiteral("pos_r");
const QString sizeKey = QStringLiteral("size");
const QString stateKey = QStringLiteral("state");

// How much of a window's outer band may lie off-screen: the left, right and
// bottom borders, and at the top the title bar, are not enough to grab it.
constexpr int visibilityMarginLeft = 8;
constexpr int visibilityMarginTop = 16;
constexpr int visibilityMarginRight = 8;
constexpr int visibilityMarginBottom = 8;

// Whether the span of length pixels from start, less the two margins, is not
// empty and meets the inclusive span [areaFirst, areaLast]. In 64 bits: a
// stored position is not checked and may lie anywhere in the int range, where
// QRect's int arithmetic would overflow.
bool innerSpanMeets(qint64 start, int length, int marginBefore, int marginAfter, int areaFirst, int areaLast)
{
    const qint64 first = start + marginBefore;
    const qint64 last = start + length - 1 - marginAfter;
    return first <= last && first <= areaLast && last >= areaFirst;
}

// The largest size a window is given back: that of the rectangle that all screens span together.
// Nothing larger can be seen, and its backing store alone could take gigabytes; within it a
// visible window's coordinates stay far from the ends of the int range.
bool fitsOnTheScreens(const QSize& size)
{
    QRect span;
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        span |= screen->geometry();
    }
    return size.width() <= span.width() && size.height() <= span.height();
}

bool isVisibleOnAScreen(qint64 x, qint64 y, const QSize& size)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        const QRect area = screen->availableGeometry();
        if (innerSpanMeets(x, size.width(), visibilityMarginLeft, visibilityMarginRight, area.left(), area.right())
            && innerSpanMeets(
                y, size.height(), visibilityMarginTop, visibilityMarginBottom, area.top(), area.bottom())) {
            return true;
        }
    }
    return false;
}

// The states a window is saved and restored in, as their Qt::WindowState values.
constexpr int restorableStates[] = { Qt::WindowNoState, Qt::WindowMaximized, Qt::WindowFullScreen };

int savedState(const QWindow* window)
{
    const Qt::WindowStates states = window->windowStates();
    if (states.testFlag(Qt::WindowFullScreen)) {
        return Qt::WindowFullScreen;
    }
    return states.testFlag(Qt::WindowMaximized) ? Qt::WindowMaximized : Qt::WindowNoState;
}

// The stored state, or -1 when it is missing or not one of restorableStates.
int storedState(const QSettings* settings)
{
    bool isNumber = false;
    const int state = settings->value(stateKey).toInt(&isNumber);
    const bool known
        = std::find(std::begin(restorableStates), std::end(restorableStates), state) != std::end(restorableStates);
    return isNumber && known ? state : -1;
}

bool holdsUsableSize(const QVariant& value)
{
    return value.userType() == QMetaType::QSize && !value.toSize().isEmpty();
}

// Runs one of the QSettings forms in group groupName of the application's
// default store, which is written back when the settings object goes.
template <typename Operation>
bool inDefaultStoreGroup(const wchar_t* groupName, const void* target, Operation operation)
{
    if (!groupName || groupName[0] == 0 || !target) {
        return false;
    }
    QSettings settings;
    settings.beginGroup(QString::fromWCharArray(groupName));
    return operation(&settings);
}

} // namespace

bool saveHeaderLayout(QSettings* settings, int version, const QHeaderView* header)
{
    if (!settings || !header) {
        return false;
    }
    settings->setValue(headerVersionKey, version);
    settings->setValue(headerKey, header->saveState());
    return true;
}

bool restoreHeaderLayout(const QSettings* settings, int version, QHeaderView* header)
{
    if (!settings || !header || !settings->contains(headerKey)) {
        return false;
    }
    if (settings->value(headerVersionKey, 0).toInt() != version) {
        return false;
    }
    // A rejected state leaves the header as it was; the layout was found all the same.
    const QByteArray state = settings->value(headerKey).toByteArray();
    if (TavixQtBasePrivate::isSafeHeaderState(state, header)) {
        header->restoreState(state);
    }
    return true;
}

bool saveWidgetPositionAndSize(QSettings* settings, const QWidget* widget, QWidget* referenceWidget)
{
    if (!settings || !widget) {
        return false;
    }
    if (referenceWidget) {
        settings->setValue(relativePositionKey, widget->pos() - referenceWidget->pos());
    } else {
        settings->setValue(positionKey, widget->pos());
    }
    settings->setValue(sizeKey, widget->size());
    return true;
}

bool restoreWidgetPositionAndSize(const QSettings* settings, QWidget* widget, QWidget* referenceWidget)
{
    if (!settings || !widget) {
        return false;
    }
    const QString& key = referenceWidget ? relativePositionKey : positionKey;
    if (!settings->contains(key)) {
        return false;
    }
    const QPoint stored = settings->value(key).toPoint();
    const QPoint origin = referenceWidget ? referenceWidget->pos() : QPoint();
    const qint64 x = qint64(stored.x()) + origin.x();
    const qint64 y = qint64(stored.y()) + origin.y();
    // The size comes back even when the position is then refused. Qt limits a widget's size.
    if (settings->contains(sizeKey)) {
        widget->resize(settings->value(sizeKey).toSize());
    }
    if (!isVisibleOnAScreen(x, y, widget->size())) {
        return false;
    }
    // Visible on a screen, so within a widget's size of screen coordinates: x and y fit an int.
    widget->move(int(x), int(y));
    return true;
}

bool saveHeaderLayout(const wchar_t* groupName, int version, const QHeaderView* header)
{
    return inDefaultStoreGroup(
        groupName, header, [&](QSettings* settings) { return saveHeaderLayout(settings, version, header); });
}

bool restoreHeaderLayout(const wchar_t* groupName, int version, QHeaderView* header)
{
    return inDefaultStoreGroup(
        groupName, header, [&](QSettings* settings) { return restoreHeaderLayout(settings, version, header); });
}

bool saveWidgetPositionAndSize(const wchar_t* groupName, const QWidget* widget, QWidget* referenceWidget)
{
    return inDefaultStoreGroup(groupName, widget,
        [&](QSettings* settings) { return saveWidgetPositionAndSize(settings, widget, referenceWidget); });
}

bool restoreWidgetPositionAndSize(const wchar_t* groupName, QWidget* widget, QWidget* referenceWidget)
{
    return inDefaultStoreGroup(groupName, widget,
        [&](QSettings* settings) { return restoreWidgetPositionAndSize(settings, widget, referenceWidget); });
}

bool saveWindowPositionAndSize(QSettings* settings, const QWindow* window)
{
    if (!settings || !window) {
        return false;
    }
    const int state = savedState(window);
    settings->setValue(stateKey, state);
    if (state == Qt::WindowNoState) {
        settings->setValue(positionKey, window->framePosition());
        settings->setValue(sizeKey, window->size());
    }
    return true;
}

bool restoreWindowPositionAndSize(const QSettings* settings, QWindow* window)
{
    if (!settings || !window) {
        return false;
    }
    const QVariant position = settings->value(positionKey);
    if (position.userType() != QMetaType::QPoint) {
        return false;
    }
    const QVariant size = settings->value(sizeKey);
    if (!fitsOnTheScreens(size.toSize())) {
        return false;
    }
    if (holdsUsableSize(size)) {
        window->resize(size.toSize());
    }
    const QPoint place = position.toPoint();
    if (!isVisibleOnAScreen(place.x(), place.y(), window->size())) {
        return false;
    }
    // setGeometry(), unlike setFramePosition(), also moves the window to the screen
    // that it now lies on.
    const QMargins frame = window->frameMargins();
    window->setGeometry(QRect(place + QPoint(frame.left(), frame.top()), window->size()));
    if (frame.isNull()) {
        // Not shown yet, so its frame is unknown: the window system puts the frame, not the
        // window's inside, at the stored place.
        window->setFramePosition(place);
    }
    const int state = storedState(settings);
    if (state >= 0) {
        window->setWindowStates(Qt::WindowStates(state));
    }
    return true;
}

bool saveWindowPositionAndSize(const wchar_t* groupName, const QWindow* window)
{
    return inDefaultStoreGroup(
        groupName, window, [&](QSettings* settings) { return saveWindowPositionAndSize(settings, window); });
}

bool restoreWindowPositionAndSize(const wchar_t* groupName, QWindow* window)
{
    return inDefaultStoreGroup(
        groupName, window, [&](QSettings* settings) { return restoreWindowPositionAndSize(settings, window); });
}
