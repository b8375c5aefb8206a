#include <TavixQtBase/supportinfo.h>

#include "supportcallcounter.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

#include <cstdio>
#include <string>

// TAVIXQTBASE_TEST_SUPPORT_EMAIL and TAVIXQTBASE_TEST_WEBSITE_URL are the values
// the library was configured with (see tests/CMakeLists.txt).

using QueryItems = QList<QPair<QString, QString>>;

namespace {

const QString versionText = QStringLiteral("5.0.1.1234-x86");
const QString supportAddress = QStringLiteral(TAVIXQTBASE_TEST_SUPPORT_EMAIL);
const QString requestLine = QStringLiteral("<Please add camera model, serial number and problem description here>");

QString osNameText()
{
    std::string osName;
    Baselibs::GetOsName(osName);
    return QString::fromUtf8(osName.data(), int(osName.size()));
}

// What a mail client sees: the URL parsed back from its encoded form.
QueryItems decodedItems(const QUrl& url)
{
    return QUrlQuery(QUrl::fromEncoded(url.toEncoded())).queryItems(QUrl::FullyDecoded);
}

QProcessEnvironment childEnvironment(const QString& lang)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LANG"), lang);
    environment.remove(QStringLiteral("LC_ALL"));
    environment.remove(QStringLiteral("LC_NUMERIC"));
    environment.remove(QStringLiteral("LC_MESSAGES"));
    environment.remove(QStringLiteral("LANGUAGE"));
    return environment;
}

// Runs this binary with arguments, optionally under a wrapper command.
QByteArray runChild(
    const QStringList& arguments, const QProcessEnvironment& environment, QStringList wrapper = QStringList())
{
    QProcess child;
    child.setProcessEnvironment(environment);
    wrapper << QCoreApplication::applicationFilePath() << arguments;
    child.start(wrapper.takeFirst(), wrapper);
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        qWarning("child %s failed: %s", qPrintable(arguments.join(QLatin1Char(' '))),
            child.readAllStandardError().constData());
        return QByteArray();
    }
    return child.readAllStandardOutput();
}

} // namespace

class UrlRecorder : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }

public:
    QList<QUrl> urls;
};

class SupportInfoTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void replaceStringsFillsPlaceholdersOnlyWhereTheyOccur_data();
    void replaceStringsFillsPlaceholdersOnlyWhereTheyOccur();
    void supportInfoIsTheStandardRequest_data();
    void supportInfoIsTheStandardRequest();
    void helpEntryPointsOfferNothing();
    void webSiteAndFeedbackUrlsComeFromTheConfiguration();

    void feedbackLanguageFollowsTheSystemLocale_data();
    void feedbackLanguageFollowsTheSystemLocale();
    void feedbackUrlIsBuiltOncePerProcess();

    void supportMailCarriesSubjectAndBodyAsData_data();
    void supportMailCarriesSubjectAndBodyAsData();
    void contactSupportSendsTheStandardRequest();
    void openFeedbackUrlOpensTheUrlWithQuery();
    void supportMailReachesTheDesktopMailHandler();

private:
    UrlRecorder m_recorder;
};

void SupportInfoTest::init()
{
    m_recorder.urls.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &m_recorder, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_recorder, "open");
    supportCallCounts().reset();
}

void SupportInfoTest::cleanup()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

void SupportInfoTest::replaceStringsFillsPlaceholdersOnlyWhereTheyOccur_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // "@OS@" stands for the operating system's name
    QTest::addColumn<int>("versionCalls");
    QTest::addColumn<int>("osNameCalls");

    QTest::newRow("a text without placeholders is unchanged and consults nothing")
        << QStringLiteral("Hello $(tavixver) $(osver) $(TAVIXVER) $(OSVer $(tavixVer")
        << QStringLiteral("Hello $(tavixver) $(osver) $(TAVIXVER) $(OSVer $(tavixVer") << 0 << 0;
    QTest::newRow("every version placeholder gets the version with -x86")
        << QStringLiteral("$(tavixVer)/$(tavixVer).") << QStringLiteral("5.0.1.1234-x86/5.0.1.1234-x86.") << 1 << 0;
    QTest::newRow("every system placeholder gets the system's name")
        << QStringLiteral("on $(OSVer) and $(OSVer)") << QStringLiteral("on @OS@ and @OS@") << 0 << 1;
    QTest::newRow("both placeholders in one text") << QStringLiteral("tavix $(tavixVer) running on $(OSVer).")
                                                   << QStringLiteral("tavix 5.0.1.1234-x86 running on @OS@.") << 1 << 1;
    QTest::newRow("a placeholder formed by a replacement is not filled")
        << QStringLiteral("$(tavix$(OSVer)Ver)") << QStringLiteral("$(tavix@OS@Ver)") << 0 << 1;
    QTest::newRow("a null text stays null") << QString() << QString() << 0 << 0;
}

