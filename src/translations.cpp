// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/translations.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTranslator>

#include <memory>

#include <dlfcn.h>

namespace {

// Any object of the library: dladdr() finds the file of the shared object that holds it.
const char libraryAnchor = 0;

QString libraryDirectory()
{
    Dl_info info {};
    if (dladdr(&libraryAnchor, &info) == 0 || !info.dli_fname) {
        return QString();
    }
    return QFileInfo(QFile::decodeName(info.dli_fname)).canonicalPath();
}

// Installed, the translations lie at a fixed path relative to the library's directory.
// The build tree has no such layout, so a library running from there uses the build
// tree's directory instead.
QString translationsDirectory()
{
    const QString libraryDir = libraryDirectory();
    if (libraryDir.isEmpty()) {
        return QString();
    }
    if (libraryDir == QFileInfo(QStringLiteral(TAVIXQTBASE_BUILD_LIBRARY_DIR)).canonicalFilePath()) {
        return QStringLiteral(TAVIXQTBASE_TRANSLATIONS_BUILD_DIR);
    }
    return QDir(libraryDir).filePath(QStringLiteral(TAVIXQTBASE_TRANSLATIONS_FROM_LIBDIR));
}

} // namespace

bool loadTavixQtBaseTranslation(const QLocale& locale)
{
    QCoreApplication* const application = QCoreApplication::instance();
    if (!application) {
        return false;
    }
    // Guarded: the translator dies with its application, and a later application starts afresh.
    static QPointer<QTranslator> installedTranslator;
    // Its destructor removes it from the application.
    delete installedTranslator.data();

    const QString directory = translationsDirectory();
    auto translator = std::make_unique<QTranslator>();
    // An empty directory would make QTranslator search the working directory.
    if (directory.isEmpty() || !translator->load(locale, QStringLiteral("tavixqtbase"), QStringLiteral("_"), directory)
        || !QCoreApplication::installTranslator(translator.get())) {
        return false;
    }
    translator->setParent(application);
    installedTranslator = translator.release();
    return true;
}
