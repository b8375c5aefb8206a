// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "headerstatecheck_p.h"

#include <QAbstractItemModel>
#include <QDataStream>
#include <QHeaderView>
#include <QIODevice>

#include <limits>
#include <vector>

// QHeaderView::restoreState() hands the state to its reader, which reads
// every field, declines the state (returns false before changing anything)
// on a few conditions, and otherwise takes it unchecked. Qt 5.15 reads the
// state once, with a 32-bit length for the bit array of hidden sections;
// Qt 6.4 reads it so and, if its reader declines, again with a 64-bit length.
// The replay below follows that reader field by field, without its
// allocations, and decides per pass whether the reader declines the state,
// takes it safely, or would go wrong. The rules it adds to the reader's own:
// - visual and logical index lists, section items: the reader reserves room
//   for as many entries as the list announces, so a count that the bytes
//   left cannot hold is refused;
// - hidden sections: QBitArray's reader rounds the length up to whole bytes
//   in 32 bits in Qt 5 and in a signed size as wide as a pointer (qsizetype)
//   in Qt 6, and indexes before its buffer when that overflows or the
//   length is negative; after taking the state, the header sets a hidden
//   flag for each bit without checking the section count, so there may be
//   no more bits than sections;
// - section items: each expands to as many sections as its span says, so
//   the sections are bounded by sectionLimit;
// - index lists: the header looks sections up through them without range
//   checks, so they are either both empty or map the sections one to one,
//   each the other's inverse.
// Sizes, resize modes, alignment, the sort indicator and the remaining
// flags and counts only enter comparisons and arithmetic, never an index
// or an allocation: beyond the reader's own checks they need no rule.

