// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The first program of the main page (mainpage.md), which a test builds and runs.

//! [program]
#include <TavixQtBase/errorreporting.h>
#include <TavixQtBase/stringhelpers.h>

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Errors reported from any thread arrive here, in the GUI thread: show them.
    QObject::connect(GetTheGlobalAsyncErrorQueue(), &AsyncErrorQueue::displayError, &app,
        [&app](AsyncErrorQueue::ErrorSeverity, const QString& message, const QString&, QWidget*) {
            qInfo("shown: %s", qUtf8Printable(message));
            app.quit();
        });
    const QString rate = formatDoubleValueAndUnits(
        1500000, 1, MultiplierMega, QStringLiteral("Hz"), FormatValueShowMultiplier, QLocale::c());
    showWarningMessage(
        QStringLiteral("Acquisition"), QStringLiteral("grabber"), QStringLiteral("line rate ") + rate, nullptr);
    return app.exec();
}
//! [program]
