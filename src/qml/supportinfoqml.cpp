// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "supportinfoqml.h"

#include <TavixQtBase/supportinfo.h>

#include <string>

QString QmlSupportInfo::osName() const
{
    // The system is examined once, and only when asked: it may start shell commands.
    if (m_osName.isNull()) {
        std::string name;
        Baselibs::GetOsName(name);
        m_osName = QString::fromUtf8(name.data(), qsizetype(name.size()));
    }
    return m_osName;
}

QString QmlSupportInfo::webSiteUrl() const
{
    return GetVelnorUrl();
}

QString QmlSupportInfo::helpFilePath() const
{
    return GetHelpFilePath();
}

QUrl QmlSupportInfo::feedbackUrl(bool withQuery) const
{
    return GetFeedbackUrl(withQuery);
}

QString QmlSupportInfo::supportRequest(bool withHeader) const
{
    return GetVelnorSupportInfo(withHeader);
}

QString QmlSupportInfo::replaceStrings(const QString& text) const
{
    return ReplaceStrings(text);
}

bool QmlSupportInfo::contactSupport() const
{
    return ContactVelnorSupport();
}

bool QmlSupportInfo::contactSupport(const QString& subject, const QString& body) const
{
    return ContactVelnorSupport2(subject, body);
}

bool QmlSupportInfo::openFeedbackUrl() const
{
    return OpenFeedbackUrl();
}

bool QmlSupportInfo::showHelpFile(const QString& topic, int contextId) const
{
    return ShowHelpFile(EShowHelpFileFlags(), nullptr, GetHelpFilePath(), topic, contextId) != 0;
}
