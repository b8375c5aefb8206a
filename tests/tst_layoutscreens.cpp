// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Windows on several screens. The platform reads its screens when the
// application starts, so every save and every restore runs in a child process
// of this program under a screen set-up of its own: Qt 6's offscreen platform
// with a JSON screen file, or for Qt 5, whose offscreen platform has one fixed
// screen, an Xvfb server with two Xinerama heads.

#include <TavixQtBase/layoutpersistence.h>

#include <QApplication>
#include <QScreen>
#include <QtTest>

namespace {

const QRect firstScreen(0, 0, 800, 600);
// Xvfb puts every Xinerama head at the origin, so there the second screen
// overlaps the first and reaches beyond it only to the right and below.
const QRect secondScreen(QT_VERSION_MAJOR >= 6 ? 800 : 0, 0, 1280, 1024);
// Near the second screen's lower right corner, outside the first screen.
const QRect savedGeometry(secondScreen.bottomRight() - QPoint(350, 250), QSize(300, 200));

// The values as QDebug writes them, the same in parent and child.
template <typename... Values> QString describe(const Values&... values)
{
    QString text;
    (QDebug(&text) << ... << values);
    return text.trimmed();
}

// --child save|restore INI: saves a window placed at savedGeometry, or restores
// a 40x50 window that starts at (20, 30). Prints the screens' available areas,
// the function's result, whether the shown window was exposed, and where it is.
int runChild(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const bool save = qstrcmp(argv[2], "save") == 0;
    QSettings settings(QString::fromLocal8Bit(argv[3]), QSettings::IniFormat);
    QWidget window;
    const QRect start = save ? savedGeometry : QRect(20, 30, 40, 50);
    window.resize(start.size()); // moved as a frame, like the saved and restored positions
    window.move(start.topLeft());
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens << screen->availableGeometry();
    }
    const bool done = save ? saveWidgetPositionAndSize(&settings, &window, nullptr)
                           : restoreWidgetPositionAndSize(&settings, &window, nullptr);
    window.show();
    const bool exposed = QTest::qWaitForWindowExposed(&window, 30000);
    const int screen = int(QGuiApplication::screens().indexOf(window.screen()));
    QTextStream(stdout) << describe(screens, done, exposed, QRect(window.pos(), window.size()), screen) << '\n';
    return 0;
}

// Runs this program as a child under the given screens; returns its output.
// The screen file goes beside the settings file, the last argument.
QString runUnder(const QList<QRect>& screens, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
#if QT_VERSION_MAJOR >= 6
    QStringList entries;
    for (const QRect& s : screens) {
        entries << QString::asprintf(R"({"name": "s%d", "x": %d, "y": %d, "width": %d, "height": %d})",
            int(entries.size()), s.x(), s.y(), s.width(), s.height());
    }
    QFile file(arguments.last() + QStringLiteral(".screens%1.json").arg(screens.size()));
    file.open(QIODevice::WriteOnly);
    file.write(QStringLiteral(R"({"screens": [%1]})").arg(entries.join(QLatin1Char(','))).toUtf8());
    file.close();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + file.fileName());
#else
    // Xvfb chooses a free display itself and writes its number to -displayfd
    // when ready; it ends when its last client, the child, has gone. RANDR is
    // disabled because Qt 5 then takes its screens from Xinerama.
    QStringList serverArguments { "-displayfd", "1", "-terminate", "-nolisten", "tcp", "-extension", "RANDR",
        "+xinerama" };
    for (int i = 0; i < screens.size(); ++i) {
        serverArguments << "-screen" << QString::number(i)
                        << QStringLiteral("%1x%2x24").arg(screens[i].width()).arg(screens[i].height());
    }
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(QStringLiteral("Xvfb"), serverArguments);
    server.waitForReadyRead(30000);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), ':' + QString::fromLatin1(server.readAllStandardOutput().trimmed()));
#endif
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList { QStringLiteral("--child") } + arguments);
    child.waitForFinished(60000);
    const QString output = QString::fromUtf8(child.readAllStandardOutput()).trimmed();
#if QT_VERSION_MAJOR < 6
    server.waitForFinished(10000);
#endif
    return child.exitCode() == 0 ? output : output + QString::fromLocal8Bit(" / " + child.readAllStandardError());
}

} // namespace

class LayoutScreensTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Restored while the second screen is still there, the window comes back on
    // it; once it was removed, the window keeps its place but gets its size.
    void windowsComeBackOnTheirScreenOnlyWhileItExists()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString ini = dir.filePath(QStringLiteral("layout.ini"));
        const QList<QRect> both { firstScreen, secondScreen };
        QCOMPARE(runUnder(both, { "save", ini }), describe(both, true, true, savedGeometry, 1));

        for (const bool secondScreenRemains : { true, false }) {
            const QList<QRect> remaining = secondScreenRemains ? both : QList<QRect> { firstScreen };
            const QRect restored = secondScreenRemains ? savedGeometry : QRect(QPoint(20, 30), savedGeometry.size());
            QCOMPARE(runUnder(remaining, { "restore", ini }),
                describe(remaining, secondScreenRemains, true, restored, int(secondScreenRemains)));
        }
    }
};

int main(int argc, char* argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0) {
        return runChild(argc, argv);
    }
    QCoreApplication app(argc, argv);
    LayoutScreensTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_layoutscreens.moc"
