// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Camera monitor: shows the live figures of a GigE Vision camera with the
// library's formatting, frame-rate statistic, error reporting, layout
// persistence and support functions. See --help for the options.

#include "cameracontrols.h"
#include "monitoroptions.h"
#include "monitorwindow.h"

#include <TavixQtBase/stringhelpers.h>
#include <TavixQtBase/translations.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QPixmap>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// How long the program waits at its end for released streamers to close their cameras cleanly.
constexpr int releaseGraceMs = 300;

bool hasDisplay()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform == "offscreen" || platform == "minimal") {
        return false;
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QStringList argumentList(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

/**
 * Installs the monitor's translation and the library's for the system locale. Both
 * stay English when there is none for its languages. Command-line texts (--help,
 * usage errors, the lines for scripts) are never translated: they are read before
 * the application object exists, or by scripts.
 */
void loadTranslations(QApplication* app)
{
    loadTavixQtBaseTranslation();
    auto* translator = new QTranslator(app);
    const QString directory = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral(CAMERA_MONITOR_TRANSLATIONS_FROM_BINDIR));
    if (!translator->load(QLocale(), QStringLiteral("camera-monitor"), QStringLiteral("_"), directory)
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
    }
}

void printLine(const QString& line)
{
    std::fputs(line.toLocal8Bit().append('\n').constData(), stdout);
    std::fflush(stdout);
}

/**
 * Reports a timed run on stdout, for people and scripts: a line for each
 * connection that starts streaming and a line of figures every second; at the
 * end the screenshot, a last line of figures and the exit code. With more than
 * one camera a line per camera follows each line of figures ("camera-figures:",
 * "camera-result:"), and the result ends with how late the window's
 * once-a-second timer fired at worst. Test actions print how long the GUI
 * thread spent in them ("reconnect: 3 ms"); the end of the run starts
 * @p sinceClose, the clock of the close request.
 */
class TimedRun : public QObject
{
public:
    TimedRun(MonitorWindow* window, const MonitorOptions& options, QElapsedTimer* sinceClose)
        : m_window(window)
        , m_screenshotFile(options.screenshotFile)
        , m_textsFile(options.textsFile)
        , m_imageFile(options.imageFile)
        , m_sinceClose(sinceClose)
    {
        m_clock.start();
        connect(window, &MonitorWindow::streamingStarted, this,
            [](const QString& cameraId) { printLine(QStringLiteral("streaming: %1").arg(cameraId)); });
        connect(&m_progressTimer, &QTimer::timeout, this, [this] { printFigures(QStringLiteral("figures:")); });
        m_progressTimer.start(1000);
        for (const QString& action : options.actions) {
            const int colon = action.indexOf(QLatin1Char(':'));
            QTimer::singleShot(static_cast<int>(action.left(colon).toDouble() * 1000), Qt::PreciseTimer, this,
                [this, what = action.mid(colon + 1)] { perform(what); });
        }
        QTimer::singleShot(
            static_cast<int>(options.runTimeSeconds * 1000), Qt::PreciseTimer, this, [this] { finish(); });
    }

private:
    void perform(const QString& action)
    {
        const QString switchPrefix = QStringLiteral("switch=");
        const QString name = action.section(QLatin1Char('='), 0, 0);
        const QString value = action.section(QLatin1Char('='), 1);
        QElapsedTimer clock;
        clock.start();
        CameraControls* controls = m_window->controls();
        if (action.startsWith(switchPrefix)) {
            if (!m_window->activateCameraAt(action.mid(switchPrefix.size()))) {
                printLine(QStringLiteral("%1: no such camera in the table").arg(action));
                return;
            }
        } else if (action == QLatin1String("maximize")) {
            m_window->showMaximized();
        } else if (action == QLatin1String("normal")) {
            m_window->showNormal();
        } else if (name == QLatin1String("move")) {
            m_window->move(value.section(QLatin1Char(','), 0, 0).toInt(), value.section(QLatin1Char(','), 1).toInt());
        } else if (name != QLatin1String("reconnect")) {
            const bool entered = name == QLatin1String("frame-rate") ? controls->enterFrameRate(value.toDouble())
                : name == QLatin1String("exposure-time")             ? controls->enterExposureTime(value.toDouble())
                : name == QLatin1String("gain")                      ? controls->enterGain(value.toDouble())
                                                                     : controls->choosePixelFormat(value);
            if (!entered) {
                printLine(QStringLiteral("%1: the camera has no such setting now").arg(action));
                return;
            }
        } else {
            m_window->reconnect();
        }
        printLine(QStringLiteral("%1: %2 ms").arg(action).arg(clock.elapsed()));
    }

    void writeTexts()
    {
        QFile file(m_textsFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(m_window->shownTexts()).toJson()) < 0) {
            std::fprintf(stderr, "camera-monitor: cannot write %s\n", m_textsFile.toLocal8Bit().constData());
        }
    }

    void printFigures(const QString& prefix)
    {
        const QString time = QString::number(m_clock.elapsed() / 1000.0, 'f', 1);
        printLine(QStringLiteral("%1 t=%2 %3 reports=%4")
                      .arg(prefix, time, formatFiguresForScripts(m_window->currentFigures()))
                      .arg(m_window->reportsReceived()));
        const QList<CameraChannel*>& channels = m_window->channels();
        if (channels.size() < 2) {
            return;
        }
        // The camera's address first, without a key, so that every key=value pair is a number.
        for (CameraChannel* channel : channels) {
            const StreamFigures::Snapshot figures = channel->figures().snapshot();
            printLine(QStringLiteral("camera-%1 %2 t=%3 %4 cpu_seconds=%5")
                          .arg(prefix, channel->camera().address, time, formatFiguresForScripts(figures))
                          .arg(figures.cpuSeconds, 0, 'f', 3));
        }
    }

    void printResult()
    {
        printFigures(QStringLiteral("result:"));
        timespec cpu {};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        printLine(QStringLiteral("timing: cameras=%1 timer_max_late_ms=%2 process_cpu_seconds=%3 run_seconds=%4")
                      .arg(m_window->channels().size())
                      .arg(m_window->maxTimerLatenessMs())
                      .arg(double(cpu.tv_sec) + double(cpu.tv_nsec) / 1e9, 0, 'f', 3)
                      .arg(m_clock.elapsed() / 1000.0, 0, 'f', 1));
    }

    void finish()
    {
        m_window->updateFigures();
        if (!m_screenshotFile.isEmpty()) {
            if (m_window->grab().save(m_screenshotFile, "PNG")) {
                printLine(QStringLiteral("screenshot: %1").arg(m_screenshotFile));
            } else {
                std::fprintf(stderr, "camera-monitor: cannot write the screenshot %s\n",
                    m_screenshotFile.toLocal8Bit().constData());
            }
        }
        const StreamFigures::Snapshot figures = m_window->currentFigures();
        printLine(QCoreApplication::translate("CameraMonitor", "Frame rate: %1; data rate: %2; %3")
                      .arg(formatFrameRate(figures.framesPerSecond),
                          formatDataRate(figures.bytesPerSecond, UnitPrefixes::Decimal),
                          formatImageCount(figures.images, figures.errors)));
        printResult();
        if (!m_imageFile.isEmpty() && !m_window->saveImage(m_imageFile)) {
            std::fprintf(
                stderr, "camera-monitor: cannot save the image to %s\n", m_imageFile.toLocal8Bit().constData());
        }
        if (!m_textsFile.isEmpty()) {
            writeTexts();
        }
        m_sinceClose->start();
        m_window->close();
        QCoreApplication::exit(figures.images > 0 ? ExitFramesArrived : ExitNoFrame);
    }

    MonitorWindow* const m_window;
    const QString m_screenshotFile;
    const QString m_textsFile;
    const QString m_imageFile;
    QElapsedTimer* const m_sinceClose;
    QElapsedTimer m_clock;
    QTimer m_progressTimer;
};

} // namespace

