// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "supportinfoqml.h"

#include <TavixQtBase/supportinfo.h>

#include <string>

QString SupportInfo::osName() const
{
    // The system is examined once, and only when asked: it may start shell commands.
    if (m_osName.isNull()) {
        std::string name;
        Baselibs::GetOsName(name);
        m_osName = QString::fromUtf8(name.data(), qsizetype(name.size()));
    }
    return m_osName;
}

QString SupportInfo::webSiteUrl() const
{
    return GetVelnorUrl();
}

QString SupportInfo::helpFilePath() const
{
    return GetHelpFilePath();
}

QUrl SupportInfo::feedbackUrl(bool withQuery) const
{
    return GetFeedbackUrl(withQuery);
}

QString SupportInfo::supportRequest(bool withHeader) const
{
    return GetVelnorSupportInfo(withHeader);
}

QString SupportInfo::replaceStrings(const QString& text) const
{
    return ReplaceStrings(text);
}

bool SupportInfo::contactSupport() const
{
    return ContactVelnorSupport();
}

bool SupportInfo::contactSupport(const QString& subject, const QString& body) const
{
    return ContactVelnorSupport2(subject, body);
}

bool SupportInfo::openFeedbackUrl() const
{
    return OpenFeedbackUrl();
}

bool SupportInfo::showHelpFile(const QString& topic, int contextId) const
{
    return ShowHelpFile(EShowHelpFileFlags(), nullptr, GetHelpFilePath(), topic, contextId) != 0;
}
