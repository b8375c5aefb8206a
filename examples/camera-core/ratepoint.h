// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// One second of a stream's rates, as the rate chart shows it.
#ifndef CAMERACORE_RATEPOINT_H
#define CAMERACORE_RATEPOINT_H

#include <QtGlobal>

struct RatePoint
{
    /** How many points, one per second, a stream's history and its chart keep. */
    static constexpr int maxPoints = 60;

    qint64 msecsSinceEpoch = 0;
    double framesPerSecond = 0.0;
    double bytesPerSecond = 0.0;
    bool restarted = false; ///< the rate started over since the point before
    bool stalled = false; ///< no frame arrived since the point before
};

#endif
