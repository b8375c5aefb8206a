// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// A minimal application built against the installed library.
#include <TavixQtBase/errorreporting.h>
#include <TavixQtBase/tavixqtbase_version.h>
#include <TavixQtBase/translations.h>

#include <QCoreApplication>
#include <QTimer>

#include <tavix/TavixVersion.h>

#include <cstdio>

#if TAVIXQTBASE_VERSION < TAVIXQTBASE_VERSION_CHECK(1, 0, 0)                                                           \
    || TAVIXQTBASE_VERSION >= TAVIXQTBASE_VERSION_CHECK(2, 0, 0)
#error "TAVIXQTBASE_VERSION is not a 1.x version"
#endif

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QObject::connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, &app,
        [&app](AsyncErrorQueue::ErrorSeverity, const QString& message, const QString&, QWidget*) {
            std::printf("delivered: %s\n", message.toUtf8().constData());
            app.quit();
        });
    showWarningMessage(QStringLiteral("title"), QStringLiteral("consumer"), QStringLiteral("consumer works"), nullptr);
    QTimer::singleShot(5000, &app, [&app] { app.exit(1); });
    // The library finds its translations from its own directory, wherever the layout put it.
    const bool translated = loadTavixQtBaseTranslation(QLocale(QLocale::German));
    std::printf("TavixQtBase %s, Qt %d, SDK %s, German translation %s\n", TAVIXQTBASE_VERSION_STRING, QT_VERSION_MAJOR,
        GetTavixVersionString(), translated ? "loaded" : "missing");
    return app.exec();
}
