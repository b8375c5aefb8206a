// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "figuresformat.h"

#include <TavixQtBase/stringhelpers.h>

#include <QCoreApplication>

namespace {

constexpr int decimals = 2;

FormatMultiplier fittingMultiplier(double value, UnitPrefixes prefixes)
{
    const double base = prefixes == UnitPrefixes::Binary ? 1024.0 : 1000.0;
    int multiplier = MultiplierNone;
    for (double factor = base; multiplier < MultiplierTera && value >= factor; factor *= base) {
        ++multiplier;
    }
    return static_cast<FormatMultiplier>(multiplier);
}

QString formatBytes(unsigned long long bytes, const QString& unit, UnitPrefixes prefixes)
{
    QFlags<FormatValueFlag> flags = FormatValueShowMultiplier;
    if (prefixes == UnitPrefixes::Binary) {
        flags |= FormatValueBinaryMultiplier;
    }
    const FormatMultiplier multiplier = fittingMultiplier(static_cast<double>(bytes), prefixes);
    return formatUnsignedIntegerValueAndUnits(
        bytes, multiplier == MultiplierNone ? 0 : decimals, multiplier, unit, flags, getSystemLocale());
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
    return QCoreApplication::translate("CameraMonitor", "%1 \u00d7 %2 pixels, %3 per frame")
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
