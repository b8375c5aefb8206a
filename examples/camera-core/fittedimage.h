// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Camera images shrunk to the size they are shown at, once per frame rather than at every paint.
#ifndef CAMERACORE_FITTEDIMAGE_H
#define CAMERACORE_FITTEDIMAGE_H

#include <QImage>
#include <QSize>

/**
 * @p image shrunk to fit within @p bounds with its aspect ratio kept, as RGB32,
 * for showing it without scaling it again: each pixel is the mean of the source
 * pixels its area covers, as a smooth scaling gives, at a fraction of the cost.
 * A null image when @p image fits within @p bounds already, or either is empty.
 * Takes the formats imageFromPixels() makes; reentrant.
 */
QImage fittedImage(const QImage& image, const QSize& bounds);

/** True when @p fitted is what fittedImage() makes of @p image for @p bounds, to be drawn there unscaled. */
bool isFittedTo(const QImage& fitted, const QImage& image, const QSize& bounds);

#endif
