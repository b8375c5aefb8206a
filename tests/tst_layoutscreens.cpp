// Windows on several screens. The platform reads its screens when the
// application starts, so every save and every restore runs in a child process
// of this program under a screen set-up of its own: Qt 6's offscreen platform
// with a JSON screen file, or for Qt 5, whose offscreen platform has one fixed
// screen, an Xvfb server with two Xinerama heads.

#include <TavixQtBase/layoutpersistence.h>

#include <QApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <memory>

#if QT_VERSION_MAJOR < 6
#include <csignal>
#include <sys/prctl.h>
#endif

namespace {

const QSize windowSize(300, 200);
const QRect firstScreen(0, 0, 800, 600);
// Xvfb puts every Xinerama head at the origin, so there the second screen
// overlaps the first and reaches beyond it only to the right and below.
#if QT_VERSION_MAJOR >= 6
const QRect secondScreen(800, 0, 1280, 1024);
#else
const QRect secondScreen(0, 0, 1280, 1024);
#endif

QString describe(const QRect& rect)
{
    return QStringLiteral("%1,%2 %3x%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

QString describeScreens(const QList<QRect>& screens)
{
    QStringList parts;
    for (const QRect& screen : screens) {
        parts << describe(screen);
    }
    return QStringLiteral("screens: ") + parts.join(QStringLiteral("; "));
}

// --- child side ---------------------------------------------------------------

void printLine(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString describeWindow(const QWidget& window)
{
    const int screen = int(QGuiApplication::screens().indexOf(window.screen()));
    return QStringLiteral("at %1 on screen %2").arg(describe(QRect(window.pos(), window.size()))).arg(screen);
}

// --child save|restore INI X Y: saves a shown window placed at (X, Y), or
// restores a window that starts at (X, Y), and prints the screens and the outcome.
int runChild(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 6) {
        return 2;
    }
    const bool save = qstrcmp(argv[2], "save") == 0;
    QSettings settings(QString::fromLocal8Bit(argv[3]), QSettings::IniFormat);
    QWidget window;
    window.resize(save ? windowSize : QSize(40, 50));
    window.move(QString::fromLatin1(argv[4]).toInt(), QString::fromLatin1(argv[5]).toInt());

    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens << screen->availableGeometry();
    }
    printLine(describeScreens(screens));

    QString outcome;
    if (save) {
        outcome = saveWidgetPositionAndSize(&settings, &window, nullptr) ? QStringLiteral("saved")
                                                                         : QStringLiteral("not saved");
    } else {
        outcome = restoreWidgetPositionAndSize(&settings, &window, nullptr) ? QStringLiteral("moved")
                                                                            : QStringLiteral("not moved");
    }
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, 30000)) {
        return 3;
    }
    printLine(outcome + QLatin1Char(' ') + describeWindow(window));
    return 0;
}

// --- parent side --------------------------------------------------------------

#if QT_VERSION_MAJOR < 6
// An Xvfb server that dies with this process, even when the test crashes.
class XvfbProcess : public QProcess
{
protected:
    void setupChildProcess() override { ::prctl(PR_SET_PDEATHSIG, SIGTERM); }
};
#endif

// One screen arrangement for child processes: a JSON screen file for Qt 6's
// offscreen platform, or a private Xvfb server for Qt 5.
class ScreenSetup
{
public:
    ScreenSetup(const QList<QRect>& screens, const QTemporaryDir& dir)
        : m_screens(screens)
    {
#if QT_VERSION_MAJOR >= 6
        QStringList entries;
        for (const QRect& screen : screens) {
            entries << QStringLiteral(R"({"name": "screen%1", "x": %2, "y": %3, "width": %4, "height": %5,)"
                                      R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1})")
                           .arg(entries.size())
                           .arg(screen.x())
                           .arg(screen.y())
                           .arg(screen.width())
                           .arg(screen.height());
        }
        const QString path = dir.filePath(QStringLiteral("screens%1.json").arg(screens.size()));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(QStringLiteral(R"({"screens": [%1]})").arg(entries.join(QStringLiteral(", "))).toUtf8());
        }
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + path);
#else
        Q_UNUSED(dir);
        startXvfb();
#endif
    }

    ~ScreenSetup()
    {
#if QT_VERSION_MAJOR < 6
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(10000)) {
                m_server.kill();
                m_server.waitForFinished(10000);
            }
        }
#endif
    }

    bool isReady() const { return !m_environment.isEmpty(); }
    // True when this host lacks what the set-up needs, as opposed to a failure to start it.
    bool isUnavailable() const { return m_unavailable; }
    QString failure() const { return m_failure; }
    QString expectedScreens() const { return describeScreens(m_screens); }

    // Runs this program as a child under the screen set-up; returns its output lines.
    QStringList runChild(const QStringList& arguments) const
    {
        QProcess child;
        child.setProcessEnvironment(m_environment);
        child.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--child")} + arguments);
        if (!child.waitForFinished(60000)) {
            child.kill();
            child.waitForFinished();
            return {QStringLiteral("child timed out")};
        }
        QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'));
        lines.removeAll(QString());
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            lines << QStringLiteral("child failed with %1: %2")
                         .arg(child.exitCode())
                         .arg(QString::fromLocal8Bit(child.readAllStandardError()));
        }
        return lines;
    }

