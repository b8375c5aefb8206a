// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "fittedimage.h"

#include <cstring>
#include <optional>
#include <vector>

namespace {

/** Where the red, green and blue bytes of a pixel lie in the pixels of an image format. */
struct ByteLayout
{
    int bytesPerPixel;
    int red, green, blue;
};

std::optional<ByteLayout> byteLayout(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Grayscale8:
        return ByteLayout { 1, 0, 0, 0 };
    case QImage::Format_RGB888:
        return ByteLayout { 3, 0, 1, 2 };
    case QImage::Format_RGB32:
        // 0xffRRGGBB in the machine's byte order.
        return Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? ByteLayout { 4, 2, 1, 0 } : ByteLayout { 4, 1, 2, 3 };
    default:
        return std::nullopt;
    }
}

/** The first source index of each of @p targetCount boxes over @p sourceCount, and the end of the last. */
std::vector<int> boxBoundaries(int sourceCount, int targetCount)
{
    std::vector<int> boundaries(size_t(targetCount) + 1);
    for (int i = 0; i <= targetCount; ++i) {
        boundaries[size_t(i)] = int(qint64(i) * sourceCount / targetCount);
    }
    return boundaries;
}

/**
 * Adds the @p count bytes of @p row to @p sums, byte by byte, or for the first
 * row of a box sets the sums to them. In blocks of 16 bytes, which the compiler
 * turns into vector instructions.
 */
template <bool First> void addRow(const uchar* row, size_t count, quint32* sums)
{
    constexpr size_t block = 16;
    const auto add = [sums](size_t i, uchar byte) { sums[i] = First ? byte : sums[i] + byte; };
    size_t i = 0;
    for (; i + block <= count; i += block) {
        // A copy the sums cannot overlap, so that the compiler need not check.
        uchar bytes[block];
        memcpy(bytes, row + i, block);
        for (size_t k = 0; k < block; ++k) {
            add(i + k, bytes[k]);
        }
    }
    for (; i < count; ++i) {
        add(i, row[i]);
    }
}

/** The mean of a box of pixels from the sum of their samples and 1 / their count, rounded. */
inline quint32 boxMean(quint32 sum, float scale)
{
    return quint32(int(float(sum) * scale + 0.5f));
}

/**
 * Writes @p count grey target pixels from the sums of their boxes and 1 / their areas. In blocks of
 * 16 pixels, which the compiler turns into vector instructions.
 */
void writeGreyRow(const quint32* sums, const float* scales, size_t count, QRgb* target)
{
    constexpr size_t block = 16;
    const auto grey = [sums, scales](size_t x) { return 0xff000000U | boxMean(sums[x], scales[x]) * 0x010101U; };
    size_t x = 0;
    for (; x + block <= count; x += block) {
        QRgb pixels[block];
        for (size_t k = 0; k < block; ++k) {
            pixels[k] = grey(x + k);
        }
        memcpy(target + x, pixels, sizeof pixels);
    }
    for (; x < count; ++x) {
        target[x] = grey(x);
    }
}

/**
 * The sum of each box of a grey row from the sums of its columns: each box sum is the difference of two
 * running totals, whatever the box's width, so no loop changes its length from pixel to pixel (the
 * processor would mispredict its end). The totals are taken four columns at a time, so that each step
 * waits for one addition of the step before, not for four.
 */
void greyBoxSums(
    const quint32* columnSums, const std::vector<int>& columns, std::vector<quint32>* totals, quint32* boxSums)
{
    const size_t count = size_t(columns.back());
    quint32* total = totals->data();
    quint32 running = 0;
    total[0] = 0;
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const quint32 one = columnSums[i];
        const quint32 two = one + columnSums[i + 1];
        const quint32 three = two + columnSums[i + 2];
        total[i + 1] = running + one;
        total[i + 2] = running + two;
        total[i + 3] = running + three;
        running += three + columnSums[i + 3];
        total[i + 4] = running;
    }
    for (; i < count; ++i) {
        total[i + 1] = total[i] + columnSums[i];
    }
    for (size_t x = 0; x + 1 < columns.size(); ++x) {
        boxSums[x] = total[columns[x + 1]] - total[columns[x]];
    }
}

/** Boxes a block of narrowBoxSums() makes at once; it reads and writes up to a block past a run's end. */
constexpr size_t narrowBlock = 4;

