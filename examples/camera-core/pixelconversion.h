// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Camera pixel formats to QImage, for display.
#ifndef CAMERACORE_PIXELCONVERSION_H
#define CAMERACORE_PIXELCONVERSION_H

#include "camerasettings.h"

#include <QImage>

#include <cstddef>

/**
 * The image of one frame in pixel format @p pixelFormat (a GigE Vision / GenICam
 * pixel format code), @p width × @p height pixels without padding, as an 8-bit
 * image: Mono8 as Grayscale8; Mono10, 12, 14 and 16 (little-endian, one pixel in
 * two bytes) as Grayscale8 of their 8 most significant bits; the four Bayer
 * orders of 8 bits demosaiced bilinearly into RGB32, where every pixel keeps its
 * own sample in its own colour; RGB8 and BGR8 as RGB888.
 *
 * Returns a null image for other formats, for a size below 2 × 2 pixels, or when
 * @p size is too small for the frame. Reentrant: the receiving threads of several cameras call it.
 */
QImage imageFromPixels(const void* data, size_t size, int width, int height, quint32 pixelFormat);

/**
 * The image imageFromPixels() makes, but on @p data itself where that copies it
 * unchanged (8-bit grey and RGB frames whose rows are whole 4-byte words), which
 * spares a copy of every frame shown: then @p release is called with
 * @p releaseInfo once the last copy of the image is gone, in whichever thread
 * drops it; otherwise before this returns.
 */
QImage imageOnPixels(const void* data, size_t size, int width, int height, quint32 pixelFormat,
    QImageCleanupFunction release, void* releaseInfo);

/** @p image mirrored, then rotated clockwise, as @p orientation says; reentrant. */
QImage orientedImage(const QImage& image, const ImageOrientation& orientation);

/** True when imageFromPixels() converts @p pixelFormat. */
bool isDisplayablePixelFormat(quint32 pixelFormat);

#endif