private:
#if QT_VERSION_MAJOR < 6
    // Xvfb chooses a free display itself and writes its number to -displayfd.
    // RANDR is disabled because Qt 5 then takes its screens from Xinerama.
    void startXvfb()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty()) {
            m_failure = QStringLiteral("Qt 5 needs Xvfb for a second screen, and Xvfb is not installed");
            m_unavailable = true;
            return;
        }
        QStringList arguments{QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                              QStringLiteral("tcp"), QStringLiteral("-extension"), QStringLiteral("RANDR"),
                              QStringLiteral("+xinerama")};
        for (int i = 0; i < m_screens.size(); ++i) {
            arguments << QStringLiteral("-screen") << QString::number(i)
                      << QStringLiteral("%1x%2x24").arg(m_screens[i].width()).arg(m_screens[i].height());
        }
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start(xvfb, arguments);
        QByteArray display;
        while (!display.endsWith('\n') && m_server.waitForReadyRead(30000)) {
            display += m_server.readAllStandardOutput();
        }
        if (!display.endsWith('\n')) {
            m_failure = QStringLiteral("Xvfb did not start");
            return;
        }
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_environment.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + QString::fromLatin1(display.trimmed()));
    }

    XvfbProcess m_server;
#endif
    QList<QRect> m_screens;
    QProcessEnvironment m_environment;
    QString m_failure;
    bool m_unavailable = false;
};

} // namespace

class LayoutScreensTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsComeBackOnlyWhereAScreenShowsThem_data();
    void windowsComeBackOnlyWhereAScreenShowsThem();
};

void LayoutScreensTest::windowsComeBackOnlyWhereAScreenShowsThem_data()
{
    QTest::addColumn<QPoint>("savedPosition");
    QTest::addColumn<bool>("secondScreenRemains");
    QTest::addColumn<QString>("expected");

    // Near the second screen's lower right corner, outside the first screen.
    const QPoint onSecond = secondScreen.bottomRight() - QPoint(windowSize.width() + 50, windowSize.height() + 50);
    // Over the first screen's right edge, mostly on the second screen: its inner
    // rectangle reaches 12 columns into the first screen.
    const QPoint acrossTheEdge(firstScreen.right() - 19, 100);
    const auto movedTo = [](const QPoint& position, int screen) {
        return QStringLiteral("moved at %1 on screen %2").arg(describe(QRect(position, windowSize))).arg(screen);
    };
    const QString stayed = QStringLiteral("not moved at %1 on screen 0").arg(describe(QRect(20, 30, 300, 200)));

    QTest::newRow("saved on the second screen, restored while it exists")
        << onSecond << true << movedTo(onSecond, 1);
    QTest::newRow("saved on the second screen, restored after it was removed, keeps its place but gets its size")
        << onSecond << false << stayed;
    QTest::newRow("saved across both screens, restored after the second was removed")
        << acrossTheEdge << false << movedTo(acrossTheEdge, 0);
}

void LayoutScreensTest::windowsComeBackOnlyWhereAScreenShowsThem()
{
    QFETCH(QPoint, savedPosition);
    QFETCH(bool, secondScreenRemains);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("layout.ini"));

    {
        const ScreenSetup twoScreens({firstScreen, secondScreen}, dir);
        if (twoScreens.isUnavailable()) {
            QSKIP(qPrintable(twoScreens.failure()));
        }
        QVERIFY2(twoScreens.isReady(), qPrintable(twoScreens.failure()));
        const QStringList saved = twoScreens.runChild(
            {QStringLiteral("save"), ini, QString::number(savedPosition.x()), QString::number(savedPosition.y())});
        QCOMPARE(saved.value(0), twoScreens.expectedScreens());
        QCOMPARE(saved.value(1),
                 QStringLiteral("saved at %1 on screen 1").arg(describe(QRect(savedPosition, windowSize))));
    }

    const QList<QRect> remaining =
        secondScreenRemains ? QList<QRect>{firstScreen, secondScreen} : QList<QRect>{firstScreen};
    const ScreenSetup restoreScreens(remaining, dir);
    QVERIFY2(restoreScreens.isReady(), qPrintable(restoreScreens.failure()));
    const QStringList restored = restoreScreens.runChild({QStringLiteral("restore"), ini, QStringLiteral("20"),
                                                          QStringLiteral("30")});
    QCOMPARE(restored.value(0), restoreScreens.expectedScreens());
    QCOMPARE(restored.value(1), expected);
}

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0) {
        return runChild(argc, argv);
    }
    QCoreApplication app(argc, argv);
    LayoutScreensTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_layoutscreens.moc"
