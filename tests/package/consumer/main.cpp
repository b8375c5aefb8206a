// A minimal application built against the installed library.
#include <TavixQtBase/errorreporting.h>

#include <QCoreApplication>
#include <QTimer>

#include <tavix/TavixVersion.h>

#include <cstdio>

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
    std::printf("SDK %s\n", GetTavixVersionString());
    return app.exec();
}
