// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// A shown frame written to files.
#ifndef CAMERACORE_SAVEDFRAME_H
#define CAMERACORE_SAVEDFRAME_H

#include "latestframe.h"

#include <QString>

/**
 * Writes the image of @p frame to @p path as PNG and, when the frame kept them,
 * the camera's bytes of it to @p path + ".raw". False without an image or when
 * a file cannot be written.
 */
bool saveFrame(const LatestFrame::Frame& frame, const QString& path);

#endif
