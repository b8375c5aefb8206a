#include <TavixQtBase/supportinfo.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/utsname.h>

// Every scenario runs in a child process (this binary with --os-name-child DIR)
// inside a private mount namespace. The child replaces /etc with a tmpfs of
// symbolic links to the real entries, so /etc/os-release and /etc/issue.net can
// be present with fixture content or missing; PATH holds only cat, head and,
// when the scenario has one, a fake lsb_release; /tmp is a fresh tmpfs that is
// listed afterwards to find temporary files left behind. A seccomp filter can
// make uname() fail.

namespace {

const char childArgument[] = "--os-name-child";
const char lsbMarker[] = "/mnt/lsb_release-ran";

QByteArray lsbScript(const QByteArray& body)
{
    return QByteArray("#!/bin/sh\n: > ") + lsbMarker + "\n[ \"$*\" = \"-ds\" ] || exit 3\n" + body + "\n";
}

QByteArray kernelPart()
{
    struct utsname system;
    if (uname(&system) != 0) {
        return QByteArray();
    }
    return QByteArray(system.sysname) + ' ' + QByteArray(system.release) + ", " + QByteArray(system.machine);
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

bool copyFixture(const QString& name, const QTemporaryDir& scenario)
{
    const QString fixture = QFINDTESTDATA(QStringLiteral("data/support/") + name);
    return !fixture.isEmpty() && QFile::copy(fixture, scenario.filePath(QStringLiteral("os-release")));
}

} // namespace

class OsNameTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void describesTheSystemFromTheFirstSourceThatNamesIt_data();
    void describesTheSystemFromTheFirstSourceThatNamesIt();
    void failingUnameGivesSomeKernelAndFalse();
    void describesTheRunningSystemInOneLine();

private:
    QList<QByteArray> runChildInNamespace(const QTemporaryDir& scenario);

    QStringList m_unshare;
};

void OsNameTest::initTestCase()
{
    // As root a mount namespace is enough; otherwise a user namespace makes us root in it.
    const QList<QStringList> candidates
        = { { QStringLiteral("--mount"), QStringLiteral("--propagation"), QStringLiteral("private") },
              { QStringLiteral("--map-root-user"), QStringLiteral("--mount"), QStringLiteral("--propagation"),
                  QStringLiteral("private") } };
    QString lastError = QStringLiteral("unshare not found");
    for (const QStringList& options : candidates) {
        QProcess probe;
        probe.start(QStringLiteral("unshare"), options + QStringList { QStringLiteral("true") });
        if (probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0) {
            m_unshare = options;
            return;
        }
        lastError = QString::fromLocal8Bit(probe.readAllStandardError()).trimmed();
    }
    QSKIP(qPrintable(QStringLiteral("mount namespaces are not permitted here: ") + lastError));
}

void OsNameTest::describesTheSystemFromTheFirstSourceThatNamesIt_data()
{
    QTest::addColumn<QString>("osRelease"); // fixture file name; empty: /etc/os-release missing
    QTest::addColumn<QByteArray>("lsbRelease"); // body of the fake lsb_release; null: not installed
    QTest::addColumn<QByteArray>("issueNet"); // null: /etc/issue.net missing
    QTest::addColumn<bool>("readOnlyTmp");
    QTest::addColumn<QByteArray>("distribution");
    QTest::addColumn<bool>("lsbReleaseRuns");

    const QByteArray lsb = lsbScript("printf '%s\\n' 'Lsb Linux 1.0'");
    const QByteArray issue("Issue Line One\nsecond line\n");
    const QByteArray none;

    QTest::newRow("a double-quoted name loses its quotes")
        << "os-release-debian" << lsb << issue << false << QByteArray("Debian GNU/Linux 12 (bookworm)") << false;
    QTest::newRow("an unquoted name is the rest of the line")
        << "os-release-unquoted" << lsb << issue << false << QByteArray("Foo Bar") << false;
    QTest::newRow("single quotes are kept")
        << "os-release-single-quotes" << lsb << issue << false << QByteArray("'Single Quoted'") << false;
    QTest::newRow("an escaped quote ends the name after its backslash")
        << "os-release-escaped-quote" << lsb << issue << false << QByteArray("Say \\") << false;
    QTest::newRow("only the exact key counts and the first match wins")
        << "os-release-near-misses" << lsb << issue << false << QByteArray("first match") << false;
    QTest::newRow("an empty name counts as found and runs no command")
        << "os-release-empty-value" << lsb << issue << false << QByteArray() << false;
    QTest::newRow("non-ASCII bytes and equals signs pass unchanged")
        << "os-release-utf8-and-equals" << lsb << issue << false
        << QByteArray("T\xc3\xa4vix=OS 2 \xe2\x80\x94 \xc3\x9cn\xc3\xaf"
                      "code")
        << false;
    QTest::newRow("an unterminated quote runs to the end of the file")
        << "os-release-unterminated" << lsb << issue << false << QByteArray("Open end") << false;
    QTest::newRow("a carriage return before the line feed is kept")
        << "os-release-crlf" << lsb << issue << false << QByteArray("Carriage Return\r") << false;

    QTest::newRow("a file without the key falls back to lsb_release")
        << "os-release-without-pretty-name" << lsb << issue << false << QByteArray("Lsb Linux 1.0") << true;
    QTest::newRow("a missing file falls back to lsb_release")
        << QString() << lsb << issue << false << QByteArray("Lsb Linux 1.0") << true;
    QTest::newRow("lsb_release output keeps its quotes") << QString() << lsbScript("printf '\"Quoted Lsb\"\\n'")
                                                         << issue << false << QByteArray("\"Quoted Lsb\"") << true;
    QTest::newRow("lsb_release output loses only one line feed")
        << QString() << lsbScript("printf 'Two\\r\\n\\n'") << issue << false << QByteArray("Two\r\n") << true;
    QTest::newRow("lsb_release output without a line feed is taken whole")
        << QString() << lsbScript("printf 'No Feed'") << issue << false << QByteArray("No Feed") << true;

    QTest::newRow("a missing lsb_release falls back to issue.net")
        << QString() << none << issue << false << QByteArray("Issue Line One") << false;
    QTest::newRow("a failing lsb_release falls back to issue.net despite its output")
        << QString() << lsbScript("echo 'Failed Lsb'; exit 1") << issue << false << QByteArray("Issue Line One")
        << true;
    QTest::newRow("lsb_release printing only a line feed falls back to issue.net")
        << QString() << lsbScript("echo") << issue << false << QByteArray("Issue Line One") << true;

    QTest::newRow("no source at all gives Some Linux")
        << QString() << none << none << false << QByteArray("Some Linux") << false;
    QTest::newRow("an empty issue.net gives Some Linux")
        << QString() << lsbScript("exit 0") << QByteArray("") << false << QByteArray("Some Linux") << true;
    QTest::newRow("an unwritable temporary directory runs no command")
        << QString() << lsb << issue << true << QByteArray("Some Linux") << false;
}

