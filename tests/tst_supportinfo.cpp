// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/supportinfo.h>

#include "supportcallcounter.h"

#include <QDesktopServices>
#include <QGuiApplication>
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

// TAVIXQTBASE_TEST_SUPPORT_EMAIL and TAVIXQTBASE_TEST_WEBSITE_URL are the values
// the library was configured with (see tests/CMakeLists.txt).

static const QString versionText = "5.0.1.1234-x86";
static const QString supportAddress = TAVIXQTBASE_TEST_SUPPORT_EMAIL;

static QString osNameText()
{
    std::string osName;
    Baselibs::GetOsName(osName);
    return QString::fromStdString(osName);
}

static bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly)
        && file.write(content) == content.size();
}

// Runs a command (this binary, perhaps under a wrapper) and gives its output, or "exit"
// and the exit code when that is not 0. Its standard error goes to the test log.
static QByteArray runChild(const QStringList& command, const QProcessEnvironment& environment)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(command.first(), command.mid(1));
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit) {
        return "crashed or hung";
    }
    return child.exitCode() == 0 ? child.readAllStandardOutput() : "exit " + QByteArray::number(child.exitCode());
}

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

class SupportInfoTest : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void open(const QUrl& url) { m_urls.append(url); }

private:
    QList<QUrl> m_urls;

    // The one URL handed to the desktop, as a mail client parses it back.
    void checkMail(bool opened, const QString& subject, const QString& body)
    {
        QVERIFY(opened);
        QCOMPARE(m_urls.size(), 1);
        const QUrl url = QUrl::fromEncoded(m_urls.first().toEncoded(), QUrl::StrictMode);
        QCOMPARE(url.toString(QUrl::RemoveQuery), "mailto:" + supportAddress);
        // A client that decodes "+" as a blank, or splits at every "&" and "=", reads the same.
        const QString query = url.query(QUrl::FullyEncoded);
        QVERIFY2(!query.contains('+') && query.count('&') == 1 && query.count('=') == 2 && !url.hasFragment(),
            qPrintable(query));
        const QList<QPair<QString, QString>> expected = { { "subject", subject }, { "body", body } };
        QCOMPARE(QUrlQuery(url).queryItems(QUrl::FullyDecoded), expected);
        m_urls.clear();
    }

