// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Texts for the live figures, made with the library's formatters.
#ifndef CAMERACORE_FIGURESFORMAT_H
#define CAMERACORE_FIGURESFORMAT_H

#include "streamfigures.h"

#include <QString>

/** Which prefixes the data rate and frame size use: powers of 1000 (MB) or of 1024 (MiB). */
enum class UnitPrefixes { Decimal, Binary };

/** "20.00 fps", in the system locale. */
QString formatFrameRate(double framesPerSecond);
/** "5.24 MB/s" or "5.00 MiB/s": the largest prefix that keeps the number at 1 or more. */
QString formatDataRate(unsigned long long bytesPerSecond, UnitPrefixes prefixes);
/** "512 × 512 pixels, 262.14 kB per frame"; empty before the first frame. */
QString formatFrameSize(const StreamFigures::Snapshot& figures, UnitPrefixes prefixes);
/**
 * One line of figures for scripts: "fps=20.000 bytes_per_second=5242880 width=512
 * height=512 images=100 errors=0", always with a decimal point, whatever the locale.
 */
QString formatFiguresForScripts(const StreamFigures::Snapshot& figures);

#endif