int main(int argc, char* argv[])
{
    MonitorOptions options;
    QString text;
    switch (parseMonitorOptions(argumentList(argc, argv), hasDisplay(), &options, &text)) {
    case ParseOutcome::ShowHelp:
        printLine(text);
        return ExitFramesArrived;
    case ParseOutcome::Error:
        std::fprintf(stderr, "camera-monitor: %s\nTry --help.\n", text.toLocal8Bit().constData());
        return ExitUsage;
    case ParseOutcome::Run:
        break;
    }
    if (options.offscreen) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tavix"));
    QCoreApplication::setApplicationName(QStringLiteral("CameraMonitor"));
    loadTranslations(&app);

    MonitorWindow::Options windowOptions;
    windowOptions.cameraName = options.cameraName;
    windowOptions.frameRate = options.frameRate;
    windowOptions.retryIntervalSeconds = options.retryIntervalSeconds;
    windowOptions.allCameras = options.allCameras;
    windowOptions.keepRawFrames = !options.imageFile.isEmpty();
    auto window = std::make_unique<MonitorWindow>(windowOptions);
    window->show();
    QElapsedTimer sinceClose;
    std::unique_ptr<TimedRun> timedRun;
    if (options.runTimeSeconds > 0.0) {
        timedRun = std::make_unique<TimedRun>(window.get(), options, &sinceClose);
    }
    const int loopStatus = app.exec();
    const int status = options.runTimeSeconds > 0.0 ? loopStatus : ExitFramesArrived;
    timedRun.reset();
    window.reset();
    const bool streamersEnded = CameraStreamer::finishReleased(QDeadlineTimer(releaseGraceMs));
    if (sinceClose.isValid()) {
        printLine(QStringLiteral("exit: %1 ms after the close request").arg(sinceClose.elapsed()));
    }
    if (!streamersEnded) {
        // A camera holds a streamer inside Aravis. Static destructors would tear down
        // what that thread may still touch when it returns, so they do not run.
        std::fflush(stderr);
        std::quick_exit(status);
    }
    return status;
}