/**
 * How narrowBoxSums() finds the sums of boxes of one or two columns (a shrink to more than half the
 * width): a block at a time along runs of boxes of equal width, where the runs are long enough for the
 * blocks to pay, or else box by box.
 */
struct NarrowBoxes
{
    /** Boxes of one column, then boxes of two, each run beginning where the one before it ends. */
    struct Run
    {
        int firstBox;
        int firstColumn;
        int singles;
        int pairs;
    };
    std::vector<Run> runs;
    /** For each box, all bits set where it has a second column, none where it has one; without runs. */
    std::vector<quint32> secondColumnMasks;

    bool isEmpty() const { return runs.empty() && secondColumnMasks.empty(); }
};

/** The narrow boxes between @p columns; empty when a box is wider than two columns. */
NarrowBoxes narrowBoxes(const std::vector<int>& columns)
{
    NarrowBoxes narrow;
    const int boxes = int(columns.size()) - 1;
    if (columns.back() >= 2 * boxes) {
        return narrow;
    }
    const auto width = [&columns](int x) { return columns[size_t(x) + 1] - columns[size_t(x)]; };
    for (int x = 0; x < boxes;) {
        NarrowBoxes::Run run { x, columns[size_t(x)], 0, 0 };
        for (; x < boxes && width(x) == 1; ++x) {
            ++run.singles;
        }
        for (; x < boxes && width(x) == 2; ++x) {
            ++run.pairs;
        }
        narrow.runs.push_back(run);
    }
    // Runs shorter than two blocks on average cost more in mispredicted loop ends than the blocks save.
    if (boxes < int(2 * narrowBlock * narrow.runs.size())) {
        narrow.runs.clear();
        for (int x = 0; x < boxes; ++x) {
            narrow.secondColumnMasks.push_back(width(x) == 2 ? ~0U : 0U);
        }
    }
    return narrow;
}

/**
 * The sum of each box of one or two columns of a grey row. Along runs, a block of boxes at a time, the
 * sums of neighbouring pairs of columns by vector instructions; a block that passes its run's end leaves
 * sums beyond it that the next run overwrites. Box by box, a box's first column's sum plus its second's,
 * masked away where it has none, so that no branch depends on the box's width. So @p columnSums holds
 * 2 * narrowBlock sums past the row's columns, and @p boxSums room for narrowBlock boxes past the last.
 */
void narrowBoxSums(const quint32* columnSums, const NarrowBoxes& narrow, quint32* boxSums)
{
    for (const NarrowBoxes::Run& run : narrow.runs) {
        quint32* box = boxSums + run.firstBox;
        const quint32* column = columnSums + run.firstColumn;
        for (int x = 0; x < run.singles; x += int(narrowBlock)) {
            memcpy(box + x, column + x, narrowBlock * sizeof(quint32));
        }
        box += run.singles;
        column += run.singles;
        for (int x = 0; x < run.pairs; x += int(narrowBlock)) {
            quint32 pairs[2 * narrowBlock];
            memcpy(pairs, column + 2 * x, sizeof pairs);
            quint32 sums[narrowBlock];
            for (size_t k = 0; k < narrowBlock; ++k) {
                sums[k] = pairs[2 * k] + pairs[2 * k + 1];
            }
            memcpy(box + x, sums, sizeof sums);
        }
    }
    const std::vector<quint32>& masks = narrow.secondColumnMasks;
    const quint32* column = columnSums;
    for (size_t x = 0; x < masks.size(); ++x) {
        boxSums[x] = column[0] + (column[1] & masks[x]);
        column += 1 + (masks[x] & 1);
    }
}

/** Writes a target row of colour pixels from the column sums of its source rows, pixel by pixel. */
template <int BytesPerPixel>
void writeColourRow(const quint32* columnSums, const std::vector<int>& columns, const float* scales,
    const ByteLayout& layout, QRgb* target)
{
    for (size_t x = 0; x + 1 < columns.size(); ++x) {
        quint32 red = 0, green = 0, blue = 0;
        const quint32* end = columnSums + size_t(columns[x + 1]) * BytesPerPixel;
        for (const quint32* sum = columnSums + size_t(columns[x]) * BytesPerPixel; sum != end; sum += BytesPerPixel) {
            red += sum[layout.red];
            green += sum[layout.green];
            blue += sum[layout.blue];
        }
        target[x] = qRgb(int(boxMean(red, scales[x])), int(boxMean(green, scales[x])), int(boxMean(blue, scales[x])));
    }
}

