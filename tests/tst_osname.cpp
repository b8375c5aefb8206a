// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/supportinfo.h>

#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

static QByteArray kernelPart()
{
    struct utsname system;
    uname(&system);
    return QByteArray(system.sysname) + ' ' + QByteArray(system.release) + ", " + QByteArray(system.machine);
}

// How the child makes a source (see putSource()): "-" leaves it missing, otherwise a kind, "+" and the
// content in hex. Kinds: "" a file, "fifo" a FIFO holding the content that a writer left behind when it
// closed, "device" /dev/urandom bound over a file, a number: a file that a hole grows to that size.
static QByteArray source(const QByteArray& content, const QByteArray& kind = "")
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
        QFETCH(QByteArray, sigchld);

        // As root the namespaces need nothing more; otherwise a user namespace makes us root in them.
        // The child is the first process of its PID namespace: when the timeout below destroys the
        // QProcess, --kill-child takes the child and every command it started down with it.
        const QStringList args = { geteuid() == 0 ? "-mp" : "-rmp", "--kill-child",
            QCoreApplication::applicationFilePath(), "--os-name-child", osRelease, lsbRelease, issueNet, sigchld };
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start("unshare", args);
        QVERIFY2(child.waitForFinished(20000), "GetOsName has not returned within 20 s");
        if (child.exitCode() == 1) {
            QSKIP("unshare failed: mount and PID namespaces are not permitted here");
        }
        // Returned true | the text | left in /tmp | descriptors opened and kept | processes left
        QCOMPARE(child.readAllStandardOutput(), "true|" + distribution + ", " + kernelPart() + "||0|0");
        QCOMPARE(child.exitCode(), 0);
    }