void OsNameTest::describesTheSystemFromTheFirstSourceThatNamesIt()
{
    QFETCH(QString, osRelease);
    QFETCH(QByteArray, lsbRelease);
    QFETCH(QByteArray, issueNet);
    QFETCH(bool, readOnlyTmp);
    QFETCH(QByteArray, distribution);
    QFETCH(bool, lsbReleaseRuns);

    QTemporaryDir scenario;
    QVERIFY(scenario.isValid());
    if (!osRelease.isEmpty()) {
        QVERIFY(copyFixture(osRelease, scenario));
    }
    if (!lsbRelease.isNull()) {
        QVERIFY(writeFile(scenario.filePath(QStringLiteral("lsb_release")), lsbRelease));
    }
    if (!issueNet.isNull()) {
        QVERIFY(writeFile(scenario.filePath(QStringLiteral("issue.net")), issueNet));
    }
    if (readOnlyTmp) {
        QVERIFY(writeFile(scenario.filePath(QStringLiteral("read-only-tmp")), QByteArray()));
    }

    const QList<QByteArray> lines = runChildInNamespace(scenario);
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.at(0), QByteArray("returned true"));
    QCOMPARE(QByteArray::fromHex(lines.at(1)), distribution + ", " + kernelPart());
    QCOMPARE(lines.at(2), QByteArray(lsbReleaseRuns ? "lsb_release ran" : "lsb_release did not run"));
    QCOMPARE(lines.at(3), QByteArray("left in /tmp:"));
    QCOMPARE(lines.at(4), QByteArray("open descriptors: 0 more"));
}

void OsNameTest::failingUnameGivesSomeKernelAndFalse()
{
    QTemporaryDir scenario;
    QVERIFY(scenario.isValid());
    QVERIFY(copyFixture(QStringLiteral("os-release-debian"), scenario));
    QVERIFY(writeFile(scenario.filePath(QStringLiteral("uname-fails")), QByteArray()));

    const QList<QByteArray> lines = runChildInNamespace(scenario);
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.at(0), QByteArray("returned false"));
    QCOMPARE(QByteArray::fromHex(lines.at(1)), QByteArray("Debian GNU/Linux 12 (bookworm), Some kernel"));
}

