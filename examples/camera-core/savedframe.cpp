// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "savedframe.h"

#include <QFile>

bool saveFrame(const LatestFrame::Frame& frame, const QString& path)
{
    if (frame.image.isNull() || !frame.image.save(path, "PNG")) {
        return false;
    }
    if (frame.raw.isEmpty()) {
        return true;
    }
    QFile raw(path + QStringLiteral(".raw"));
    return raw.open(QIODevice::WriteOnly) && raw.write(frame.raw) == frame.raw.size();
}
