// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The QML module's types against the C++ functions they wrap. The QML test
// cases reach the C++ side through the singleton Cpp of the test-only module
// TavixQtBaseTests (cppreference.h).

#include <QCoreApplication>
#include <QLocale>
#include <QSettings>
#include <QtQuickTest>

class Setup : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void applicationAvailable()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("TavixQtBaseTests"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_qml"));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
};

QUICK_TEST_MAIN_WITH_SETUP(tst_qml, Setup)

#include "tst_qml.moc"
