// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "timedrun.h"

#include "camerachannel.h"
#include "figuresformat.h"
#include "monitormodel.h"
#include "monitoroptions.h"
#include "streamsession.h"

#include <TavixQtBase/errorreporting.h>
#include <TavixQtBase/stringhelpers.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

double processCpuSeconds()
{
    timespec cpu {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    return double(cpu.tv_sec) + double(cpu.tv_nsec) / 1e9;
}

/** Says on stderr, after the program's name, that @p what could not be done with @p file. */
void complain(const char* what, const QString& file)
{
    std::fprintf(stderr, "%s: %s %s\n",
        QFileInfo(QCoreApplication::applicationFilePath()).fileName().toLocal8Bit().constData(), what,
        file.toLocal8Bit().constData());
}

} // namespace

void printLine(const QString& line)
{
    std::fputs(line.toLocal8Bit().append('\n').constData(), stdout);
    std::fflush(stdout);
}

TimedRun::TimedRun(
    MonitorModel* model, double runTimeSeconds, const QString& screenshotFile, const ScriptOptions& options)
    : m_model(model)
    , m_screenshotFile(screenshotFile)
    , m_options(options)
{
    m_clock.start();
    connect(model, &MonitorModel::streamingStarted, this,
        [](const QString& cameraId) { printLine(QStringLiteral("streaming: %1").arg(cameraId)); });
    connect(model, &MonitorModel::figuresSampled, this, &TimedRun::printSample);
    connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, this, [this] { ++m_reports; });
    for (const QString& action : m_options.actions) {
        const int colon = action.indexOf(QLatin1Char(':'));
        QTimer::singleShot(static_cast<int>(action.left(colon).toDouble() * 1000), Qt::PreciseTimer, this,
            [this, what = action.mid(colon + 1)] { performTimed(what); });
    }
    QTimer::singleShot(static_cast<int>(runTimeSeconds * 1000), Qt::PreciseTimer, this, [this] { finish(); });
}

void TimedRun::performTimed(const QString& action)
{
    QElapsedTimer clock;
    clock.start();
    if (perform(action)) {
        printLine(QStringLiteral("%1: %2 ms").arg(action).arg(clock.elapsed()));
    }
}

bool TimedRun::changeSetting(const QString& action)
{
    const CameraSetting* setting = findCameraSetting(action.section(QLatin1Char('='), 0, 0));
    if (setting && enterSetting(*setting, scriptedValue(*setting, action.section(QLatin1Char('='), 1)))) {
        return true;
    }
    printLine(QStringLiteral("%1: the camera has no such setting now").arg(action));
    return false;
}

bool TimedRun::enterSetting(const CameraSetting& setting, const QVariant& value)
{
    return m_model->changeSetting(QLatin1String(setting.key), value);
}

QJsonArray TimedRun::jsonRect(const QRect& rect)
{
    return { rect.x(), rect.y(), rect.width(), rect.height() };
}

QJsonArray TimedRun::jsonChart(const QVector<RatePoint>& points)
{
    QJsonArray chart;
    for (const RatePoint& point : points) {
        chart.append(QJsonArray { double(point.msecsSinceEpoch), point.framesPerSecond, point.bytesPerSecond,
            point.restarted, point.stalled });
    }
    return chart;
}

void TimedRun::printSample()
{
    // Lateness counts once a camera streams: start-up work before that is not the monitor's steady state.
    const QList<CameraChannel*> cameras = m_model->channels().channels();
    const bool streaming = std::any_of(
        cameras.cbegin(), cameras.cend(), [](const CameraChannel* channel) { return channel->isStreaming(); });
    if (m_sinceSample.isValid() && streaming) {
        m_maxLatenessMs = qMax(m_maxLatenessMs, m_sinceSample.elapsed() - ChannelSet::sampleIntervalMs);
    }
    m_sinceSample.start();
    printFigures(QStringLiteral("figures:"));
}

void TimedRun::printFigures(const QString& prefix) const
{
    const QString time = QString::number(m_clock.elapsed() / 1000.0, 'f', 3);
    printLine(QStringLiteral("%1 t=%2 %3 reports=%4")
                  .arg(prefix, time, formatFiguresForScripts(m_model->selected()->figuresNow()))
                  .arg(m_reports));
    const QList<CameraChannel*> cameras = m_model->channels().channels();
    if (cameras.size() < 2) {
        return;
    }
    // The camera's address first, without a key, so that every key=value pair is a number.
    for (const CameraChannel* channel : cameras) {
        const StreamFigures::Snapshot& figures = channel->figuresNow();
        printLine(QStringLiteral("camera-%1 %2 t=%3 %4 cpu_seconds=%5")
                      .arg(prefix, channel->camera().address, time, formatFiguresForScripts(figures))
                      .arg(figures.cpuSeconds, 0, 'f', 3));
    }
}

void TimedRun::finish()
{
    if (!m_screenshotFile.isEmpty()) {
        // Quality 80 is zlib's compression level 1, its fastest that still compresses: saving takes less of the
        // run's CPU time than at the default level.
        if (grabWindow().save(m_screenshotFile, "PNG", 80)) {
            printLine(QStringLiteral("screenshot: %1").arg(m_screenshotFile));
        } else {
            complain("cannot write the screenshot", m_screenshotFile);
        }
    }
    const StreamFigures::Snapshot figures = m_model->selected()->figuresNow();
    printLine(QCoreApplication::translate("CameraCore", "Frame rate: %1; data rate: %2; %3")
                  .arg(formatFrameRate(figures.framesPerSecond),
                      formatDataRate(figures.bytesPerSecond, UnitPrefixes::Decimal),
                      formatImageCount(figures.images, figures.errors)));
    printFigures(QStringLiteral("result:"));
    printLine(QStringLiteral(
        "timing: cameras=%1 timer_max_late_ms=%2 process_cpu_seconds=%3 run_seconds=%4 packet_sockets=%5")
                  .arg(m_model->channels().channels().size())
                  .arg(m_maxLatenessMs)
                  .arg(processCpuSeconds(), 0, 'f', 3)
                  .arg(m_clock.elapsed() / 1000.0, 0, 'f', 1)
                  .arg(int(StreamSession::receivesWithPacketSockets())));
    if (!m_options.imageFile.isEmpty() && !m_model->saveImage(m_options.imageFile)) {
        complain("cannot save the image to", m_options.imageFile);
    }
    if (!m_options.textsFile.isEmpty()) {
        QFile file(m_options.textsFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(shownTexts()).toJson()) < 0) {
            complain("cannot write", m_options.textsFile);
        }
    }
    m_sinceClose.start();
    closeWindow();
    QCoreApplication::exit(figures.images > 0 ? ExitFramesArrived : ExitNoFrame);
}

void TimedRun::printExitTime() const
{
    if (m_sinceClose.isValid()) {
        printLine(QStringLiteral("exit: %1 ms after the close request").arg(m_sinceClose.elapsed()));
    }
}