/**
 * Averages boxes of whole source pixels: the target pixel x covers the source
 * columns from x * width / targetWidth up to (x + 1) * width / targetWidth, and
 * likewise for rows. The source rows of a target row are first added up byte
 * by byte, then each box of columns.
 */
template <int BytesPerPixel> QImage boxShrunk(const QImage& image, const QSize& size, const ByteLayout& layout)
{
    QImage shrunk(size, QImage::Format_RGB32);
    const std::vector<int> columns = boxBoundaries(image.width(), size.width());
    const std::vector<int> rows = boxBoundaries(image.height(), size.height());
    const size_t sampleCount = size_t(image.width()) * BytesPerPixel;
    // Room past the samples for narrowBoxSums().
    std::vector<quint32> columnSums(sampleCount + 2 * narrowBlock);
    std::vector<quint32> totals(BytesPerPixel == 1 ? sampleCount + 1 : 0);
    std::vector<quint32> boxSums(BytesPerPixel == 1 ? size_t(size.width()) + narrowBlock : 0);
    const NarrowBoxes narrow = BytesPerPixel == 1 ? narrowBoxes(columns) : NarrowBoxes();
    // 1 / the box's area for each target column, for boxes of lowBox rows and of lowBox + 1, the only two heights.
    const int lowBox = image.height() / size.height();
    std::vector<float> scales[2];
    // Rows by pointer: QImage's row functions check their argument, and scanLine() whether to detach.
    const uchar* sourceRows = image.constBits();
    const qsizetype sourceStride = image.bytesPerLine();
    uchar* targetRows = shrunk.bits();
    const qsizetype targetStride = shrunk.bytesPerLine();
    for (int y = 0; y < size.height(); ++y) {
        const uchar* row = sourceRows + rows[size_t(y)] * sourceStride;
        addRow<true>(row, sampleCount, columnSums.data());
        for (int more = rows[size_t(y)] + 1; more < rows[size_t(y) + 1]; ++more) {
            row += sourceStride;
            addRow<false>(row, sampleCount, columnSums.data());
        }
        const int boxHeight = rows[size_t(y) + 1] - rows[size_t(y)];
        std::vector<float>& rowScales = scales[boxHeight - lowBox];
        if (rowScales.empty()) {
            for (size_t x = 0; x + 1 < columns.size(); ++x) {
                rowScales.push_back(1.0f / float(boxHeight * (columns[x + 1] - columns[x])));
            }
        }
        auto* target = reinterpret_cast<QRgb*>(targetRows + y * targetStride);
        if constexpr (BytesPerPixel == 1) {
            if (narrow.isEmpty()) {
                greyBoxSums(columnSums.data(), columns, &totals, boxSums.data());
            } else {
                narrowBoxSums(columnSums.data(), narrow, boxSums.data());
            }
            writeGreyRow(boxSums.data(), rowScales.data(), size_t(size.width()), target);
        } else {
            writeColourRow<BytesPerPixel>(columnSums.data(), columns, rowScales.data(), layout, target);
        }
    }
    return shrunk;
}

} // namespace

QImage fittedImage(const QImage& image, const QSize& bounds)
{
    if (image.isNull() || bounds.isEmpty()) {
        return QImage();
    }
    const QSize size = image.size().scaled(bounds, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)).boundedTo(image.size());
    if (size == image.size()) {
        return QImage();
    }
    const std::optional<ByteLayout> layout = byteLayout(image.format());
    if (!layout) {
        return fittedImage(image.convertToFormat(QImage::Format_RGB32), bounds);
    }
    switch (layout->bytesPerPixel) {
    case 1:
        return boxShrunk<1>(image, size, *layout);
    case 3:
        return boxShrunk<3>(image, size, *layout);
    default:
        return boxShrunk<4>(image, size, *layout);
    }
}

bool isFittedTo(const QImage& fitted, const QImage& image, const QSize& bounds)
{
    return !fitted.isNull() && fitted.size() == image.size().scaled(bounds, Qt::KeepAspectRatio);
}
