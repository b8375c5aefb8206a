// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/stringhelpers.h>
#include <TavixQtBase/translations.h>

#include <QtTest>

// The display texts under the library's German translation, loaded from the build
// tree, and after a switch to a language without a translation. Each row loads
// German first, so that the rows do not depend on their order and every row
// replaces a translator already installed.
class TranslationsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void displayTexts_data();
    void displayTexts();
};

void TranslationsTest::initTestCase()
{
    // The digits follow the default locale whatever the words' language.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TranslationsTest::displayTexts_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("imageCount");
    QTest::addColumn<QString>("ipConfiguration");

    // Austrian German finds the file of the language, tavixqtbase_de.qm.
    QTest::newRow("German words with German digits")
        << QLocale(QLocale::German, QLocale::Austria) << true << QStringLiteral("Bilder: 1.234; Fehler: 5")
        << QStringLiteral("Statische IP, DHCP, Auto-IP");
    QTest::newRow("English has no translation and removes the German one")
        << QLocale(QLocale::English, QLocale::UnitedStates) << false << QStringLiteral("Images: 1.234; Errors: 5")
        << QStringLiteral("Static IP, DHCP, Auto IP");
}

void TranslationsTest::displayTexts()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, loaded);
    QFETCH(QString, imageCount);
    QFETCH(QString, ipConfiguration);

    QVERIFY2(loadTavixQtBaseTranslation(QLocale(QLocale::German)), "tavixqtbase_de.qm not found in the build tree");
    QCOMPARE(loadTavixQtBaseTranslation(locale), loaded);
    QCOMPARE(formatImageCount(1234, 5), imageCount);
    QCOMPARE(formatIPConfiguration(7u, 0u), ipConfiguration);
}

QTEST_GUILESS_MAIN(TranslationsTest)

#include "tst_translations.moc"
