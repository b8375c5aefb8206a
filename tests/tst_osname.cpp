// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/supportinfo.h>

#include <QtTest>

#include <cstdio>
#include <cstring>
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

// How the child makes a source (see putSource()): "-" leaves it missing, otherwise a kind, "+" and the
// content in hex. Kinds: "" a file, "fifo" a FIFO without a writer, "device" /dev/urandom bound over a
// file, "huge" a file that a hole grows to 512 MiB.
static QByteArray source(const QByteArray& content, const char* kind = "")
{
    return content.isNull() ? QByteArray("-") : kind + ('+' + content.toHex());
}

class OsNameTest : public QObject
{
    Q_OBJECT

    // Runs GetOsName in a child process (this binary with --os-name-child) in private mount and PID
    // namespaces, with the sources of the current row; see runOsNameChild() below.
    void checkOsNameOfChild()
    {
        QFETCH(QByteArray, osRelease);
        QFETCH(QByteArray, lsbRelease);
        QFETCH(QByteArray, issueNet);
        QFETCH(QByteArray, distribution);

        // As root the namespaces need nothing more; otherwise a user namespace makes us root in them.
        // The child is the first process of its PID namespace: when the timeout below destroys the
        // QProcess, --kill-child takes the child and every command it started down with it.
        const QStringList args = { geteuid() == 0 ? "-mp" : "-rmp", "--kill-child",
            QCoreApplication::applicationFilePath(), "--os-name-child", osRelease, lsbRelease, issueNet };
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start("unshare", args);
        QVERIFY2(child.waitForFinished(20000), "GetOsName has not returned within 20 s");
        if (child.exitCode() == 1) {
            QSKIP("unshare failed: mount and PID namespaces are not permitted here");
        }
        // Returned true | the text | left in /tmp | descriptors opened and kept
        QCOMPARE(child.readAllStandardOutput(), "true|" + distribution + ", " + kernelPart() + "||0");
        QCOMPARE(child.exitCode(), 0);
    }

private Q_SLOTS:
    void takesTheFirstSourceThatNamesTheSystem_data()
    {
        QTest::addColumn<QByteArray>("osRelease");
        QTest::addColumn<QByteArray>("lsbRelease"); // the fake lsb_release's shell script
        QTest::addColumn<QByteArray>("issueNet");
        QTest::addColumn<QByteArray>("distribution");

        // A null file is missing; "exit 127" stands for an lsb_release that is not found.
        const auto row = [](const char* name, const QByteArray& osRelease, const char* distribution,
                             const QByteArray& lsbRelease = "exit 127", const QByteArray& issueNet = {}) {
            QTest::newRow(name) << source(osRelease) << source(lsbRelease) << source(issueNet)
                                << QByteArray(distribution);
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

    void takesTheFirstSourceThatNamesTheSystem() { checkOsNameOfChild(); }

    // Sources that would block, never end or flood memory count as unavailable; large ordinary ones do not.
    void passesOverSourcesThatCannotBeReadQuickly_data()
    {
        QTest::addColumn<QByteArray>("osRelease");
        QTest::addColumn<QByteArray>("lsbRelease");
        QTest::addColumn<QByteArray>("issueNet");
        QTest::addColumn<QByteArray>("distribution");

        const QByteArray none = source({}), lsb = source("echo Lsb"), fifo = source("", "fifo");
        // Ignores its failed writes, like many careless programs: only a limit on the file size stops it.
        const QByteArray endless = source("s=yyyyyyyy; for i in 1 2 3 4 5 6 7 8 9 10 11 12 13; do s=$s$s; done\n"
                                          "while :; do echo \"$s\"; done");
        QTest::newRow("FIFO without a writer as os-release") << fifo << lsb << none << QByteArray("Lsb");
        QTest::newRow("random device as os-release") << source("", "device") << lsb << none << QByteArray("Lsb");
        QTest::newRow("512 MiB line in os-release")
            << source("PRETTY_NAME=big", "huge") << lsb << none << QByteArray("Lsb");
        QTest::newRow("lsb_release writing without end")
            << none << endless << source("Issue Line One\n") << QByteArray("Issue Line One");
        QTest::newRow("FIFO without a writer as issue.net")
            << none << source("exit 127") << fifo << QByteArray("Some Linux");
        QTest::newRow("1 MB from lsb_release, whole")
            << none << source("printf %01000000d 0") << none << QByteArray(1000000, '0');
    }

    void passesOverSourcesThatCannotBeReadQuickly() { checkOsNameOfChild(); }
};

// Makes the source described by the argument (see source() above) at path.
static bool putSource(const char* path, const char* argument, const char* prefix = "", mode_t mode = 0644)
{
    const char* const plus = std::strchr(argument, '+');
    if (plus == nullptr) {
        return true;
    }
    const std::string kind(argument, plus);
    if (kind == "fifo") {
        return mkfifo(path, 0644) == 0;
    }
    std::ofstream(path, std::ios::binary) << prefix << QByteArray::fromHex(plus + 1).toStdString();
    if (kind == "device") {
        return mount("/dev/urandom", path, nullptr, MS_BIND, nullptr) == 0;
    }
    return chmod(path, mode) == 0 && (kind != "huge" || truncate(path, 512 << 20) == 0);
}

// Child mode, as root of private mount and PID namespaces; argv: os-release, lsb_release and
// issue.net as made by source(). Fresh tmpfs instances go on /etc, which then holds those files
// (its lsb_release comes first on PATH), and on /tmp, which is listed afterwards to find files left
// behind. /tmp is small so that a writer nothing stops fills it at once, not the machine's memory.
static int runOsNameChild(char* argv[])
{
    if (mount("tmpfs", "/etc", "tmpfs", 0, nullptr) != 0 || mount("tmpfs", "/tmp", "tmpfs", 0, "size=64m") != 0
        || !putSource("/etc/os-release", argv[2])
        || !putSource("/etc/lsb_release", argv[3], "#!/bin/sh\n[ \"$*\" = -ds ] || exit 3\n", 0755)
        || !putSource("/etc/issue.net", argv[4])) {
        std::perror("preparing the namespace");
        return 2;
    }
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