private Q_SLOTS:
    void takesTheFirstSourceThatNamesTheSystem_data()
    {
        QTest::addColumn<QByteArray>("osRelease");
        QTest::addColumn<QByteArray>("lsbRelease"); // the fake lsb_release's shell script
        QTest::addColumn<QByteArray>("issueNet");
        QTest::addColumn<QByteArray>("distribution");
        QTest::addColumn<QByteArray>("sigchld"); // who reaps the caller's children, see takeOverSigchld()

        // A null file is missing; "exit 127" stands for an lsb_release that is not found.
        const auto row = [](const char* name, const QByteArray& osRelease, const char* distribution,
                             const QByteArray& lsbRelease = "exit 127", const QByteArray& issueNet = {},
                             const char* sigchld = "") {
            QTest::newRow(name) << source(osRelease) << source(lsbRelease) << source(issueNet)
                                << QByteArray(distribution) << QByteArray(sigchld);
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
        // Slow, but well within the time a command may take.
        row("no file: slow lsb_release without line feed", none, "No Feed", "sleep 0.3; printf 'No Feed'", issue);
        row("lsb_release exiting 127: issue.net", none, "Issue Line One", "echo Lsb; exit 127", issue);
        // A first line that is empty counts as none; one of blanks names the system.
        row("lsb_release printing nothing: issue.net", none, "Issue Line One", "exit 0", issue);
        row("lsb_release printing a line feed: issue.net", none, "Issue Line One", "echo", issue);
        row("lsb_release printing blanks", none, " \t", "printf ' \\t\\n'", issue);
        row("empty issue.net", none, "Some Linux", "exit 127", "");
        row("issue.net with an empty first line", none, "Some Linux", "exit 127", "\nsecond line\n");
        row("issue.net with a first line of blanks", none, " \t", "exit 127", " \t\nsecond line\n");
        row("no source at all", none, "Some Linux");
        // The caller ignores SIGPIPE; the commands get its default action all the same.
        row("lsb_release killed by a signal the caller ignores", none, "Issue Line One",
            "sh -c 'kill -PIPE $$; echo ignored'; exit 0", issue);
        // Whoever reaps the shell, its exit status counts, and what the command leaves running when it
        // ends is not killed: the process below removes its file in /tmp only if it is left to end.
        const QByteArray outlives = "touch /tmp/outliving; (sleep 3; rm /tmp/outliving) & echo Lsb";
        row("lsb_release leaving a process running", none, "Lsb", outlives, issue);
        row("lsb_release of a caller ignoring SIGCHLD", none, "Lsb", outlives, issue, "ignore");
        row("lsb_release exiting 127 to a caller ignoring SIGCHLD", none, "Issue Line One", "echo Lsb; exit 127", issue,
            "ignore");
        row("lsb_release of a caller with SA_NOCLDWAIT", none, "Lsb", outlives, issue, "nocldwait");
        // The signal interrupts the wait for the shell's status.
        row("lsb_release of a caller reaping in a SIGCHLD handler", none, "Lsb",
            "sleep 0.2; kill -CHLD $CALLER_PID; echo Lsb", issue, "handler");
        row("lsb_release of a caller reaping in a thread", none, "Lsb", "echo Lsb", issue, "thread");
        row("lsb_release exiting 127 to a caller reaping in a SIGCHLD handler", none, "Issue Line One",
            "echo Lsb; exit 127", issue, "handler");

        // Sources that would block, never end or flood memory count as unavailable; large ordinary ones do
        // not. A command that hangs is stopped after about 2 s, with everything it started.
        const QByteArray missing = source({}), lsb = source("echo Lsb"), oneLine = source("Issue Line One\n");
        const QByteArray hangs = source("echo Partial; sleep 1000"), limit = QByteArray::number(4 << 20);
        const QByteArray overLimit = QByteArray::number((4 << 20) + 1);
        // Ignores its failed writes, like many careless programs: only a limit on the file size stops it.
        const QByteArray endless = source("s=yyyyyyyy; for i in 1 2 3 4 5 6 7 8 9 10 11 12 13; do s=$s$s; done\n"
                                          "while :; do echo \"$s\"; done");
        const auto sourcesRow
            = [](const char* name, const QByteArray& osRelease, const QByteArray& lsbRelease,
                  const QByteArray& issueNet, const QByteArray& distribution, const char* sigchld = "") {
                  QTest::newRow(name) << osRelease << lsbRelease << issueNet << distribution << QByteArray(sigchld);
              };
        // Readable without blocking, yet not a regular file.
        sourcesRow("FIFO with data left by a closed writer as os-release", source("PRETTY_NAME=Fifo\n", "fifo"), lsb,
            missing, "Lsb");
        sourcesRow("random device as os-release", source("", "device"), lsb, missing, "Lsb");
        sourcesRow("os-release of 4 MiB", source("PRETTY_NAME=Big\n", limit), lsb, missing, "Big");
        sourcesRow("os-release of 4 MiB and 1 byte", source("PRETTY_NAME=Big\n", overLimit), lsb, missing, "Lsb");
        sourcesRow("lsb_release writing without end", missing, endless, oneLine, "Issue Line One");
        sourcesRow("lsb_release printing 4 MiB, whole", missing, source("printf %0" + limit + "d 0"), missing,
            QByteArray(4 << 20, '0'));
        sourcesRow("lsb_release printing 4 MiB and 1 byte", missing, source("printf %0" + overLimit + "d 0"), oneLine,
            "Issue Line One");
        sourcesRow("FIFO without a writer as issue.net", missing, source("exit 127"), source("", "fifo"), "Some Linux");
        sourcesRow("lsb_release hanging, no os-release", missing, hangs, oneLine, "Issue Line One");
        sourcesRow("lsb_release hanging after an os-release without a name", source("ID=x\n"), hangs, oneLine,
            "Issue Line One");
        // Killed with its group while it runs, though the caller reaps every child it sees end.
        sourcesRow("lsb_release hanging for a caller reaping in a SIGCHLD handler", missing, hangs, oneLine,
            "Issue Line One", "handler");
    }

    void takesTheFirstSourceThatNamesTheSystem() { checkOsNameOfChild(); }
};

// Makes the source described by the argument (see source() above) at path.
static bool putSource(const char* path, const char* argument, const char* prefix = "", mode_t mode = 0644)
{
    const char* const plus = std::strchr(argument, '+');
    if (plus == nullptr) {
        return true;
    }
    const std::string kind(argument, plus);
    // A FIFO keeps what a writer left in it while a reader holds it open; this process stays that reader.
    if (kind == "fifo" && (mkfifo(path, mode) != 0 || open(path, O_RDONLY | O_NONBLOCK) == -1)) {
        return false;
    }
    std::ofstream(path, std::ios::binary) << prefix << QByteArray::fromHex(plus + 1).toStdString();
    if (kind == "device") {
        return mount("/dev/urandom", path, nullptr, MS_BIND, nullptr) == 0;
    }
    const bool sized = !kind.empty() && kind != "fifo";
    return chmod(path, mode) == 0 && (!sized || truncate(path, std::stoll(kind)) == 0);
}

// The state of process pid from /proc/pid/stat: 'R', 'S', 'Z' (ended, not yet reaped) and so on.
static char processState(const QString& pid)
{
    QFile stat("/proc/" + pid + "/stat");
    const QByteArray text = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
    const int end = text.lastIndexOf(')');
    return end == -1 || end + 2 >= text.size() ? 'X' : text.at(end + 2);
}

