// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "pixelconversion.h"

#include "aravis_p.h"

#include <QTransform>

#include <cstring>

namespace {

enum class Layout { Mono8, Mono16, Bayer8, Rgb8, Bgr8 };

struct FormatInfo
{
    quint32 pixelFormat;
    Layout layout;
    int bits; ///< significant bits of a Mono16 pixel
    const char* bayerOrder; ///< the colours of the top-left 2 × 2 cell, row by row
};

const FormatInfo formats[] = {
    { ARV_PIXEL_FORMAT_MONO_8, Layout::Mono8, 8, nullptr },
    { ARV_PIXEL_FORMAT_MONO_10, Layout::Mono16, 10, nullptr },
    { ARV_PIXEL_FORMAT_MONO_12, Layout::Mono16, 12, nullptr },
    { ARV_PIXEL_FORMAT_MONO_14, Layout::Mono16, 14, nullptr },
    { ARV_PIXEL_FORMAT_MONO_16, Layout::Mono16, 16, nullptr },
    { ARV_PIXEL_FORMAT_BAYER_RG_8, Layout::Bayer8, 8, "RGGB" },
    { ARV_PIXEL_FORMAT_BAYER_GR_8, Layout::Bayer8, 8, "GRBG" },
    { ARV_PIXEL_FORMAT_BAYER_GB_8, Layout::Bayer8, 8, "GBRG" },
    { ARV_PIXEL_FORMAT_BAYER_BG_8, Layout::Bayer8, 8, "BGGR" },
    { ARV_PIXEL_FORMAT_RGB_8_PACKED, Layout::Rgb8, 8, nullptr },
    { ARV_PIXEL_FORMAT_BGR_8_PACKED, Layout::Bgr8, 8, nullptr },
};

const FormatInfo* findFormat(quint32 pixelFormat)
{
    for (const FormatInfo& info : formats) {
        if (info.pixelFormat == pixelFormat) {
            return &info;
        }
    }
    return nullptr;
}

int bytesPerPixel(Layout layout)
{
    switch (layout) {
    case Layout::Mono8:
    case Layout::Bayer8:
        return 1;
    case Layout::Mono16:
        return 2;
    case Layout::Rgb8:
    case Layout::Bgr8:
        return 3;
    }
    return 1;
}

QImage mono16(const uchar* data, int width, int height, int bits)
{
    QImage image(width, height, QImage::Format_Grayscale8);
    const int shift = bits - 8;
    for (int y = 0; y < height; ++y) {
        const uchar* in = data + size_t(y) * size_t(width) * 2;
        uchar* out = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const unsigned value = unsigned(in[2 * x]) | unsigned(in[2 * x + 1]) << 8;
            out[x] = uchar(qMin(value >> shift, 255u));
        }
    }
    return image;
}

/**
 * Where a pixel finds a colour that it did not sample: its own sample, the
 * mean of its left and right, of its upper and lower, of its four side or of its
 * four diagonal neighbours.
 */
enum class Source { Own, Horizontal, Vertical, Sides, Diagonals };

QImage bayer8(const uchar* data, int width, int height, const char* order)
{
    // For each position in the 2 × 2 cell and each of R, G, B: where its value comes from.
    Source sources[4][3];
    const auto colourAt = [order](int x, int y) { return order[(y & 1) * 2 + (x & 1)]; };
    for (int cell = 0; cell < 4; ++cell) {
        const int x = cell & 1;
        const int y = cell >> 1;
        for (int channel = 0; channel < 3; ++channel) {
            const char colour = "RGB"[channel];
            const bool beside = colourAt(x + 1, y) == colour;
            const bool above = colourAt(x, y + 1) == colour;
            sources[cell][channel] = colourAt(x, y) == colour ? Source::Own
                : beside && above                             ? Source::Sides
                : beside                                      ? Source::Horizontal
                : above                                       ? Source::Vertical
                                                              : Source::Diagonals;
        }
    }
    QImage image(width, height, QImage::Format_RGB32);
    // Beyond an edge the neighbour on the other side stands in; it has the same colour.
    const auto row = [data, width, height](int y) {
        return data + size_t(y < 0 ? 1 : y >= height ? height - 2 : y) * size_t(width);
    };
    for (int y = 0; y < height; ++y) {
        const uchar* above = row(y - 1);
        const uchar* here = row(y);
        const uchar* below = row(y + 1);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int left = x == 0 ? 1 : x - 1;
            const int right = x == width - 1 ? width - 2 : x + 1;
            const Source* source = sources[(y & 1) * 2 + (x & 1)];
            int rgb[3];
            for (int channel = 0; channel < 3; ++channel) {
                switch (source[channel]) {
                case Source::Own:
                    rgb[channel] = here[x];
                    break;
                case Source::Horizontal:
                    rgb[channel] = (here[left] + here[right] + 1) / 2;
                    break;
                case Source::Vertical:
                    rgb[channel] = (above[x] + below[x] + 1) / 2;
                    break;
                case Source::Sides:
                    rgb[channel] = (here[left] + here[right] + above[x] + below[x] + 2) / 4;
                    break;
                case Source::Diagonals:
                    rgb[channel] = (above[left] + above[right] + below[left] + below[right] + 2) / 4;
                    break;
                }
            }
            out[x] = qRgb(rgb[0], rgb[1], rgb[2]);
        }
    }
    return image;
}

