// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Feeds arbitrary bytes to the restore functions, twice per input: as the
// stored header state, and as the content of the INI file that the settings
// are read from.

#include <TavixQtBase/layoutpersistence.h>

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QSettings>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

// The widgets stay hidden: a restored size can be anything up to
// QWIDGETSIZE_MAX, and no window has to be drawn to test the geometry.
struct Fixture
{
    Fixture()
    {
        table.setModel(&model);
        initialHeaderState = table.horizontalHeader()->saveState();
        reference.move(100, 100);
    }

    void reset()
    {
        table.horizontalHeader()->restoreState(initialHeaderState);
        window.setGeometry(20, 30, 300, 200);
    }

    QTemporaryDir dir;
    // Never synced while the fuzzer runs: no event loop, so the value stays in memory.
    QSettings headerSettings { dir.filePath(QStringLiteral("header.ini")), QSettings::IniFormat };
    QStandardItemModel model { 3, 5 };
    QTableView table;
    QByteArray initialHeaderState;
    QWidget window;
    QWidget reference;
    int fileNumber = 0;
};

Fixture& fixture()
{
    static int argc = 1;
    static char name[] = "fuzz_layoutrestore";
    static char* argv[] = { name, nullptr };
    static QApplication app(argc, argv);
    static Fixture instance;
    return instance;
}

void restoreHeaderState(const QByteArray& state)
{
    Fixture& f = fixture();
    f.headerSettings.setValue(QStringLiteral("header"), state);
    restoreHeaderLayout(&f.headerSettings, 0, f.table.horizontalHeader());
}

void restoreEverything(const QSettings& settings)
{
    Fixture& f = fixture();
    restoreHeaderLayout(&settings, settings.value(QStringLiteral("headerver")).toInt(), f.table.horizontalHeader());
    restoreWidgetPositionAndSize(&settings, &f.window, nullptr);
    restoreWidgetPositionAndSize(&settings, &f.window, &f.reference);
}

// Each input gets a file name of its own, so that no cached copy of an
// earlier file with the same size and time stamp can stand in for it.
void restoreFromIniContent(const QByteArray& content)
{
    Fixture& f = fixture();
    const QString path = f.dir.filePath(QStringLiteral("input%1.ini").arg(f.fileNumber++));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
            return;
        }
    }
    {
        QSettings settings(path, QSettings::IniFormat);
        restoreEverything(settings);
        const QStringList groups = settings.childGroups();
        for (const QString& group : groups.mid(0, 4)) {
            settings.beginGroup(group);
            restoreEverything(settings);
            settings.endGroup();
        }
    }
    QFile::remove(path);
}

} // namespace

// Fontconfig keeps its configuration, loaded with Qt's font database, until
// the process ends; libFuzzer's leak check would report it with the first
// input whose allocations do not balance.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    fixture();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    fixture().reset();
    restoreHeaderState(bytes);
    fixture().reset();
    restoreFromIniContent(bytes);
    return 0;
}