void SupportInfoTest::replaceStringsFillsPlaceholdersOnlyWhereTheyOccur()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(int, versionCalls);
    QFETCH(int, osNameCalls);

    if (expected.contains(QLatin1String("@OS@"))) {
        expected.replace(QStringLiteral("@OS@"), osNameText());
        supportCallCounts().reset();
    }
    const QString result = ReplaceStrings(text);
    QCOMPARE(result, expected);
    QCOMPARE(result.isNull(), expected.isNull());
    QCOMPARE(supportCallCounts().tavixVersionString.load(), versionCalls);
    QCOMPARE(supportCallCounts().osName.load(), osNameCalls);
}

void SupportInfoTest::supportInfoIsTheStandardRequest_data()
{
    QTest::addColumn<bool>("withHeader");
    QTest::addColumn<QString>("header");

    QTest::newRow("without header it begins with the greeting") << false << QString();
    QTest::newRow("with header it begins with the To and Subject lines")
        << true << QStringLiteral("To: ") + supportAddress + QStringLiteral("\nSubject: tavix Support Request\n\n");
}

void SupportInfoTest::supportInfoIsTheStandardRequest()
{
    QFETCH(bool, withHeader);
    QFETCH(QString, header);

    const QString expected = header + QStringLiteral("Hello Support,\n\nI'm using tavix ") + versionText
        + QStringLiteral(" running on ") + osNameText() + QStringLiteral(".\n\n") + requestLine;
    QCOMPARE(GetVelnorSupportInfo(withHeader), expected);
}

void SupportInfoTest::helpEntryPointsOfferNothing()
{
    QVERIFY(GetHelpFilePath().isNull());
    QCOMPARE(ShowHelpFile(ShowHelpFileModal | ShowHelpFileSearch, nullptr, QStringLiteral("manual.chm"),
                 QStringLiteral("Exposure"), 42),
        0);
}

void SupportInfoTest::webSiteAndFeedbackUrlsComeFromTheConfiguration()
{
    const QString site = QStringLiteral(TAVIXQTBASE_TEST_WEBSITE_URL);
    QCOMPARE(GetVelnorUrl(), site);
    QCOMPARE(GetFeedbackUrl(false), QUrl(site + QStringLiteral("/tavixfeedback")));
    QVERIFY(!GetFeedbackUrl(false).hasQuery());
    QCOMPARE(GetFeedbackUrl(true).adjusted(QUrl::RemoveQuery), GetFeedbackUrl(false));
}

void SupportInfoTest::feedbackLanguageFollowsTheSystemLocale_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("language");

    QTest::newRow("German in Germany") << QStringLiteral("de_DE.UTF-8") << QStringLiteral("de");
    QTest::newRow("German in Austria") << QStringLiteral("de_AT.UTF-8") << QStringLiteral("de");
    QTest::newRow("German in Switzerland, Latin-1") << QStringLiteral("de_CH.ISO-8859-1") << QStringLiteral("de");
    QTest::newRow("English") << QStringLiteral("en_US.UTF-8") << QStringLiteral("en");
    QTest::newRow("French") << QStringLiteral("fr_FR.UTF-8") << QStringLiteral("en");
    QTest::newRow("Dutch, close to German") << QStringLiteral("nl_NL.UTF-8") << QStringLiteral("en");
    QTest::newRow("the C locale") << QStringLiteral("C") << QStringLiteral("en");
}

void SupportInfoTest::feedbackLanguageFollowsTheSystemLocale()
{
    QFETCH(QString, lang);
    QFETCH(QString, language);

    const QByteArray output = runChild({ QStringLiteral("--feedback-url") }, childEnvironment(lang));
    const QUrl url = QUrl::fromEncoded(output.trimmed(), QUrl::StrictMode);
    QVERIFY2(url.isValid(), output.constData());
    QCOMPARE(output.trimmed(),
        QByteArray(TAVIXQTBASE_TEST_WEBSITE_URL "/tavixfeedback?tavixver=tavix%205.0&os=Linux&language=")
            + language.toLatin1());
    const QueryItems expected = { { QStringLiteral("tavixver"), QStringLiteral("tavix 5.0") },
        { QStringLiteral("os"), QStringLiteral("Linux") }, { QStringLiteral("language"), language } };
    QCOMPARE(QUrlQuery(url).queryItems(QUrl::FullyDecoded), expected);
}