QImage copied(const uchar* data, int width, int height, int bytesPerPixel, QImage::Format format)
{
    QImage image(width, height, format);
    const size_t rowBytes = size_t(width) * size_t(bytesPerPixel);
    for (int y = 0; y < height; ++y) {
        memcpy(image.scanLine(y), data + size_t(y) * rowBytes, rowBytes);
    }
    return image;
}

/** The format of a frame that imageFromPixels() can convert, or null. */
const FormatInfo* convertibleFrame(const void* data, size_t size, int width, int height, quint32 pixelFormat)
{
    const FormatInfo* info = findFormat(pixelFormat);
    if (!info || !data || width < 2 || height < 2
        || size / size_t(height) / size_t(width) < size_t(bytesPerPixel(info->layout))) {
        return nullptr;
    }
    return info;
}

/** The format of an image that holds pixels of @p layout as they are; Format_Invalid where they need converting. */
QImage::Format unconvertedFormat(Layout layout)
{
    switch (layout) {
    case Layout::Mono8:
        return QImage::Format_Grayscale8;
    case Layout::Rgb8:
        return QImage::Format_RGB888;
    default:
        return QImage::Format_Invalid;
    }
}

} // namespace

bool isDisplayablePixelFormat(quint32 pixelFormat)
{
    return findFormat(pixelFormat) != nullptr;
}

QImage imageFromPixels(const void* data, size_t size, int width, int height, quint32 pixelFormat)
{
    const FormatInfo* info = convertibleFrame(data, size, width, height, pixelFormat);
    if (!info) {
        return QImage();
    }
    const auto* pixels = static_cast<const uchar*>(data);
    switch (info->layout) {
    case Layout::Mono8:
    case Layout::Rgb8:
        return copied(pixels, width, height, bytesPerPixel(info->layout), unconvertedFormat(info->layout));
    case Layout::Mono16:
        return mono16(pixels, width, height, info->bits);
    case Layout::Bayer8:
        return bayer8(pixels, width, height, info->bayerOrder);
    case Layout::Bgr8:
        return copied(pixels, width, height, 3, QImage::Format_RGB888).rgbSwapped();
    }
    return QImage();
}

QImage imageOnPixels(const void* data, size_t size, int width, int height, quint32 pixelFormat,
    QImageCleanupFunction release, void* releaseInfo)
{
    const FormatInfo* info = convertibleFrame(data, size, width, height, pixelFormat);
    const QImage::Format format = info ? unconvertedFormat(info->layout) : QImage::Format_Invalid;
    const int rowBytes = format == QImage::Format_Invalid ? 0 : width * bytesPerPixel(info->layout);
    // QImage wants its rows on 4-byte boundaries.
    if (format == QImage::Format_Invalid || rowBytes % 4 != 0 || quintptr(data) % 4 != 0) {
        QImage image = imageFromPixels(data, size, width, height, pixelFormat);
        release(releaseInfo);
        return image;
    }
    return QImage(static_cast<const uchar*>(data), width, height, rowBytes, format, release, releaseInfo);
}

QImage orientedImage(const QImage& image, const ImageOrientation& orientation)
{
    if (orientation == ImageOrientation()) {
        return image;
    }
    // Quarter turns move whole pixels: no sample is interpolated.
    return image.mirrored(orientation.flipHorizontal, orientation.flipVertical)
        .transformed(QTransform().rotate(orientation.rotation));
}
