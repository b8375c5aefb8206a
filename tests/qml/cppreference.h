// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_TESTS_QML_CPPREFERENCE_H
#define TAVIXQTBASE_TESTS_QML_CPPREFERENCE_H

#include <TavixQtBase/errorreporting.h>
#include <TavixQtBase/fpsstatistic.h>
#include <TavixQtBase/frameratefeed.h>
#include <TavixQtBase/stringhelpers.h>
#include <TavixQtBase/supportinfo.h>
#include <TavixQtBase/translations.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJSValue>
#include <QQmlEngine>
#include <QSettings>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

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
    }

    static CppReference* create(QQmlEngine* engine, QJSEngine*) { return new CppReference(engine); }

    // The C++ formatter @p function called with @p arguments in its own types;
    // the locale, when given, is a name.
    Q_INVOKABLE QString format(const QString& function, const QVariantList& arguments) const
    {
        const auto at = [&](int i) { return i < arguments.size() ? arguments.at(i) : QVariant(); };
        const auto flags = [&](int i) { return FormatValueFlags(at(i).toInt()); };
        const auto locale = [&](int i) { return at(i).isValid() ? QLocale(at(i).toString()) : QLocale(); };
        const auto multiplier = FormatMultiplier(at(2).toInt());
        const QString unit = at(3).toString();
        const double number = at(0).toDouble();
        const qlonglong integer = at(0).toString().toLongLong();
        const qulonglong unsignedInteger = at(0).toString().toULongLong();
        if (function == QLatin1String("formatDoubleValue")) {
            return formatDoubleValue(number, at(1).toInt(), flags(2), locale(3));
        } else if (function == QLatin1String("formatIntegerValue")) {
            return formatIntegerValue(integer, flags(1), locale(2));
        } else if (function == QLatin1String("formatUnsignedIntegerValue")) {
            return formatUnsignedIntegerValue(unsignedInteger, flags(1), locale(2));
        } else if (function == QLatin1String("formatDoubleValueAndUnits")) {
            return formatDoubleValueAndUnits(number, at(1).toInt(), multiplier, unit, flags(4), locale(5));
        } else if (function == QLatin1String("formatIntegerValueAndUnits")) {
            return formatIntegerValueAndUnits(integer, at(1).toInt(), multiplier, unit, flags(4), locale(5));
        } else if (function == QLatin1String("formatUnsignedIntegerValueAndUnits")) {
            return formatUnsignedIntegerValueAndUnits(
                unsignedInteger, at(1).toInt(), multiplier, unit, flags(4), locale(5));
        } else if (function == QLatin1String("formatDoubleValueAndAutoUnits")) {
            return formatDoubleValueAndAutoUnits(number, at(1).toInt(), at(2).toString(), flags(3), locale(4));
        } else if (function == QLatin1String("formatImageCount")) {
            return formatImageCount(unsignedInteger, at(1).toString().toULongLong());
        } else if (function == QLatin1String("formatIPConfiguration")) {
            return formatIPConfiguration(at(0).toUInt(), at(1).toUInt());
        } else if (function == QLatin1String("formatMACAddress")) {
            const QByteArray separator = at(1).toString().toLatin1();
            return formatMACAddress(
                at(0).toString().toLatin1().constData(), at(1).isValid() ? separator.constData() : nullptr);
        }
        return QStringLiteral("no such function");
    }

    // The texts and results of supportinfo.h, in the order of SupportInfo's test.
    Q_INVOKABLE QStringList supportTexts() const
    {
        std::string osName;
        Baselibs::GetOsName(osName);
        return { QString::fromStdString(osName), GetVelnorSupportInfo(false), GetVelnorSupportInfo(true),
            GetFeedbackUrl(true).toString(), GetFeedbackUrl(false).toString(), GetVelnorUrl(), GetHelpFilePath(),
            QString::number(ShowHelpFile({}, nullptr, QString(), QStringLiteral("topic"), 3) != 0) };
    }

    // Installs the library's translation for @p localeName and makes it the default locale.
    Q_INVOKABLE bool setLanguage(const QString& localeName) const
    {
        QLocale::setDefault(QLocale(localeName));
        return loadTavixQtBaseTranslation();
    }

    Q_INVOKABLE void retranslate() const { m_engine->retranslate(); }

    // Feeds @p frameRate and a statistic of the same capacity from one thread,
    // one sample of 1000 every 1/hertz s for @p milliseconds, each read right
    // after its sample; then emits fed() with the statistic's last figures.
    // The samples go through FrameRateFeed, as an acquisition thread gives them.
    Q_INVOKABLE void feed(QObject* frameRate, int hertz, int milliseconds)
    {
        FrameRateFeed* const rateFeed = qobject_cast<FrameRateFeed*>(frameRate);
        if (!rateFeed) {
            qWarning(
                "feed: %s does not implement FrameRateFeed", frameRate ? frameRate->metaObject()->className() : "null");
            return;
        }
        m_feeder = std::thread([this, frameRate, rateFeed, hertz, milliseconds] {
            FpsStatistic statistic(frameRate->property("capacity").toUInt());
            double framesPerSecond = 0.0;
            unsigned long long amountPerSecond = 0;
            const auto start = std::chrono::steady_clock::now();
            const std::chrono::nanoseconds period = std::chrono::nanoseconds(std::chrono::seconds(1)) / hertz;
            for (long long i = 0; i < (long long)hertz * milliseconds / 1000; ++i) {
                std::this_thread::sleep_until(start + i * period);
                rateFeed->addSample(1000.0);
                statistic.addSample(1000);
                statistic.computeResult(&framesPerSecond, &amountPerSecond);
            }
            QMetaObject::invokeMethod(
                this, [=] { Q_EMIT fed(framesPerSecond, double(amountPerSecond)); }, Qt::QueuedConnection);
        });
    }

    // The C++ showCriticalMessage(), whose log line ErrorQueue's must repeat.
    Q_INVOKABLE void showCriticalMessage(
        const QString& title, const QString& source, const QString& message, const QString& details) const
    {
        ::showCriticalMessage(title, source, message, details, nullptr);
    }

    // The log lines that calling @p function writes, each after its message type.
    Q_INVOKABLE QStringList logLinesOf(QJSValue function) const
    {
        static QStringList lines;
        lines.clear();
        const QtMessageHandler previous
            = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& line) {
                  const char* const typeNames[] = { "debug", "warning", "critical", "fatal", "info" };
                  lines.append(QLatin1String(typeNames[type]) + QLatin1String(": ") + line);
              });
        function.call();
        qInstallMessageHandler(previous);
        return lines;
    }

    // Reports @p perThread warnings from each of @p threads threads, all before the
    // event loop runs again, so that every report is pending at once.
    Q_INVOKABLE void reportFromThreads(int threads, int perThread) const
    {
        std::vector<std::thread> reporters;
        for (int t = 0; t < threads; ++t) {
            reporters.emplace_back([t, perThread] {
                for (int i = 0; i < perThread; ++i) {
                    showWarningMessage(QStringLiteral("title"), QStringLiteral("thread"),
                        QStringLiteral("%1 %2").arg(t).arg(i), QString::number(t), nullptr);
                }
            });
        }
        for (std::thread& reporter : reporters) {
            reporter.join();
        }
    }

    // Makes the default settings file hold only @p group with @p entries, whose values are INI text.
    Q_INVOKABLE void writeSettings(const QString& group, const QVariantMap& entries) const
    {
        const QString fileName = QSettings().fileName();
        QDir().mkpath(QFileInfo(fileName).path());
        QFile file(fileName);
        file.open(QIODevice::WriteOnly);
        file.write(QStringLiteral("[%1]\n").arg(group).toUtf8());
        for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
            file.write(QStringLiteral("%1=%2\n").arg(entry.key(), entry.value().toString()).toUtf8());
        }
    }

    ~CppReference() override
    {
        if (m_feeder.joinable()) {
            m_feeder.join();
        }
    }

Q_SIGNALS:
    void fed(double framesPerSecond, double amountPerSecond);

private:
    QQmlEngine* m_engine;
    std::thread m_feeder;
};

#endif