// Qt reads the system locale of a Unix process from its environment once; there
// is no public way to make QLocale::system() change later. The child therefore
// changes everything a program can change (LC_ALL, LANG, the default QLocale)
// after the first call, and counts the SDK queries to see that later calls
// only copy the value built by the first one.
void SupportInfoTest::feedbackUrlIsBuiltOncePerProcess()
{
    const QByteArray output
        = runChild({ QStringLiteral("--feedback-cache") }, childEnvironment(QStringLiteral("de_AT.UTF-8")));
    const QList<QByteArray> lines = output.split('\n');
    QVERIFY2(lines.size() >= 3, output.constData());
    QCOMPARE(QUrl::fromEncoded(lines.at(0)), GetFeedbackUrl(false));
    const QUrl later = QUrl::fromEncoded(lines.at(1));
    QCOMPARE(QUrlQuery(later).queryItemValue(QStringLiteral("language")), QStringLiteral("de"));
    QCOMPARE(lines.at(2), QByteArray("version queries: 1"));
}

void SupportInfoTest::supportMailCarriesSubjectAndBodyAsData_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("expectedSubject");
    QTest::addColumn<QString>("expectedBody");

    const auto plain = [](const char* name, const QString& subject, const QString& body) {
        QTest::newRow(name) << subject << body << subject << body;
    };
    plain("ampersands and equals signs cannot add items or recipients",
        QStringLiteral("a&cc=evil@attacker.example&to=evil@attacker.example"),
        QStringLiteral("x=1&subject=override&body=override"));
    plain("a hash sign cannot start a fragment", QStringLiteral("#fragment"), QStringLiteral("issue #2 # end"));
    plain("question marks and plus signs stay themselves", QStringLiteral("?to=evil@attacker.example"),
        QStringLiteral("1+1 = 2, a+b"));
    plain("line breaks cannot add header lines", QStringLiteral("Hi\r\nBcc: evil@attacker.example"),
        QStringLiteral("one\ntwo\rthree\r\n"));
    plain("non-ASCII text survives", QStringLiteral("\u00dcberhitzung \u2713 \u65e5\u672c"),
        QStringLiteral("Gr\u00fc\u00dfe, \U0001F4F7"));
    plain("percent escapes stay literal text", QStringLiteral("%26%3D%0A"), QStringLiteral("100% sure %41"));
    plain("quotes, blanks and shell characters", QStringLiteral("'a' \"b\" `c` $(d) ; e"),
        QStringLiteral("  leading and trailing  "));
    plain("null texts still give both items", QString(), QString());
    plain("empty texts still give both items", QStringLiteral(""), QStringLiteral(""));
    QTest::newRow("placeholders in the caller's texts are filled")
        << QStringLiteral("tavix $(tavixVer)") << QStringLiteral("v=$(tavixVer)&x")
        << QStringLiteral("tavix ") + versionText << QStringLiteral("v=") + versionText + QStringLiteral("&x");
}

void SupportInfoTest::supportMailCarriesSubjectAndBodyAsData()
{
    QFETCH(QString, subject);
    QFETCH(QString, body);
    QFETCH(QString, expectedSubject);
    QFETCH(QString, expectedBody);

    QVERIFY(ContactVelnorSupport2(subject, body));
    QCOMPARE(m_recorder.urls.size(), 1);
    const QUrl url = m_recorder.urls.first();
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QCOMPARE(url.path(QUrl::FullyDecoded), supportAddress);
    QVERIFY(!url.hasFragment());
    const QueryItems expected
        = { { QStringLiteral("subject"), expectedSubject }, { QStringLiteral("body"), expectedBody } };
    QCOMPARE(decodedItems(url), expected);
    // A client that decodes "+" as a blank, or splits at every "&" or "=", reads the same.
    const QByteArray query = url.query(QUrl::FullyEncoded).toLatin1();
    QVERIFY2(!query.contains('+'), query.constData());
    QCOMPARE(query.count('&'), 1);
    QCOMPARE(query.count('='), 2);
}

void SupportInfoTest::contactSupportSendsTheStandardRequest()
{
    QVERIFY(ContactVelnorSupport());
    QCOMPARE(m_recorder.urls.size(), 1);
    QCOMPARE(m_recorder.urls.first().path(), supportAddress);
    const QueryItems expected = { { QStringLiteral("subject"), QStringLiteral("tavix Support Request") },
        { QStringLiteral("body"), GetVelnorSupportInfo(false) } };
    QCOMPARE(decodedItems(m_recorder.urls.first()), expected);
}