namespace {

constexpr qint32 versionMarker = 0xff;
constexpr qint64 intSize = 4;
constexpr bool isQt6 = QT_VERSION >= QT_VERSION_CHECK(6, 0, 0);

enum class ReadOutcome {
    Declined, // the reader returns false and the header stays as it was
    Taken, // the reader takes the state, safely
    Unsafe, // the reader would allocate without bound or access memory it does not own
};

qint64 bytesLeft(const QDataStream& in)
{
    return in.device()->bytesAvailable();
}

// Skips count entries as the reader reads them one by one, stopping at the
// end of the data.
void skipEntries(QDataStream& in, qint64 count, qint64 entrySize)
{
    const qint64 bytes = count * entrySize;
    if (bytes > bytesLeft(in)) {
        in.skipRawData(int(bytesLeft(in)));
        in.setStatus(QDataStream::ReadPastEnd);
    } else {
        in.skipRawData(int(bytes));
    }
}

// Reads a list count, false when the bytes left cannot hold that many entries.
bool readListCount(QDataStream& in, qint64 entrySize, quint32& count)
{
    in >> count;
    return qint64(count) * entrySize <= bytesLeft(in);
}

bool readIndexList(QDataStream& in, std::vector<qint32>& list)
{
    quint32 count = 0;
    if (!readListCount(in, intSize, count)) {
        return false;
    }
    list.resize(count);
    for (qint32& index : list) {
        in >> index;
    }
    return true;
}

// Reads the bit array of hidden sections as QBitArray's stream operator does
// and returns its length in bits, or -1 where that operator goes wrong.
qint64 readHiddenSectionBits(QDataStream& in, bool lengthIn64Bits)
{
    qint64 length = 0;
    if (lengthIn64Bits) {
        quint64 field = 0;
        in >> field;
        length = qint64(field);
    } else {
        quint32 field = 0;
        in >> field;
        length = field;
    }
    // Qt 6's size is qsizetype: 32 bits on 32-bit platforms, where the
    // rounding overflows from 2^31 - 7 on.
    constexpr qint64 largestSize
        = isQt6 ? qint64(std::numeric_limits<qsizetype>::max()) : std::numeric_limits<quint32>::max();
    if (length < 0 || length > largestSize - 7) {
        return -1;
    }
    const qint64 bytes = (length + 7) / 8;
    if (bytes == 0 || bytes > bytesLeft(in)) {
        skipEntries(in, bytes, 1);
        return length;
    }
    in.skipRawData(int(bytes - 1));
    quint8 last = 0;
    in >> last;
    const int usedBits = int(length % 8);
    if (usedBits != 0 && (last >> usedBits) != 0) {
        in.setStatus(QDataStream::ReadCorruptData);
    }
    return length;
}

// Both lists empty (no section moved), or each a permutation of the
// sections and the inverse of the other.
bool isSectionMapping(
    const std::vector<qint32>& visualIndices, const std::vector<qint32>& logicalIndices, qint64 sections)
{
    if (visualIndices.empty() && logicalIndices.empty()) {
        return true;
    }
    if (qint64(visualIndices.size()) != sections || qint64(logicalIndices.size()) != sections) {
        return false;
    }
    for (qint32 visual = 0; visual < qint32(sections); ++visual) {
        const qint32 logical = logicalIndices[visual];
        if (logical < 0 || logical >= sections || visualIndices[logical] != visual) {
            return false;
        }
    }
    return true;
}

int modelSectionCount(const QHeaderView* header, qint32 orientation)
{
    const QAbstractItemModel* model = header->model();
    if (!model) {
        return 0;
    }
    return orientation == Qt::Horizontal ? model->columnCount(header->rootIndex())
                                         : model->rowCount(header->rootIndex());
}

// One pass of the reader over state.
ReadOutcome replayRead(
    const QByteArray& state, bool bitArrayLengthIn64Bits, const QHeaderView* header, qint64 sectionLimit)
{
    QDataStream in(state);
    qint32 marker = 0;
    qint32 version = 0;
    qint32 orientation = 0;
    qint32 unused = 0;
    bool flag = false;
    in >> marker >> version;
    if (in.status() != QDataStream::Ok || marker != versionMarker || version != 0) {
        return ReadOutcome::Declined;
    }
    in >> orientation >> unused >> unused >> flag; // then sort order and section, sort indicator shown
    std::vector<qint32> visualIndices;
    std::vector<qint32> logicalIndices;
    if (!readIndexList(in, visualIndices) || !readIndexList(in, logicalIndices)) {
        return ReadOutcome::Unsafe;
    }
    const qint64 hiddenBits = readHiddenSectionBits(in, bitArrayLengthIn64Bits);
    if (hiddenBits < 0) {
        return ReadOutcome::Unsafe;
    }
    quint32 hiddenSizes = 0;
    in >> hiddenSizes;
    skipEntries(in, hiddenSizes, 2 * intSize); // a hash, read without reserving
    qint32 length = 0;
    in >> length >> unused; // then the section count, which the reader ignores
    if (in.status() != QDataStream::Ok || length < 0) {
        return ReadOutcome::Declined;
    }
    // Five flags; stretch and contents section counts, default and minimum section size.
    in.skipRawData(int(5 + 4 * intSize));
    qint32 alignment = 0;
    qint32 resizeMode = 0;
    in >> alignment >> resizeMode;
    if (isQt6
        && (resizeMode < 0 || resizeMode > QHeaderView::ResizeToContents || alignment < 0
            || alignment > Qt::AlignVertical_Mask)) {
        return ReadOutcome::Declined;
    }

    quint32 itemCount = 0;
    if (!readListCount(in, 3 * intSize, itemCount)) {
        return ReadOutcome::Unsafe;
    }
    qint64 sections = 0;
    quint32 lengthTotal = 0; // summed in an int that wraps, as the reader does
    for (quint32 i = 0; i < itemCount; ++i) {
        qint32 size = 0;
        qint32 span = 0;
        in >> size >> span >> unused; // then the resize mode
        if (span <= 0) {
            continue;
        }
        sections += span;
        if (sections > sectionLimit) {
            return ReadOutcome::Unsafe;
        }
        const quint32 itemSize = quint32(size) & 0xfffff; // stored in a 20-bit field
        lengthTotal += quint32(span) * (itemSize / quint32(span));
    }
    if (qint32(lengthTotal) != length) {
        return ReadOutcome::Declined;
    }

    // The reader appends the model's sections that the state lacks.
    const qint64 sectionsTaken = qMax(sections, qint64(modelSectionCount(header, orientation)));
    if (hiddenBits > sectionsTaken || !isSectionMapping(visualIndices, logicalIndices, sections)) {
        return ReadOutcome::Unsafe;
    }
    return ReadOutcome::Taken;
}

} // namespace

namespace TavixQtBasePrivate {

// A state may describe as many sections as the header has, or 65536 if that
// is more: room for a model that has shrunk since the save, while the
// header's per-section bookkeeping stays at a few megabytes.
bool isSafeHeaderState(const QByteArray& state, const QHeaderView* header)
{
    const qint64 sectionLimit = qMax(qint64(header->count()), qint64(1) << 16);
    const int passes = isQt6 ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        switch (replayRead(state, pass == 1, header, sectionLimit)) {
        case ReadOutcome::Taken:
            return true;
        case ReadOutcome::Unsafe:
            return false;
        case ReadOutcome::Declined:
            break;
        }
    }
    return true;
}

} // namespace TavixQtBasePrivate
