#include <TavixQtBase/layoutpersistence.h>

#include <QDataStream>
#include <QGuiApplication>
#include <QIODevice>
#include <QRect>
#include <QScreen>

#include <limits>

namespace {

const QString headerVersionKey = QStringLiteral("headerver");
const QString headerKey = QStringLiteral("header");
const QString positionKey = QStringLiteral("pos");
const QString relativePositionKey = QStringLiteral("pos_r");
const QString sizeKey = QStringLiteral("size");

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

bool isVisibleOnAScreen(qint64 x, qint64 y, const QSize& size)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        const QRect area = screen->availableGeometry();
        if (innerSpanMeets(x, size.width(), visibilityMarginLeft, visibilityMarginRight, area.left(), area.right())
            && innerSpanMeets(y, size.height(), visibilityMarginTop, visibilityMarginBottom, area.top(),
                              area.bottom())) {
            return true;
        }
    }
    return false;
}

bool skipBytes(QDataStream& in, qint64 bytes)
{
    if (bytes > in.device()->bytesAvailable()) {
        return false;
    }
    in.skipRawData(int(bytes));
    return true;
}

// Reads the count of a stored list and skips its entries; false when that
// many entries cannot be in the bytes left. Past the end a count reads as 0.
bool skipList(QDataStream& in, qint64 bytesPerEntry)
{
    quint32 count = 0;
    in >> count;
    return skipBytes(in, qint64(count) * bytesPerEntry);
}

// Whether QHeaderView::restoreState() can read the state without harm, taken
// as Qt 5 writes it or, with the bit array length in 64 bits, as Qt 6 does.
// Its reader reserves room for as many entries as a list announces before
// reading them, so a damaged state can ask for many gigabytes, and a failed
// allocation ends the process. It expands each section item by its span
// count. Qt 6 crashes on a bit array length that is negative or within 7 of
// the largest qint64, and the header trusts the bit array of hidden sections
// to have a bit per section. Such a state is refused here: lists longer than
// the bytes after them, such a bit array, or more sections than sectionLimit.
// Other damage only makes the reader stop early, as it reads the remaining
// fields in small steps.
bool isSafeToReadAs(const QByteArray& state, bool bitArrayLengthIn64Bits, qint64 sectionLimit)
{
    constexpr int intSize = 4;
    QDataStream in(state);
    // Marker, version, orientation, sort order and section; sort indicator shown.
    in.skipRawData(5 * intSize + 1);
    if (!skipList(in, intSize) || !skipList(in, intSize)) { // visual and logical indices
        return false;
    }
    qint64 hiddenBits = 0;
    if (bitArrayLengthIn64Bits) {
        in >> hiddenBits;
    } else {
        quint32 bits = 0;
        in >> bits;
        hiddenBits = bits;
    }
    // Qt 6 rounds the length up to whole bytes without checking for overflow.
    if (hiddenBits < 0 || hiddenBits > std::numeric_limits<qint64>::max() - 7) {
        return false;
    }
    const qint64 hiddenBytes = hiddenBits / 8 + (hiddenBits % 8 != 0 ? 1 : 0);
    if (!skipBytes(in, hiddenBytes) || !skipList(in, 2 * intSize)) { // hidden sections, then their sizes
        return true;
    }
    qint32 length = 0;
    qint32 sectionCount = 0;
    in >> length >> sectionCount;
    // Five flags; stretch and contents section counts, default and minimum
    // section size, alignment, resize mode.
    in.skipRawData(5 + 6 * intSize);
    quint32 itemCount = 0;
    in >> itemCount;
    // Qt sets and tests the hidden flags by section without checking the bit
    // array's length, which is 0 when no section is hidden.
    const bool hiddenBitsMatch = hiddenBits == 0 || hiddenBits == sectionCount;
    if (!hiddenBitsMatch || sectionCount > sectionLimit
        || qint64(itemCount) * 3 * intSize > in.device()->bytesAvailable()) {
        return false;
    }
    qint64 sections = 0;
    for (quint32 i = 0; i < itemCount; ++i) {
        qint32 size = 0;
        qint32 span = 0;
        qint32 resizeMode = 0;
        in >> size >> span >> resizeMode;
        sections += qMax(span, 0);
    }
    return sections <= sectionLimit;
}

// Qt 6's restoreState() reads a state as Qt 5 wrote it and, when that fails,
// as Qt 6 would; Qt 5's only as Qt 5 wrote it. A state may describe as many
// sections as the header has, or 65536 if that is more: room for a model that
// has shrunk since the save, while the header's per-section bookkeeping stays
// at a few megabytes.
bool isSafeToRestore(const QByteArray& state, const QHeaderView* header)
{
    const qint64 sectionLimit = qMax(qint64(header->count()), qint64(1) << 16);
    const bool triesQt6Layout = QT_VERSION >= QT_VERSION_CHECK(6, 0, 0);
    return isSafeToReadAs(state, false, sectionLimit)
        && (!triesQt6Layout || isSafeToReadAs(state, true, sectionLimit));
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
    if (isSafeToRestore(state, header)) {
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
    // The size comes back even when the position is then refused.
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
    return inDefaultStoreGroup(groupName, header,
                               [&](QSettings* settings) { return saveHeaderLayout(settings, version, header); });
}

bool restoreHeaderLayout(const wchar_t* groupName, int version, QHeaderView* header)
{
    return inDefaultStoreGroup(groupName, header,
                               [&](QSettings* settings) { return restoreHeaderLayout(settings, version, header); });
}

bool saveWidgetPositionAndSize(const wchar_t* groupName, const QWidget* widget, QWidget* referenceWidget)
{
    return inDefaultStoreGroup(groupName, widget, [&](QSettings* settings) {
        return saveWidgetPositionAndSize(settings, widget, referenceWidget);
    });
}

bool restoreWidgetPositionAndSize(const wchar_t* groupName, QWidget* widget, QWidget* referenceWidget)
{
    return inDefaultStoreGroup(groupName, widget, [&](QSettings* settings) {
        return restoreWidgetPositionAndSize(settings, widget, referenceWidget);
    });
}
