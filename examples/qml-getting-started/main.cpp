// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// A Qt Quick window that imports the QML module TavixQtBase: the frame rate of a
// simulated 25 Hz stream, and the window's place kept across runs. The module is
// looked for on the QML import path, for example QML_IMPORT_PATH=build/qt6/qml.

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QUrl>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("TavixQtBase"));
    QCoreApplication::setApplicationName(QStringLiteral("qml-getting-started"));
    QQmlApplicationEngine engine;
    engine.load(QUrl(QStringLiteral("qrc:/GettingStarted/Main.qml")));
    return engine.rootObjects().isEmpty() ? 1 : app.exec();
}
