// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_TESTS_QML_CPPREFERENCE_H
#define TAVIXQTBASE_TESTS_QML_CPPREFERENCE_H

#include <TavixQtBase/fpsstatistic.h>
#include <TavixQtBase/frameratefeed.h>
#include <TavixQtBase/supportinfo.h>
#include <TavixQtBase/translations.h>

#include <QDesktopServices>
#include <QMetaProperty>
#include <QPointer>
#include <QQmlEngine>
#include <QStringList>
#include <QUrl>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include "../fakeclock.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

// The singleton Cpp of the test-only module TavixQtBaseTests: the C++ side
// that the QML test cases compare the module's types with.
class CppReference : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(Cpp)
    QML_SINGLETON

public:
    explicit CppReference(QQmlEngine* engine)
        : m_engine(engine)
    {
        // Every URL that the library opens is recorded, none shown.
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
    }

    static CppReference* create(QQmlEngine* engine, QJSEngine*) { return new CppReference(engine); }

    // The texts and results of supportinfo.h, in the order of SupportInfo's test.
    Q_INVOKABLE QStringList supportTexts() const
    {
        std::string osName;
        Baselibs::GetOsName(osName);
        return { QString::fromStdString(osName), GetVelnorSupportInfo(false), GetVelnorSupportInfo(true),
            GetFeedbackUrl(true).toString(), GetFeedbackUrl(false).toString(), GetVelnorUrl(), GetHelpFilePath(),
            QString::number(ShowHelpFile({}, nullptr, QString(), QStringLiteral("topic"), 3) != 0) };
    }

    // The URLs opened since the last call.
    Q_INVOKABLE QStringList takeOpenedUrls() { return std::exchange(m_opened, {}); }

    Q_INVOKABLE void open(const QUrl& url) { m_opened.append(url.toString()); }

    // Installs the library's translation for @p localeName, makes it the default locale
    // and retranslates the engine; false when no translation was loaded.
    Q_INVOKABLE bool setLanguage(const QString& localeName) const
    {
        QLocale::setDefault(QLocale(localeName));
        const bool loaded = loadTavixQtBaseTranslation();
        m_engine->retranslate();
        return loaded;
    }

    // Feeds @p frameRate (through FrameRateFeed) and a statistic of its capacity alike
    // on the faked wall clock: a sample of phase.amount at each of phase.times, in
    // seconds, phase.cppAmount to the statistic when given; the statistic restarts
    // first when phase.restart. Then leaves the clock at phase.readAt, until
    // releaseClock(), and returns the statistic's result there as [valid,
    // framesPerSecond, amountPerSecond].
    Q_INVOKABLE QVariantList feed(QObject* frameRate, const QVariantMap& phase)
    {
        if (!m_clock) {
            m_clock.emplace();
        }
        if (m_fed != frameRate || phase.value(QStringLiteral("restart")).toBool()) {
            m_fed = frameRate;
            m_reference = std::make_unique<FpsStatistic>(frameRate->property("capacity").toUInt());
        }
        const QVariant amount = phase.value(QStringLiteral("amount"));
        for (const QVariant& time : phase.value(QStringLiteral("times")).toList()) {
            m_clock->advance(double(FakeEpochSeconds) + time.toDouble() - m_clock->now);
            qobject_cast<FrameRateFeed*>(frameRate)->addSample(amount.toDouble());
            m_reference->addSample(phase.value(QStringLiteral("cppAmount"), amount).toUInt());
        }
        m_clock->advance(double(FakeEpochSeconds) + phase.value(QStringLiteral("readAt")).toDouble() - m_clock->now);
        double framesPerSecond = 0.0;
        unsigned long long amountPerSecond = 0;
        const bool valid = m_reference->computeResult(&framesPerSecond, &amountPerSecond);
        return { valid, framesPerSecond, double(amountPerSecond) };
    }

    Q_INVOKABLE void releaseClock() { m_clock.reset(); }

    // The properties of @p object that declare the change signal named after them, NAMEChanged.
    Q_INVOKABLE QStringList propertiesNotifyingByName(QObject* object) const
    {
        QStringList names;
        const QMetaObject* const type = object->metaObject();
        for (int i = 0; i < type->propertyCount(); ++i) {
            const QMetaProperty property = type->property(i);
            if (property.notifySignal().name() == property.name() + QByteArrayLiteral("Changed")) {
                names.append(QString::fromLatin1(property.name()));
            }
        }
        return names;
    }

private:
    QQmlEngine* m_engine;
    std::optional<FakeClock> m_clock;
    QPointer<QObject> m_fed;
    std::unique_ptr<FpsStatistic> m_reference;
    QStringList m_opened;
};

#endif
