// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_QML_SUPPORTINFOQML_H
#define TAVIXQTBASE_QML_SUPPORTINFOQML_H

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

/**
 * The QML singleton SupportInfo: the system's name, the support request, the
 * feedback page and the help file of supportinfo.h, with the C++ functions'
 * texts and results. The opening functions belong to the GUI thread.
 */
class SupportInfo : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    /** Baselibs::GetOsName() decoded as UTF-8, read at the first use. */
    Q_PROPERTY(QString osName READ osName CONSTANT)
    /** GetVelnorUrl(). */
    Q_PROPERTY(QString webSiteUrl READ webSiteUrl CONSTANT)
    /** GetHelpFilePath(). */
    Q_PROPERTY(QString helpFilePath READ helpFilePath CONSTANT)

public:
    using QObject::QObject;

    QString osName() const;
    QString webSiteUrl() const;
    QString helpFilePath() const;

    /** GetFeedbackUrl(). */
    Q_INVOKABLE QUrl feedbackUrl(bool withQuery = true) const;
    /** GetVelnorSupportInfo(). */
    Q_INVOKABLE QString supportRequest(bool withHeader = false) const;
    /** ReplaceStrings(). */
    Q_INVOKABLE QString replaceStrings(const QString& text) const;
    /** ContactVelnorSupport(). */
    Q_INVOKABLE bool contactSupport() const;
    /** ContactVelnorSupport2(). */
    Q_INVOKABLE bool contactSupport(const QString& subject, const QString& body) const;
    /** OpenFeedbackUrl(). */
    Q_INVOKABLE bool openFeedbackUrl() const;
    /** ShowHelpFile() of helpFilePath with the topic and context; true when it showed the help. */
    Q_INVOKABLE bool showHelpFile(const QString& topic = QString(), int contextId = 0) const;

private:
    mutable QString m_osName;
};

#endif