// The child's five report lines, or none when it failed.
QList<QByteArray> OsNameTest::runChildInNamespace(const QTemporaryDir& scenario)
{
    QProcess child;
    child.start(QStringLiteral("unshare"),
        m_unshare
            + QStringList {
                QCoreApplication::applicationFilePath(), QString::fromLatin1(childArgument), scenario.path() });
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        qWarning("child failed: %s", child.readAllStandardError().constData());
        return {};
    }
    QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
    if (lines.size() == 6 && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

void OsNameTest::describesTheRunningSystemInOneLine()
{
    std::string osName = "previous content";
    QVERIFY(Baselibs::GetOsName(osName));
    const QByteArray text = QByteArray::fromStdString(osName);
    QVERIFY2(text.endsWith(", " + kernelPart()), text.constData());
    QVERIFY2(!text.contains("previous content"), text.constData());
    QVERIFY2(!text.contains('\n'), text.constData());
}

// Child mode, running as root of a private mount namespace. Any set-up failure
// is reported on stderr with exit code 2.
static int fail(const char* step)
{
    std::perror(step);
    return 2;
}

static QByteArray readScenarioFile(const QString& dir, const char* name)
{
    QFile file(dir + QLatin1Char('/') + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

static bool writeFile(const char* path, const QByteArray& content, QFile::Permissions permissions)
{
    const QString name = QString::fromLatin1(path);
    return writeFile(name, content) && QFile::setPermissions(name, permissions);
}

static bool mountTmpfs(const char* target, unsigned long flags = 0)
{
    return mount("tmpfs", target, "tmpfs", flags, "mode=0755") == 0;
}

// Every entry of the real /etc (bound to /mnt/etc) except the two the scenario controls.
static bool linkRealEtcEntries()
{
    const QStringList entries = QDir(QStringLiteral("/mnt/etc"))
                                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : entries) {
        if (name == QLatin1String("os-release") || name == QLatin1String("issue.net")) {
            continue;
        }
        if (!QFile::link(QStringLiteral("/mnt/etc/") + name, QStringLiteral("/etc/") + name)) {
            return false;
        }
    }
    return true;
}

static int openDescriptorCount()
{
    return int(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

// Makes uname() fail with EPERM for this process and the commands it starts.
static bool makeUnameFail()
{
    struct sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_uname, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    struct sock_fprog program = { sizeof(filter) / sizeof(filter[0]), filter };
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

static int runOsNameChild(const QString& scenarioDir)
{
    const bool hasOsRelease = QFile::exists(scenarioDir + QStringLiteral("/os-release"));
    const bool hasIssueNet = QFile::exists(scenarioDir + QStringLiteral("/issue.net"));
    const bool hasLsbRelease = QFile::exists(scenarioDir + QStringLiteral("/lsb_release"));
    const bool readOnlyTmp = QFile::exists(scenarioDir + QStringLiteral("/read-only-tmp"));
    const bool unameFails = QFile::exists(scenarioDir + QStringLiteral("/uname-fails"));
    const QByteArray osRelease = readScenarioFile(scenarioDir, "os-release");
    const QByteArray issueNet = readScenarioFile(scenarioDir, "issue.net");
    const QByteArray lsbRelease = readScenarioFile(scenarioDir, "lsb_release");
    const QFile::Permissions executable
        = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    const QFile::Permissions readable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther;

    if (!mountTmpfs("/mnt") || !QDir().mkpath(QStringLiteral("/mnt/etc"))
        || !QDir().mkpath(QStringLiteral("/mnt/bin"))) {
        return fail("preparing /mnt");
    }
    if (mount("/etc", "/mnt/etc", nullptr, MS_BIND | MS_REC, nullptr) != 0) {
        return fail("binding /etc");
    }
    if (!mountTmpfs("/etc") || !linkRealEtcEntries()) {
        return fail("replacing /etc");
    }
    if ((hasOsRelease && !writeFile("/etc/os-release", osRelease, readable))
        || (hasIssueNet && !writeFile("/etc/issue.net", issueNet, readable))) {
        return fail("writing /etc");
    }
    const QString cat = QStandardPaths::findExecutable(QStringLiteral("cat"));
    const QString head = QStandardPaths::findExecutable(QStringLiteral("head"));
    if (!QFile::link(cat, QStringLiteral("/mnt/bin/cat")) || !QFile::link(head, QStringLiteral("/mnt/bin/head"))
        || (hasLsbRelease && !writeFile("/mnt/bin/lsb_release", lsbRelease, executable))) {
        return fail("filling /mnt/bin");
    }
    if (!mountTmpfs("/tmp", readOnlyTmp ? MS_RDONLY : 0)) {
        return fail("mounting /tmp");
    }
    qputenv("PATH", "/mnt/bin");
    if (unameFails && !makeUnameFail()) {
        return fail("installing the seccomp filter");
    }

    const int descriptorsBefore = openDescriptorCount();
    std::string osName = "stale previous content";
    const bool ok = Baselibs::GetOsName(osName);
    const int descriptorsAfter = openDescriptorCount();

    std::printf("returned %s\n", ok ? "true" : "false");
    std::printf("%s\n", QByteArray::fromStdString(osName).toHex().constData());
    std::printf("%s\n", QFile::exists(QLatin1String(lsbMarker)) ? "lsb_release ran" : "lsb_release did not run");
    const QStringList leftovers
        = QDir(QStringLiteral("/tmp")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    std::printf("left in /tmp:%s\n", qPrintable(leftovers.join(QLatin1Char(' '))));
    std::printf("open descriptors: %d more\n", descriptorsAfter - descriptorsBefore);
    return 0;
}

int main(int argc, char* argv[])
{
    if (argc == 3 && qstrcmp(argv[1], childArgument) == 0) {
        return runOsNameChild(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    OsNameTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_osname.moc"
