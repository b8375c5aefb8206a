// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_TRANSLATIONS_H
#define TAVIXQTBASE_TRANSLATIONS_H

#include <TavixQtBase/tavixqtbase_export.h>

#include <QLocale>

/**
 * @file translations.h
 * Translations of the words that the library puts on screen.
 *
 * @howtouse{translations.h}
 *
 * @code
 * QApplication app(argc, argv);
 * QLocale::setDefault(QLocale(QLocale::German));
 * loadTavixQtBaseTranslation();    // true
 * formatIPConfiguration(5u, 0u);   // "Statische IP, Auto-IP"
 * formatImageCount(1234, 5);       // "Bilder: 1.234; Fehler: 5"
 * @endcode
 *
 * The library's display texts (the IP configuration methods of
 * formatIPConfiguration() and the text of formatImageCount()) go through
 * QCoreApplication::translate() in the context "TavixQtBase". Without a
 * translator for that context they are the English source texts. Log lines,
 * support mails, URLs and the operating system's name are never translated.
 *
 * The library ships the translation files tavixqtbase_<language>.qm (German:
 * tavixqtbase_de.qm), installed in share/tavixqtbase/translations (the Qt 5
 * build: share/tavixqtbase-qt5/translations) under the
 * installation prefix. An application that installs its translators itself can
 * load them from there with QTranslator::load(locale, "tavixqtbase", "_", directory).
 */

/**
 * Installs the library's translation for @p locale on the application, in place
 * of the one an earlier call installed.
 *
 * The translation is looked up with QTranslator::load() for each of
 * @p locale's QLocale::uiLanguages(), as "tavixqtbase_de_DE.qm", then
 * "tavixqtbase_de.qm", and so on, in the translations directory of the loaded
 * library: share/tavixqtbase/translations (share/tavixqtbase-qt5/translations
 * for the Qt 5 build) beside the library's installation
 * prefix (found from the directory of libTavixQtBase.so.1, so the installed
 * tree can be moved), or the build tree's translations directory when the
 * library runs from its build tree.
 *
 * The translator installed by an earlier call is removed and deleted first, in
 * every case, so that switching to a language without a translation brings back
 * the English texts. The new translator is a child of the application object and
 * is deleted with it. Installing or removing a translator sends
 * QEvent::LanguageChange to the application's widgets, as
 * QCoreApplication::installTranslator() does.
 *
 * Call it from the thread of the application object, after the application
 * object has been created.
 *
 * @param locale the locale whose languages are tried; the application's
 *        default locale, QLocale(), unless given
 * @return true when a translation was found and installed; false, with no
 *         translation of the library installed, when there is no application
 *         object, the library cannot find its own file, or no translation
 *         exists for the locale's languages (English, for example)
 */
TAVIXQTBASE_EXPORT bool loadTavixQtBaseTranslation(const QLocale& locale = QLocale());

#endif
