// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/layoutpersistence.h>

#include <QApplication>
#include <QHeaderView>
#include <QScreen>
#include <QStandardItemModel>
#include <QTableView>
#include <QWindow>
#include <QtTest>

#include <climits>

namespace {

const QSize windowSize(300, 200);
// What a row of restoreTakesOnlyUsableValues restores.
enum Kinds { Widget = 1, Window = 2, Both = Widget | Window };

struct Table : QTableView
{
    // Optionally with the first column moved to the end, the second widened and the third hidden.
    explicit Table(bool rearranged = false)
    {
        setModel(new QStandardItemModel(3, 5, this));
        if (rearranged) {
            horizontalHeader()->moveSection(0, 4);
            horizontalHeader()->resizeSection(1, 123);
            horizontalHeader()->hideSection(2);
        }
    }
    QHeaderView* header() const { return horizontalHeader(); }
    QByteArray state() const { return horizontalHeader()->saveState(); }
};

} // namespace

class LayoutPersistenceTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_settings;

    // Writes everything to disk and reads it back through a new settings
    // object, as the next run of the application would.
    QSettings* reopened()
    {
        m_settings.reset();
        m_settings = std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("layout.ini")), QSettings::IniFormat);
        return m_settings.get();
    }

    // Writes each valid value under its key into the current group, and removes the key of an invalid one.
    void store(const QVariantMap& values)
    {
        for (auto value = values.cbegin(); value != values.cend(); ++value) {
            value->isValid() ? m_settings->setValue(value.key(), *value) : m_settings->remove(value.key());
        }
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void init() { reopened()->clear(); }

    // A real table's moved, resized and hidden sections, saved and read back
    // through another settings object, then the stored version changed or removed,
    // or the restoring table's model of another size.
    void headerVersionDecidesWhetherALayoutIsApplied_data()
    {
        QTest::addColumn<QVariant>("storedVersion");
        QTest::addColumn<int>("requestedVersion");
        QTest::addColumn<bool>("applied");
        QTest::addColumn<int>("columns"); // of the restored table's model, which has shrunk or grown since the save

        QTest::newRow("the requested version") << QVariant(3) << 3 << true << 5;
        QTest::newRow("an older version") << QVariant(2) << 3 << false << 5;
        QTest::newRow("a newer version") << QVariant(4) << 3 << false << 5;
        QTest::newRow("no version counts as 0") << QVariant() << 0 << true << 5;
        QTest::newRow("no version is not version 1") << QVariant() << 1 << false << 5;
        QTest::newRow("fewer columns") << QVariant(3) << 3 << true << 3;
        QTest::newRow("more columns") << QVariant(3) << 3 << true << 8;
    }

    void headerVersionDecidesWhetherALayoutIsApplied()
    {
        QFETCH(QVariant, storedVersion);
        QFETCH(int, requestedVersion);
        QFETCH(bool, applied);
        QFETCH(int, columns);
        Table saved(true);
        Table restored;
        qobject_cast<QStandardItemModel*>(restored.model())->setColumnCount(columns);
        const QByteArray untouched = restored.state();
        QVERIFY(untouched != saved.state());
        m_settings->beginGroup(QStringLiteral("devices"));
        QVERIFY(saveHeaderLayout(m_settings.get(), 3, saved.header()));
        store({ { QStringLiteral("headerver"), storedVersion } });
        reopened()->beginGroup(QStringLiteral("devices"));
        QCOMPARE(restoreHeaderLayout(m_settings.get(), requestedVersion, restored.header()), applied);
        if (!applied || columns == 5) {
            QCOMPARE(restored.state(), applied ? saved.state() : untouched);
            return;
        }
        // Qt appends the sections that the model has gained, and keeps those that it no longer has.
        QCOMPARE(restored.header()->count(), qMax(columns, 5));
        QCOMPARE(restored.header()->visualIndex(0), 4);
        QCOMPARE(restored.header()->sectionSize(1), 123);
        QVERIFY(restored.header()->isSectionHidden(2));
    }

    // Crafted states (see scripts/make-layout-seeds.py): damaged ones that Qt's
    // reader would take, and then allocate without bound or read or write outside
    // its memory, change nothing; unusual ones that it takes safely are applied.
    void craftedHeaderStateIsAppliedOnlyWhenSafe_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("applied");
        const QDir seeds(QFINDTESTDATA("../fuzz/seeds/fuzz_layoutrestore"));
        const QFileInfoList states
            = seeds.entryInfoList({ QStringLiteral("refused-*"), QStringLiteral("taken-*") }, QDir::Files);
        QVERIFY2(states.size() >= 12, qPrintable(seeds.path()));
        for (const QFileInfo& state : states) {
            QTest::newRow(qPrintable(state.fileName()))
                << state.filePath() << state.fileName().startsWith(QLatin1String("taken-"));
        }
        // 2^31 - 1 hidden sections: where qsizetype has 32 bits, Qt 6's reader
        // overflows rounding that up to bytes and writes before its buffer.
        QTest::newRow("corpus: hidden length 2^31 - 1")
            << QFINDTESTDATA("../fuzz/corpus/fuzz_layoutrestore/a347e7360b2b4f225c18b79a26150866338f8aa2") << false;
    }

    void craftedHeaderStateIsAppliedOnlyWhenSafe()
    {
        QFETCH(QString, path);
        QFETCH(bool, applied);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        m_settings->setValue(QStringLiteral("header"), file.readAll());
        Table table;
        QVERIFY(restoreHeaderLayout(reopened(), 0, table.header()));
        QCOMPARE(table.state() != Table().state(), applied);
    }

    // Absolute positions go through the group-name forms and the table of restoreTakesOnlyUsableValues.
    void relativePositionFollowsAMovedReferenceWidget()
    {
        QWidget reference;
        reference.move(100, 100);
        QWidget dialog;
        dialog.setGeometry(QRect(QPoint(140, 130), windowSize));
        QVERIFY(saveWidgetPositionAndSize(m_settings.get(), &dialog, &reference));

        reference.move(160, 90);
        dialog.setGeometry(10, 20, 50, 60);
        QVERIFY(restoreWidgetPositionAndSize(reopened(), &dialog, &reference));
        QCOMPARE(dialog.geometry(), QRect(QPoint(200, 120), windowSize));
        // Off every screen, and past the int range once the reference's position is added.
        m_settings->setValue(QStringLiteral("pos_r"), QPoint(INT_MAX, INT_MAX));
        QVERIFY(!restoreWidgetPositionAndSize(m_settings.get(), &dialog, &reference));
        QCOMPARE(dialog.pos(), QPoint(200, 120));
    }

    // A minimized window counts as normal; only a normal one has its place written.
    void windowStateDecidesWhatIsSaved_data()
    {
        QTest::addColumn<int>("states");
        QTest::addColumn<int>("storedState");

        QTest::newRow("normal") << int(Qt::WindowNoState) << int(Qt::WindowNoState);
        QTest::newRow("minimized") << int(Qt::WindowMinimized) << int(Qt::WindowNoState);
        QTest::newRow("maximized") << int(Qt::WindowMaximized) << int(Qt::WindowMaximized);
        QTest::newRow("full screen") << int(Qt::WindowFullScreen) << int(Qt::WindowFullScreen);
        QTest::newRow("maximized and full screen")
            << int(Qt::WindowMaximized | Qt::WindowFullScreen) << int(Qt::WindowFullScreen);
    }

    void windowStateDecidesWhatIsSaved()
    {
        QFETCH(int, states);
        QFETCH(int, storedState);
        QWindow window;
        window.setGeometry(QRect(QPoint(140, 130), windowSize));
        window.setWindowStates(Qt::WindowStates(states));
        QVERIFY(saveWindowPositionAndSize(m_settings.get(), &window));
        QSettings* stored = reopened();
        const bool normal = storedState == Qt::WindowNoState;
        QCOMPARE(stored->value(QStringLiteral("state")).toInt(), storedState);
        QCOMPARE(stored->value(QStringLiteral("pos")), normal ? QVariant(QPoint(140, 130)) : QVariant());
        QCOMPARE(stored->value(QStringLiteral("size")), normal ? QVariant(windowSize) : QVariant());
    }

    // What a restored QWidget or QWindow, at first 40x50 pixels, takes from what is stored (a null
    // QVariant: nothing stored). A refused restore leaves the place as it was. The inner rectangle
    // of a window at (x, y) runs from x + 8 to x + width - 9 and from y + 16 to y + height - 9. At
    // 40x50 the window would not be visible in the rows off the left and top edges, and would be in
    // those of too small windows: the stored size must be applied before the screen test.
    void restoreTakesOnlyUsableValues_data()
    {
        QTest::addColumn<int>("kinds");
        QTest::addColumn<QVariantMap>("stored"); // the values of "pos", "size" and "state"
        QTest::addColumn<bool>("applied");
        QTest::addColumn<QSize>("restoredSize");
        QTest::addColumn<int>("startStates");
        QTest::addColumn<int>("restoredStates");

        QRect span;
        for (const QScreen* screen : QGuiApplication::screens()) {
            span |= screen->geometry();
        }
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const int w = windowSize.width(), h = windowSize.height();
        const int midX = area.center().x() - w / 2, midY = area.center().y() - h / 2;
        const QVariant at(area.topLeft()), stored(windowSize), none;
        const int maximized = Qt::WindowMaximized, fullScreen = Qt::WindowFullScreen;
        const QSize own(40, 50);
        const auto row
            = [](const char* name, int kinds, const QVariant& position, const QVariant& size, bool applied,
                  const QSize& restoredSize, const QVariant& state = {}, int startStates = 0, int restoredStates = 0) {
                  const QVariantMap values { { QStringLiteral("pos"), position }, { QStringLiteral("size"), size },
                      { QStringLiteral("state"), state } };
                  QTest::newRow(name) << kinds << values << applied << restoredSize << startStates << restoredStates;
              };
        row("left edge, inner rectangle on", Both, QPoint(area.left() - w + 9, midY), stored, true, windowSize);
        row("left edge, only the margin on", Both, QPoint(area.left() - w + 8, midY), stored, false, windowSize);
        row("top edge, inner rectangle on", Both, QPoint(midX, area.top() - h + 9), stored, true, windowSize);
        row("top edge, only the margin on", Both, QPoint(midX, area.top() - h + 8), stored, false, windowSize);
        row("right edge, inner rectangle on", Both, QPoint(area.right() - 8, midY), stored, true, windowSize);
        row("right edge, only the margin on", Both, QPoint(area.right() - 7, midY), stored, false, windowSize);
        row("bottom edge, inner rectangle on", Both, QPoint(midX, area.bottom() - 16), stored, true, windowSize);
        row("bottom edge, only the margin on", Both, QPoint(midX, area.bottom() - 15), stored, false, windowSize);
        row("end of the int range", Both, QPoint(INT_MAX, INT_MAX), stored, false, windowSize);
        // Too small for an inner rectangle: never moved, though fully on screen.
        row("16 pixels wide", Both, area.center(), QSize(16, 100), false, QSize(16, 100));
        row("24 pixels high", Both, area.center(), QSize(100, 24), false, QSize(100, 24));
        row("17 wide and 25 high", Both, area.center(), QSize(17, 25), true, QSize(17, 25));
        row("no size", Both, QPoint(area.left() - 40 + 9, midY), none, true, own);
        row("no position", Both, none, stored, false, own);
        row("as large as all screens together", Both, at, span.size(), true, span.size());
        // Qt limits a widget's size itself; a window refuses one larger than all screens.
        row("a pixel wider", Window, at, span.size() + QSize(1, 0), false, own);
        row("a pixel higher", Window, at, span.size() + QSize(0, 1), false, own);
        row("size at the end of the int range", Window, at, QSize(INT_MAX, INT_MAX), false, own);
        row("size of zero", Window, at, QSize(0, 0), true, own);
        row("no width", Window, at, QSize(0, 100), true, own);
        row("size not a QSize", Window, at, QSizeF(300, 200), true, own);
        row("position not a QPoint", Window, QStringLiteral("1,2"), stored, false, own);
        row("normal onto a maximized window", Window, at, stored, true, windowSize, int(Qt::WindowNoState), maximized);
        row("maximized", Window, at, stored, true, windowSize, maximized, 0, maximized);
        row("full screen", Window, at, stored, true, windowSize, fullScreen, 0, fullScreen);
        row("minimized is not a stored state", Window, at, stored, true, windowSize, int(Qt::WindowMinimized),
            maximized, maximized);
        row("maximized and full screen is not", Window, at, stored, true, windowSize, maximized | fullScreen, maximized,
            maximized);
        row("state not a number", Window, at, stored, true, windowSize, QStringLiteral("normal"), maximized, maximized);
        row("no state", Window, at, stored, true, windowSize, none, maximized, maximized);
    }

    void restoreTakesOnlyUsableValues()
    {
        QFETCH(int, kinds);
        QFETCH(QVariantMap, stored);
        QFETCH(bool, applied);
        QFETCH(QSize, restoredSize);
        QFETCH(int, startStates);
        QFETCH(int, restoredStates);
        store(stored);
        const QRect start(
            QGuiApplication::primaryScreen()->availableGeometry().topLeft() + QPoint(20, 30), QSize(40, 50));
        const QRect restored(applied ? stored[QStringLiteral("pos")].toPoint() : start.topLeft(), restoredSize);
        if (kinds & Widget) {
            QWidget widget;
            widget.setGeometry(start);
            QCOMPARE(restoreWidgetPositionAndSize(reopened(), &widget, nullptr), applied);
            QCOMPARE(widget.geometry(), restored);
        }
        if (kinds & Window) {
            QWindow window;
            window.setGeometry(start);
            window.setWindowStates(Qt::WindowStates(startStates));
            QCOMPARE(restoreWindowPositionAndSize(reopened(), &window), applied);
            QCOMPARE(window.geometry(), restored);
            QCOMPARE(int(window.windowStates()), restoredStates);
        }
    }

    void groupNameFormsUseTheApplicationsDefaultStore()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("TavixTest"));
        QCoreApplication::setApplicationName(QStringLiteral("layout"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        const wchar_t* group = L"Fenster/\u00dcbersicht";
        Table saved(true);
        QWidget window;
        window.setGeometry(QRect(QPoint(120, 90), windowSize));
        QVERIFY(saveHeaderLayout(group, 4, saved.header()));
        QVERIFY(saveWidgetPositionAndSize(group, &window, nullptr));

        QSettings store(m_dir.filePath(QStringLiteral("TavixTest/layout.conf")), QSettings::IniFormat);
        QCOMPARE(store.value(QString::fromWCharArray(group) + QStringLiteral("/pos")).toPoint(), QPoint(120, 90));
        Table restored;
        QWidget restoredWindow;
        QVERIFY(restoreHeaderLayout(group, 4, restored.header()));
        QCOMPARE(restored.state(), saved.state());
        QVERIFY(restoreWidgetPositionAndSize(group, &restoredWindow, nullptr));
        QCOMPARE(restoredWindow.geometry(), window.geometry());

        // Saved maximized, a window keeps the place it had in normal state: here the widget's, whose keys it shares.
        QWindow savedWindow, restoredQWindow;
        savedWindow.setWindowStates(Qt::WindowMaximized);
        QVERIFY(saveWindowPositionAndSize(group, &savedWindow));
        QVERIFY(restoreWindowPositionAndSize(group, &restoredQWindow));
        QCOMPARE(restoredQWindow.geometry(), window.geometry());
        QCOMPARE(restoredQWindow.windowStates(), Qt::WindowMaximized);
    }

    // Also a relative restore that finds only an absolute position, and a header version without a state.
    void nullEmptyAndMissingArgumentsChangeNothing()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QCoreApplication::setOrganizationName(QStringLiteral("TavixTest"));
        QCoreApplication::setApplicationName(QStringLiteral("untouched"));
        store({ { QStringLiteral("pos"), QPoint(140, 130) }, { QStringLiteral("size"), windowSize },
            { QStringLiteral("headerver"), 0 } });
        QSettings* noSettings = nullptr;
        Table table;
        QWidget window;
        const QRect untouched(20, 30, 50, 60);
        window.setGeometry(untouched);

        QVERIFY(!restoreWidgetPositionAndSize(m_settings.get(), &window, &table));
        QVERIFY(!restoreHeaderLayout(m_settings.get(), 0, table.header()));
        QVERIFY(!saveHeaderLayout(noSettings, 0, table.header()));
        QVERIFY(!saveHeaderLayout(m_settings.get(), 0, nullptr));
        QVERIFY(!restoreHeaderLayout(noSettings, 0, table.header()));
        QVERIFY(!restoreHeaderLayout(m_settings.get(), 0, nullptr));
        QVERIFY(!saveWidgetPositionAndSize(noSettings, &window, nullptr));
        QVERIFY(!saveWidgetPositionAndSize(m_settings.get(), nullptr, &window));
        QVERIFY(!restoreWidgetPositionAndSize(noSettings, &window, nullptr));
        QVERIFY(!restoreWidgetPositionAndSize(m_settings.get(), nullptr, nullptr));
        QVERIFY(!saveHeaderLayout(static_cast<const wchar_t*>(nullptr), 0, table.header()));
        QVERIFY(!saveWidgetPositionAndSize(L"", &window, nullptr));
        QVERIFY(!restoreWidgetPositionAndSize(static_cast<const wchar_t*>(nullptr), &window, nullptr));
        QCOMPARE(window.geometry(), untouched);
        QCOMPARE(m_settings->allKeys().size(), 3);
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("TavixTest/untouched.conf"))));
    }
};

QTEST_MAIN(LayoutPersistenceTest)

#include "tst_layoutpersistence.moc"