// The processes besides PID 1 (which adopts those left without a parent) and this one that still run.
static int runningProcesses()
{
    int count = 0;
    for (const QString& pid : QDir("/proc").entryList({ "[0-9]*" }, QDir::Dirs)) {
        const char state = processState(pid);
        count += pid != "1" && pid.toInt() != getpid() && state != 'Z' && state != 'X';
    }
    return count;
}

// The processes still running once those killed just before have had up to 10 s to end, and this
// process's own children that are not reaped.
static int processesLeft()
{
    int running = runningProcesses();
    for (int waited = 0; running > 0 && waited < 1000; ++waited) {
        usleep(10000);
        running = runningProcesses();
    }
    return running + (waitpid(-1, nullptr, WNOHANG) == -1 ? 0 : 1);
}

// Makes the caller's children reaped as how says: "nocldwait" and "ignore" by the system, "handler"
// by a SIGCHLD handler and "thread" by another thread, both with waitpid(-1), as soon as they end;
// otherwise the caller leaves them to GetOsName.
static void takeOverSigchld(const char* how)
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    if (qstrcmp(how, "nocldwait") == 0) {
        action.sa_flags = SA_NOCLDWAIT;
    } else if (qstrcmp(how, "ignore") == 0) {
        action.sa_handler = SIG_IGN;
    } else if (qstrcmp(how, "handler") == 0) {
        action.sa_handler = [](int) {
            const int savedErrno = errno;
            while (waitpid(-1, nullptr, WNOHANG) > 0) { }
            errno = savedErrno;
        };
    } else if (qstrcmp(how, "thread") == 0) {
        std::thread([] {
            for (;;) {
                if (waitpid(-1, nullptr, 0) == -1) {
                    usleep(1000); // no child yet
                }
            }
        }).detach();
    }
    sigaction(SIGCHLD, &action, nullptr);
}

// Child mode, as root of private mount and PID namespaces; argv: os-release, lsb_release and
// issue.net as made by source(), then who reaps the caller's children (see takeOverSigchld()).
// Fresh tmpfs instances go on /etc, which then holds those files (its lsb_release comes first on
// PATH), and on /tmp, which is listed afterwards to find files left behind. /tmp is small so that a
// writer nothing stops fills it at once, not the machine's memory. A fresh /proc shows the
// namespace's processes only. GetOsName runs in a child of PID 1, so that its own unreaped children
// are not mixed up with the processes that PID 1 adopts; that caller ignores SIGPIPE, as many
// applications do.
static int runOsNameChild(char* argv[])
{
    if (mount("tmpfs", "/etc", "tmpfs", 0, nullptr) != 0 || mount("tmpfs", "/tmp", "tmpfs", 0, "size=64m") != 0
        || mount("proc", "/proc", "proc", 0, nullptr) != 0 || !putSource("/etc/os-release", argv[2])
        || !putSource("/etc/lsb_release", argv[3], "#!/bin/sh\n[ \"$*\" = -ds ] || exit 3\n", 0755)
        || !putSource("/etc/issue.net", argv[4])) {
        std::perror("preparing the namespace");
        return 2;
    }
    const pid_t caller = fork();
    if (caller != 0) {
        int status = 0;
        return caller != -1 && waitpid(caller, &status, 0) == caller && WIFEXITED(status) ? WEXITSTATUS(status) : 2;
    }
    qputenv("PATH", "/etc:" + qgetenv("PATH"));
    qputenv("CALLER_PID", QByteArray::number(getpid()));
    std::signal(SIGPIPE, SIG_IGN);
    takeOverSigchld(argv[5]);
    const auto descriptors = QDir("/proc/self/fd").count();
    std::string osName = "stale previous content";
    const bool ok = Baselibs::GetOsName(osName);
    const int descriptorsKept = int(QDir("/proc/self/fd").count() - descriptors);
    const int processes = processesLeft();
    const QString leftovers = QDir("/tmp").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' ');
    std::printf(
        "%s|%s|%s|%d|%d", ok ? "true" : "false", osName.c_str(), qPrintable(leftovers), descriptorsKept, processes);
    return 0;
}

int main(int argc, char* argv[])
{
    if (argc == 6 && qstrcmp(argv[1], "--os-name-child") == 0) {
        return runOsNameChild(argv);
    }
    QCoreApplication app(argc, argv);
    OsNameTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_osname.moc"
