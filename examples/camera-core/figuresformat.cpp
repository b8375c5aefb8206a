// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "figuresformat.h"

#include <TavixQtBase/stringhelpers.h>

#include <QCoreApplication>

namespace {

constexpr int decimals = 2;

QString formatBytes(unsigned long long bytes, const QString& unit, UnitPrefixes prefixes)
{
    const bool binary = prefixes == UnitPrefixes::Binary;
    const FormatValueFlags flags = binary ? FormatValueShowMultiplier | FormatValueBinaryMultiplier
                                          : FormatValueFlags(FormatValueShowMultiplier);
    // A count below the first prefix is whole: "512 B", not "512.00 B".
    if (bytes < (binary ? 1024u : 1000u)) {
        return formatUnsignedIntegerValueAndUnits(bytes, 0, MultiplierNone, unit, flags, getSystemLocale());
    }
    return formatDoubleValueAndAutoUnits(static_cast<double>(bytes), decimals, unit, flags, getSystemLocale());
}

} // namespace

QString formatFrameRate(double framesPerSecond)
{
    return formatDoubleValueAndUnits(
        framesPerSecond, decimals, MultiplierNone, QStringLiteral("fps"), {}, getSystemLocale());
}

QString formatDataRate(unsigned long long bytesPerSecond, UnitPrefixes prefixes)
{
    return formatBytes(bytesPerSecond, QStringLiteral("B/s"), prefixes);
}

QString formatFrameSize(const StreamFigures::Snapshot& figures, UnitPrefixes prefixes)
{
    if (figures.images == 0) {
        return QString();
    }
    return QCoreApplication::translate("CameraCore", "%1 \u00d7 %2 pixels, %3 per frame")
        .arg(figures.width)
        .arg(figures.height)
        .arg(formatBytes(figures.frameBytes, QStringLiteral("B"), prefixes));
}

QString formatFiguresForScripts(const StreamFigures::Snapshot& figures)
{
    return QStringLiteral("fps=%1 bytes_per_second=%2 width=%3 height=%4 images=%5 errors=%6")
        .arg(figures.framesPerSecond, 0, 'f', 3)
        .arg(figures.bytesPerSecond)
        .arg(figures.width)
        .arg(figures.height)
        .arg(figures.images)
        .arg(figures.errors);
}
