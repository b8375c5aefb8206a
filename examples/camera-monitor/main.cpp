// Camera monitor: shows the live figures of a GigE Vision camera with the
// library's formatting, frame-rate statistic, error reporting, layout
// persistence and support functions. See --help for the options.

#include "monitoroptions.h"
#include "monitorwindow.h"

#include <TavixQtBase/stringhelpers.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

namespace {

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

void printLine(const QString& line)
{
    std::fputs(line.toLocal8Bit().append('\n').constData(), stdout);
    std::fflush(stdout);
}

/**
 * Reports a timed run on stdout, for people and scripts: a line for each
 * connection that starts streaming and a line of figures every second; at the
 * end the screenshot, a last line of figures and the exit code.
 */
class TimedRun : public QObject
{
public:
    TimedRun(MonitorWindow* window, const MonitorOptions& options)
        : m_window(window)
        , m_screenshotFile(options.screenshotFile)
    {
        m_clock.start();
        connect(window, &MonitorWindow::streamingStarted, this,
            [](const QString& cameraId) { printLine(QStringLiteral("streaming: %1").arg(cameraId)); });
        connect(&m_progressTimer, &QTimer::timeout, this, [this] { printFigures(QStringLiteral("figures:")); });
        m_progressTimer.start(1000);
        QTimer::singleShot(
            static_cast<int>(options.runTimeSeconds * 1000), Qt::PreciseTimer, this, [this] { finish(); });
    }

private:
    void printFigures(const QString& prefix)
    {
        printLine(QStringLiteral("%1 t=%2 %3 reports=%4")
                      .arg(prefix)
                      .arg(m_clock.elapsed() / 1000.0, 0, 'f', 1)
                      .arg(formatFiguresForScripts(m_window->currentFigures()))
                      .arg(m_window->reportsReceived()));
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
        printLine(QStringLiteral("Frame rate: %1; data rate: %2; %3")
                      .arg(formatFrameRate(figures.framesPerSecond),
                          formatDataRate(figures.bytesPerSecond, UnitPrefixes::Decimal),
                          formatImageCount(figures.images, figures.errors)));
        printFigures(QStringLiteral("result:"));
        m_window->close();
        QCoreApplication::exit(figures.images > 0 ? ExitFramesArrived : ExitNoFrame);
    }

    MonitorWindow* const m_window;
    const QString m_screenshotFile;
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

    MonitorWindow window(options.cameraName, options.frameRate, options.retryIntervalSeconds);
    window.show();
    std::unique_ptr<TimedRun> timedRun;
    if (options.runTimeSeconds > 0.0) {
        timedRun = std::make_unique<TimedRun>(&window, options);
    }
    const int status = app.exec();
    return options.runTimeSeconds > 0.0 ? status : ExitFramesArrived;
}
