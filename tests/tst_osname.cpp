#include <TavixQtBase/supportinfo.h>

#include <QtTest>

#include <cstdio>
#include <fstream>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

static QByteArray kernelPart()
{
    struct utsname system;
    uname(&system);
    return QByteArray(system.sysname) + ' ' + QByteArray(system.release) + ", " + QByteArray(system.machine);
}

class OsNameTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void takesTheFirstSourceThatNamesTheSystem_data()
    {
        QTest::addColumn<QByteArray>("osRelease"); // null: missing
        QTest::addColumn<QByteArray>("lsbRelease"); // the fake lsb_release's shell script; "exit 127": not found
        QTest::addColumn<QByteArray>("issueNet"); // null: missing
        QTest::addColumn<QByteArray>("distribution");

        const auto row = [](const char* name, const QByteArray& osRelease, const char* distribution,
                             const QByteArray& lsbRelease = "exit 127", const QByteArray& issueNet = {}) {
            QTest::newRow(name) << osRelease << lsbRelease << issueNet << QByteArray(distribution);
        };
        const QByteArray issue("Issue Line One\nsecond line\n"), none;
        const QByteArray nearMisses(
            "# PRETTY_NAME=\"comment\"\n PRETTY_NAME=\"blank\"\npretty_name=\"lower case\"\n"
            "PRETTY_NAME =\"blank before =\"\nPRETTY_NAMES=\"longer\"\nPRETTY_NAM=\"shorter\"\n");
        row("double quotes", "NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
            "Debian GNU/Linux 12 (bookworm)");
        row("unquoted up to a double quote, nothing unescaped", "PRETTY_NAME='Foo' T\xc3\xa4vix=OS \\\"Hi\\\"\nID=x\n",
            "'Foo' T\xc3\xa4vix=OS \\");
        row("exact key, first match", nearMisses + "PRETTY_NAME=\"first\"\nPRETTY_NAME=\"second\"\n", "first");
        row("empty name", "PRETTY_NAME=\"\"\n", "", "echo Lsb", issue);
        row("unterminated quote, carriage return kept", "ID=dos\r\nPRETTY_NAME=\"Open end\r", "Open end\r");
        // lsb_release -ds: quotes kept, one line feed dropped.
        row("no key: lsb_release", nearMisses, "\"Lsb\"\r\n", "printf '\"Lsb\"\\r\\n\\n'", issue);
        row("no file: lsb_release without line feed", none, "No Feed", "printf 'No Feed'", issue);
        row("lsb_release exiting 127: issue.net", none, "Issue Line One", "echo Lsb; exit 127", issue);
        row("lsb_release printing a line feed: issue.net", none, "Issue Line One", "echo", issue);
        row("no source at all", none, "Some Linux");
    }

    // Each scenario runs in a child process (this binary with --os-name-child) in a
    // private mount namespace; see runOsNameChild() below.
    void takesTheFirstSourceThatNamesTheSystem()
    {
        QFETCH(QByteArray, osRelease);
        QFETCH(QByteArray, lsbRelease);
        QFETCH(QByteArray, issueNet);
        QFETCH(QByteArray, distribution);

        // As root a mount namespace is enough; otherwise a user namespace makes us root in it.
        QStringList args
            = { geteuid() == 0 ? "-m" : "-rm", QCoreApplication::applicationFilePath(), "--os-name-child" };
        for (const QByteArray& file : { osRelease, lsbRelease, issueNet }) {
            args << (file.isNull() ? "-" : '+' + file.toHex());
        }
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start("unshare", args);
        QVERIFY(child.waitForFinished(60000));
        if (child.exitCode() == 1) {
            QSKIP("unshare failed: mount namespaces are not permitted here");
        }
        // Returned true | the text | left in /tmp | descriptors opened and kept
        QCOMPARE(child.readAllStandardOutput(), "true|" + distribution + ", " + kernelPart() + "||0");
        QCOMPARE(child.exitCode(), 0);
    }
};

static void putFile(const char* path, const char* file, const char* prefix = "", mode_t mode = 0644)
{
    if (*file == '+') {
        std::ofstream(path, std::ios::binary) << prefix << QByteArray::fromHex(file + 1).toStdString();
        chmod(path, mode);
    }
}

// Child mode, as root of a private mount namespace; argv: os-release, lsb_release and
// issue.net ("-" missing, "+" and the hex content). Fresh tmpfs instances go on /etc,
// which then holds those files (its lsb_release comes first on PATH), and on /tmp,
// which is listed afterwards to find files left behind.
static int runOsNameChild(char* argv[])
{
    if (mount("tmpfs", "/etc", "tmpfs", 0, nullptr) != 0 || mount("tmpfs", "/tmp", "tmpfs", 0, nullptr) != 0) {
        std::perror("preparing the namespace");
        return 2;
    }
    putFile("/etc/os-release", argv[2]);
    putFile("/etc/lsb_release", argv[3], "#!/bin/sh\n[ \"$*\" = -ds ] || exit 3\n", 0755);
    putFile("/etc/issue.net", argv[4]);
    qputenv("PATH", "/etc:" + qgetenv("PATH"));

    const auto descriptors = QDir("/proc/self/fd").count();
    std::string osName = "stale previous content";
    const bool ok = Baselibs::GetOsName(osName);
    const QString leftovers = QDir("/tmp").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' ');
    std::printf("%s|%s|%s|%d", ok ? "true" : "false", osName.c_str(), qPrintable(leftovers),
        int(QDir("/proc/self/fd").count() - descriptors));
    return 0;
}

int main(int argc, char* argv[])
{
    if (argc == 5 && qstrcmp(argv[1], "--os-name-child") == 0) {
        return runOsNameChild(argv);
    }
    QCoreApplication app(argc, argv);
    OsNameTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_osname.moc"
