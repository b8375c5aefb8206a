// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/supportinfo.h>

#include "buildconfig_p.h"

#include <QDesktopServices>
#include <QLocale>
#include <QUrlQuery>

#include <tavix/TavixVersion.h>

#include <cstdint>
#include <string>

namespace {

const QString s_supportEmailAddress = QStringLiteral(TAVIXQTBASE_SUPPORT_EMAIL);
const QString s_feedbackUrl = QStringLiteral(TAVIXQTBASE_WEBSITE_URL "/tavixfeedback");
const QString s_webSiteUrl = QStringLiteral(TAVIXQTBASE_WEBSITE_URL);

QUrl buildFeedbackUrlWithQuery()
{
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t subminor = 0;
    uint32_t build = 0;
    GetTavixVersion(&major, &minor, &subminor, &build);
    const bool german = QLocale::system().language() == QLocale::German;

    QUrlQuery query;
    query.addQueryItem(QStringLiteral("tavixver"), QStringLiteral("tavix %1.%2").arg(major).arg(minor));
    query.addQueryItem(QStringLiteral("os"), QStringLiteral("Linux"));
    query.addQueryItem(QStringLiteral("language"), german ? QStringLiteral("de") : QStringLiteral("en"));
    QUrl url(s_feedbackUrl);
    url.setQuery(query);
    return url;
}

// The system's name decoded as UTF-8, with every control character (C0, DEL and C1) replaced by
// U+FFFD, the mark that bytes which are not UTF-8 get as well. A NUL would travel in a "mailto:"
// URL as %00, which mail clients refuse, and a line break would split the line it stands in.
QString printableOsName()
{
    std::string osName;
    Baselibs::GetOsName(osName);
    QString name = QString::fromUtf8(osName.data(), int(osName.size()));
    for (QChar& character : name) {
        if (character.category() == QChar::Other_Control) {
            character = QChar::ReplacementCharacter;
        }
    }
    return name;
}

// QUrlQuery leaves "+", "?" and "/" of a value as they are, and some mail
// clients read "+" as a blank. Encoding every reserved character beforehand
// keeps each value pure data; QUrlQuery keeps the percent escapes as given.
QString encodedQueryValue(const QString& value)
{
    // Never null, so that a null text still gives "key=" rather than a bare "key".
    const QByteArray encoded = QUrl::toPercentEncoding(value);
    return QString::fromLatin1(encoded.constData(), int(encoded.size()));
}

} // namespace

QString GetHelpFilePath()
{
    return QString();
}

int ShowHelpFile(EShowHelpFileFlags, QWidget*, const QString&, const QString&, int)
{
    return 0;
}

QUrl GetFeedbackUrl(bool withQuery)
{
    static const QUrl s_feedbackUrlWithQuery = buildFeedbackUrlWithQuery();
    return withQuery ? s_feedbackUrlWithQuery : QUrl(s_feedbackUrl);
}

QString GetVelnorUrl()
{
    return s_webSiteUrl;
}

bool OpenFeedbackUrl()
{
    return QDesktopServices::openUrl(GetFeedbackUrl(true));
}

QString ReplaceStrings(const QString& text)
{
    static const QString tavixVersionPlaceholder = QStringLiteral("$(tavixVer)");
    static const QString osVersionPlaceholder = QStringLiteral("$(OSVer)");

    QString result = text;
    if (text.contains(tavixVersionPlaceholder)) {
        const QString version = QString::fromLatin1(GetTavixVersionString()) + QStringLiteral("-x86");
        result.replace(tavixVersionPlaceholder, version);
    }
    if (text.contains(osVersionPlaceholder)) {
        result.replace(osVersionPlaceholder, printableOsName());
    }
    return result;
}

bool ContactVelnorSupport2(const QString& subject, const QString& body)
{
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), encodedQueryValue(ReplaceStrings(subject)));
    query.addQueryItem(QStringLiteral("body"), encodedQueryValue(ReplaceStrings(body)));
    QUrl url(QStringLiteral("mailto:") + s_supportEmailAddress);
    url.setQuery(query);
    return QDesktopServices::openUrl(url);
}

QString GetVelnorSupportInfo(bool withHeader)
{
    QString text;
    if (withHeader) {
        text = QStringLiteral("To: ") + s_supportEmailAddress + QStringLiteral("\nSubject: tavix Support Request\n\n");
    }
    text += QStringLiteral("Hello Support,\n\n"
                           "I'm using tavix $(tavixVer) running on $(OSVer).\n\n"
                           "<Please add camera model, serial number and problem description here>");
    return ReplaceStrings(text);
}

bool ContactVelnorSupport()
{
    return ContactVelnorSupport2(QStringLiteral("tavix Support Request"), GetVelnorSupportInfo(false));
}