private Q_SLOTS:
    void init()
    {
        QDesktopServices::setUrlHandler("mailto", this, "open");
        QDesktopServices::setUrlHandler("https", this, "open");
        m_urls.clear();
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler("mailto");
        QDesktopServices::unsetUrlHandler("https");
    }

    void replaceStringsFillsOnlyThePlaceholdersItFinds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // "@OS@" stands for the system's name
        QTest::addColumn<int>("versionCalls");
        QTest::addColumn<int>("osNameCalls");

        const QString noPlaceholder = "$(tavixver) $(osver) $(TAVIXVER) $(OSVer $(tavixVer";
        QTest::newRow("no placeholder: unchanged, nothing asked") << noPlaceholder << noPlaceholder << 0 << 0;
        QTest::newRow("every version, case-sensitive")
            << QString("v$(tavixVer) / $(tavixver)$(tavixVer)")
            << QString("v5.0.1.1234-x86 / $(tavixver)5.0.1.1234-x86") << 1 << 0;
        QTest::newRow("every OS name") << QString("on $(OSVer) and $(OSVer)") << QString("on @OS@ and @OS@") << 0 << 1;
        QTest::newRow("both") << QString("tavix $(tavixVer) on $(OSVer)") << QString("tavix 5.0.1.1234-x86 on @OS@")
                              << 1 << 1;
        QTest::newRow("null stays null") << QString() << QString() << 0 << 0;
    }

    void replaceStringsFillsOnlyThePlaceholdersItFinds()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(int, versionCalls);
        QFETCH(int, osNameCalls);

        expected.replace("@OS@", osNameText());
        supportCallCounts().reset();
        const QString result = ReplaceStrings(text);
        QCOMPARE(result, expected);
        QCOMPARE(result.isNull(), expected.isNull());
        QCOMPARE(supportCallCounts().tavixVersionString.load(), versionCalls);
        QCOMPARE(supportCallCounts().osName.load(), osNameCalls);
    }

    // How texts travel as data is checked on the real desktop path below.
    void supportMails()
    {
        checkMail(ContactVelnorSupport2(QString(), QString()), "", ""); // null texts still give both items
        checkMail(ContactVelnorSupport2("tavix $(tavixVer)", "v=$(tavixVer)&"), "tavix " + versionText,
            "v=" + versionText + '&');
        const QString request = "Hello Support,\n\nI'm using tavix " + versionText + " running on " + osNameText()
            + ".\n\n<Please add camera model, serial number and problem description here>";
        checkMail(ContactVelnorSupport(), "tavix Support Request", request);
        QCOMPARE(
            GetVelnorSupportInfo(true), "To: " + supportAddress + "\nSubject: tavix Support Request\n\n" + request);
    }

    void webSiteFeedbackAndHelp()
    {
        QCOMPARE(GetVelnorUrl(), TAVIXQTBASE_TEST_WEBSITE_URL);
        QCOMPARE(GetFeedbackUrl(false).toString(), TAVIXQTBASE_TEST_WEBSITE_URL "/tavixfeedback");
        QVERIFY(OpenFeedbackUrl());
        QCOMPARE(m_urls, QList<QUrl> { GetFeedbackUrl(true) });
        QVERIFY(GetHelpFilePath().isNull());
    }

    void feedbackUrlTakesTheSystemLanguageOnce_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("language");
        QTest::addColumn<QString>("otherLocaleAs"); // the child's default locale, or its later system locale

        QTest::newRow("German in Germany") << QString("de_DE.UTF-8") << QByteArray("de") << QString("default");
        QTest::newRow("German in Austria") << QString("de_AT.UTF-8") << QByteArray("de") << QString("system");
        QTest::newRow("French") << QString("fr_FR.UTF-8") << QByteArray("en") << QString("default");
    }

    // The URL is built once per process, so each system locale needs a process of its own.
    // The child asks for the URL three times and counts the SDK's version queries. Qt reads
    // the system locale once, at its first use, which setting the default locale already is;
    // so a child either starts with a default locale of the other language, or switches its
    // system locale to it after the first call.
    void feedbackUrlTakesTheSystemLanguageOnce()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, language);
        QFETCH(QString, otherLocaleAs);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", locale);
        const QString other = language == "de" ? "fr_FR.UTF-8" : "de_DE.UTF-8";
        QCOMPARE(
            runChild({ QCoreApplication::applicationFilePath(), "--feedback-url", otherLocaleAs, other }, environment),
            TAVIXQTBASE_TEST_WEBSITE_URL "/tavixfeedback?tavixver=tavix%205.0&os=Linux&language=" + language + " 1\n");
    }

    void osNameTakesTheFirstSourceThatNamesTheSystem_data()
    {
        QTest::addColumn<QByteArray>("osRelease");
        QTest::addColumn<QByteArray>("lsbRelease"); // the fake lsb_release's shell script
        QTest::addColumn<QByteArray>("issueNet");
        QTest::addColumn<QByteArray>("distribution");
        QTest::addColumn<QByteArray>("caller"); // who reaps its children (see takeOverSigchld()), or "texts"

        // Sources as made by source(), the name the child must give, who reaps.
        const auto sourcesRow
            = [](const char* name, const QByteArray& osRelease, const QByteArray& lsbRelease,
                  const QByteArray& issueNet, const QByteArray& distribution, const char* caller = "") {
                  QTest::newRow(name) << osRelease << lsbRelease << issueNet << distribution << QByteArray(caller);
              };
        // Plain files; a null one is missing, and "exit 127" stands for an lsb_release that is not found.
        const auto row
            = [&sourcesRow](const char* name, const QByteArray& osRelease, const char* distribution,
                  const QByteArray& lsbRelease = "exit 127", const QByteArray& issueNet = {}, const char* caller = "") {
                  sourcesRow(name, source(osRelease), source(lsbRelease), source(issueNet), distribution, caller);
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
        // The support texts take the name as UTF-8 and replace its controls (a NUL reached the mail as
        // %00); the neighbours of each control range stay.
        row("UTF-8 in the support texts", "PRETTY_NAME=\"T\xc3\xa4vix \xe2\x9c\x93\"\n", "T\xc3\xa4vix \xe2\x9c\x93",
            "exit 127", {}, "texts");
        row("C0, DEL and C1 controls in the support texts",
            QByteArray("PRETTY_NAME=\"\0\x1f \t~\x7f\xc2\x80\xc2\x9f\xc2\xa0\"\n", 27),
            "\xef\xbf\xbd\xef\xbf\xbd \xef\xbf\xbd~\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xc2\xa0", "exit 127", {},
            "texts");
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

    // GetOsName in a child process (this binary with --os-name-child) in private mount and PID
    // namespaces, with the sources of the row; see runOsNameChild() below. As root the namespaces
    // need nothing more; otherwise a user namespace makes us root in them. The child is the first
    // process of its PID namespace: when runChild() gives up on it, --kill-child takes the child
    // and every command it started down with it.
    void osNameTakesTheFirstSourceThatNamesTheSystem()
    {
        QFETCH(QByteArray, osRelease);
        QFETCH(QByteArray, lsbRelease);
        QFETCH(QByteArray, issueNet);
        QFETCH(QByteArray, distribution);
        QFETCH(QByteArray, caller);
        const QByteArray output = runChild(
            { "unshare", geteuid() == 0 ? "-mp" : "-rmp", "--kill-child", QCoreApplication::applicationFilePath(),
                "--os-name-child", osRelease, lsbRelease, issueNet, caller },
            QProcessEnvironment::systemEnvironment());
        if (output == "exit 1") {
            QSKIP("unshare failed: mount and PID namespaces are not permitted here");
        }
        // Returned true | the text | left in /tmp | descriptors opened and kept | processes left
        QCOMPARE(output, "true|" + distribution + ", " + kernelPart() + "||0|0");
    }

    // The real desktop path (xdg-open and xvfb-run are among the project's dependencies):
    // with no desktop environment detected, Qt hands the URL to xdg-open, which runs the
    // mail handler registered in XDG_DATA_HOME and XDG_CONFIG_HOME; that handler appends
    // the URL it got to a file. The offscreen platform has no desktop services, so the
    // child runs on xcb under an Xvfb server of its own.
    void supportMailReachesTheDesktopMailHandler()
    {
        QTemporaryDir home;
        const QString received = home.filePath("received-url"), handler = home.filePath("record-mail.sh");
        QVERIFY(writeFile(handler, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + received.toUtf8() + "'\n"));
        QVERIFY(QFile::setPermissions(handler, QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(writeFile(home.filePath("data/applications/tavix-test-mail.desktop"),
            "[Desktop Entry]\nType=Application\nName=Mail recorder\nExec=" + handler.toUtf8()
                + " %u\nMimeType=x-scheme-handler/mailto;\nNoDisplay=true\n"));
        QVERIFY(writeFile(home.filePath("config/mimeapps.list"),
            "[Default Applications]\nx-scheme-handler/mailto=tavix-test-mail.desktop\n"));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", home.filePath("data"));
        environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
        environment.insert("QT_QPA_PLATFORM", "xcb");
        for (const char* name : { "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                 "GNOME_DESKTOP_SESSION_ID", "DBUS_SESSION_BUS_ADDRESS", "BROWSER", "WAYLAND_DISPLAY" }) {
            environment.remove(name);
        }
        const QString subject = "Cam & \"Lens\" #1 +5\u00b0C";
        const QString body = "line 1\r\nline 2 'quoted' `x` $(id)?a=b%26 \U0001F4F7";
        const QStringList command = { "xvfb-run", "--auto-servernum", "--server-args=-nolisten tcp",
            QCoreApplication::applicationFilePath(), "--contact-support", subject, body };
        QCOMPARE(runChild(command, environment), QByteArray("opened\n"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(received).size() > 0, 60000); // written in one go
        QFile file(received);
        QVERIFY(file.open(QIODevice::ReadOnly));
        m_urls = { QUrl::fromEncoded(file.readAll().trimmed()) };
        checkMail(true, subject, body);
    }
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
// issue.net as made by source(), then who reaps the caller's children (see takeOverSigchld()), or
// "texts" for the name as ReplaceStrings() gives it.
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
    if (qstrcmp(argv[5], "texts") == 0) {
        osName = ReplaceStrings("$(OSVer)").toStdString();
    }
    const int descriptorsKept = int(QDir("/proc/self/fd").count() - descriptors);
    const int processes = processesLeft();
    const QString leftovers = QDir("/tmp").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' ');
    std::printf(
        "%s|%s|%s|%d|%d", ok ? "true" : "false", osName.c_str(), qPrintable(leftovers), descriptorsKept, processes);
    return 0;
}

int main(int argc, char* argv[])
{
    // Child modes. The feedback URL, with the locale argv[3] as the default locale before
    // the first call or as the system locale after it (argv[2]), and how often the SDK was
    // asked for its version:
    if (argc == 4 && qstrcmp(argv[1], "--feedback-url") == 0) {
        if (qstrcmp(argv[2], "default") == 0) {
            QLocale::setDefault(QLocale(argv[3]));
        }
        GetFeedbackUrl(false);
        qputenv("LC_ALL", argv[3]); // without effect once the system locale has been read
        GetFeedbackUrl(true);
        const QByteArray url = GetFeedbackUrl(true).toEncoded();
        std::printf("%s %d\n", url.constData(), supportCallCounts().tavixVersion.load());
        return 0;
    }
    if (argc == 6 && qstrcmp(argv[1], "--os-name-child") == 0) {
        return runOsNameChild(argv);
    }
    QGuiApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--contact-support") == 0) {
        std::printf("%s\n", ContactVelnorSupport2(app.arguments()[2], app.arguments()[3]) ? "opened" : "not opened");
        return 0;
    }
    SupportInfoTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_supportinfo.moc"
