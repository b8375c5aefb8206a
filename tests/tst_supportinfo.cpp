// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/supportinfo.h>

#include "supportcallcounter.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QtTest>

#include <cstdio>

#include <sys/mount.h>
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

    void replaceStringsGivesThePrintableSystemName_data()
    {
        QTest::addColumn<QByteArray>("prettyName"); // in os-release, between double quotes
        QTest::addColumn<QString>("name");

        QTest::newRow("UTF-8, unchanged") << QByteArray("T\xc3\xa4vix \xe2\x9c\x93") << QString("T\u00e4vix \u2713");
        // A NUL reached the mail as %00; the neighbours of each control range stay.
        QTest::newRow("C0, DEL and C1 controls replaced") << QByteArray("\0\x1f \t~\x7f\xc2\x80\xc2\x9f\xc2\xa0", 12)
                                                          << QString("\ufffd\ufffd \ufffd~\ufffd\ufffd\ufffd\u00a0");
    }

    // The child reads the system's name from an os-release of its own, in a private mount
    // namespace (as root a mount namespace is enough; otherwise a user namespace makes us
    // root in it).
    void replaceStringsGivesThePrintableSystemName()
    {
        QFETCH(QByteArray, prettyName);
        QFETCH(QString, name);
        const QByteArray line
            = runChild({ "unshare", geteuid() == 0 ? "-m" : "-rm", QCoreApplication::applicationFilePath(),
                           "--system-name", prettyName.toHex() },
                QProcessEnvironment::systemEnvironment());
        if (line == "exit 1") {
            QSKIP("unshare failed: mount namespaces are not permitted here");
        }
        const QString text = QString::fromUtf8(line);
        QVERIFY2(text.startsWith("on " + name + ", "), line.toHex(' ').constData());
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

// Child mode, as root of a private mount namespace: a fresh tmpfs on /etc holds only an
// os-release with the name given in hex.
static int printSystemName(const char* prettyNameHex)
{
    if (mount("tmpfs", "/etc", "tmpfs", 0, nullptr) != 0
        || !writeFile("/etc/os-release", "PRETTY_NAME=\"" + QByteArray::fromHex(prettyNameHex) + "\"\n")) {
        std::perror("preparing /etc/os-release");
        return 2;
    }
    const QByteArray line = ReplaceStrings("on $(OSVer)").toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
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
    if (argc == 3 && qstrcmp(argv[1], "--system-name") == 0) {
        return printSystemName(argv[2]);
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