void SupportInfoTest::openFeedbackUrlOpensTheUrlWithQuery()
{
    QVERIFY(OpenFeedbackUrl());
    QCOMPARE(m_recorder.urls.size(), 1);
    QCOMPARE(m_recorder.urls.first(), GetFeedbackUrl(true));
    QVERIFY(m_recorder.urls.first().hasQuery());
}

// The real desktop path: with no desktop environment detected, Qt hands the
// URL to xdg-open, which finds the mail handler registered in XDG_DATA_HOME and
// XDG_CONFIG_HOME and runs it. The handler writes the URL it got into a file.
// The offscreen platform has no desktop services (its openUrl() always fails),
// so the child runs on the xcb platform under its own Xvfb server.
void SupportInfoTest::supportMailReachesTheDesktopMailHandler()
{
    for (const char* program : { "xdg-open", "xvfb-run", "Xvfb" }) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty()) {
            QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QString::fromLatin1(program))));
        }
    }
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QString received = home.filePath(QStringLiteral("received-url"));
    const QString handler = home.filePath(QStringLiteral("record-mail.sh"));
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("data/applications")));
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("config")));
    const auto write = [](const QString& path, const QByteArray& content) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    };
    QVERIFY(write(handler,
        "#!/bin/sh\nprintf '%s' \"$1\" > \"" + received.toUtf8() + ".part\" && mv \"" + received.toUtf8() + ".part\" \""
            + received.toUtf8() + "\"\n"));
    QVERIFY(QFile::setPermissions(handler, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(write(home.filePath(QStringLiteral("data/applications/tavix-test-mail.desktop")),
        "[Desktop Entry]\nType=Application\nName=Mail recorder\nExec=" + handler.toUtf8()
            + " %u\nMimeType=x-scheme-handler/mailto;\nNoDisplay=true\n"));
    QVERIFY(write(home.filePath(QStringLiteral("config/mimeapps.list")),
        "[Default Applications]\nx-scheme-handler/mailto=tavix-test-mail.desktop\n"));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const char* name : { "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
             "GNOME_DESKTOP_SESSION_ID", "DBUS_SESSION_BUS_ADDRESS", "BROWSER", "WAYLAND_DISPLAY" }) {
        environment.remove(QString::fromLatin1(name));
    }

    const QString subject = QStringLiteral("Cam & \"Lens\" #1 +5\u00b0C");
    const QString body = QStringLiteral("line 1\r\nline 2 'quoted' `x` $(id)?a=b");
    const QByteArray output = runChild({ QStringLiteral("--contact-support"), subject, body }, environment,
        { QStringLiteral("xvfb-run"), QStringLiteral("--auto-servernum"),
            QStringLiteral("--server-args=-nolisten tcp") });
    QCOMPARE(output.trimmed(), QByteArray("opened"));

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(received), 60000);
    QFile file(received);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QUrl url = QUrl::fromEncoded(file.readAll(), QUrl::StrictMode);
    QVERIFY2(url.isValid(), qPrintable(url.errorString()));
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QCOMPARE(url.path(QUrl::FullyDecoded), supportAddress);
    const QueryItems expected = { { QStringLiteral("subject"), subject }, { QStringLiteral("body"), body } };
    QCOMPARE(QUrlQuery(url).queryItems(QUrl::FullyDecoded), expected);
}

// Child modes: per-process state and the real desktop path each get a fresh process.

static int printFeedbackUrl()
{
    std::printf("%s\n", GetFeedbackUrl(true).toEncoded().constData());
    return 0;
}

static int checkFeedbackCache()
{
    std::printf("%s\n", GetFeedbackUrl(false).toEncoded().constData());
    qputenv("LC_ALL", "fr_FR.UTF-8");
    qputenv("LANG", "fr_FR.UTF-8");
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    GetFeedbackUrl(false);
    std::printf("%s\n", GetFeedbackUrl(true).toEncoded().constData());
    std::printf("version queries: %d\n", supportCallCounts().tavixVersion.load());
    return 0;
}

static int contactSupport(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const bool opened = ContactVelnorSupport2(arguments.at(2), arguments.at(3));
    std::printf("%s\n", opened ? "opened" : "not opened");
    return 0;
}

int main(int argc, char* argv[])
{
    if (argc == 2 && qstrcmp(argv[1], "--feedback-url") == 0) {
        return printFeedbackUrl();
    }
    if (argc == 2 && qstrcmp(argv[1], "--feedback-cache") == 0) {
        return checkFeedbackCache();
    }
    if (argc == 4 && qstrcmp(argv[1], "--contact-support") == 0) {
        return contactSupport(argc, argv);
    }
    QGuiApplication app(argc, argv);
    SupportInfoTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_supportinfo.moc"
