#include <TavixQtBase/layoutpersistence.h>

#include <QApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QScreen>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <functional>
#include <memory>

namespace {

constexpr int columnCount = 5;
const QSize windowSize(300, 200);

std::unique_ptr<QTableView> makeTable()
{
    auto view = std::make_unique<QTableView>();
    view->setModel(new QStandardItemModel(3, columnCount, view.get()));
    return view;
}

// Moves the first column to the end, widens the second, hides the third.
void rearrange(QHeaderView* header)
{
    header->moveSection(0, columnCount - 1);
    header->resizeSection(1, 123);
    header->hideSection(2);
}

bool isRearranged(const QHeaderView* header)
{
    return header->visualIndex(0) == columnCount - 1 && header->sectionSize(1) == 123 && header->isSectionHidden(2);
}

// A header state in QHeaderView's stream layout, as Qt 5 writes it, with no
// sections but the given counts and bit array field.
QByteArray headerState(quint32 visualIndices, const QByteArray& hiddenSections, quint32 sectionItems)
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_0);
    out << qint32(0xff) << qint32(0) << qint32(Qt::Horizontal) << qint32(Qt::AscendingOrder) << qint32(-1) << false;
    out << visualIndices << quint32(0);
    out.writeRawData(hiddenSections.constData(), int(hiddenSections.size()));
    out << quint32(0) << qint32(0) << qint32(0) << false << true << false << false << false;
    out << qint32(0) << qint32(0) << qint32(100) << qint32(-1) << qint32(Qt::AlignCenter) << qint32(0);
    out << sectionItems;
    return state;
}

QRect availableArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

class LayoutPersistenceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void headerLayoutSurvivesReopeningTheFile();
    void headerVersionDecidesWhetherALayoutIsApplied_data();
    void headerVersionDecidesWhetherALayoutIsApplied();
    void headerVersionWithoutAStateIsNotALayout();
    void damagedHeaderStateCountsAsFoundButChangesNothing_data();
    void damagedHeaderStateCountsAsFoundButChangesNothing();

    void absoluteAndRelativePositionsLiveSideBySide();
    void relativePositionFollowsAMovedReferenceWidget();
    void missingPositionChangesNothing_data();
    void missingPositionChangesNothing();
    void onlyTheInnerRectangleMakesAWindowVisible_data();
    void onlyTheInnerRectangleMakesAWindowVisible();
    void tinyWindowsGetTheirSizeButNeverMove_data();
    void tinyWindowsGetTheirSizeButNeverMove();
    void badIniContentNeverCrashes_data();
    void badIniContentNeverCrashes();

    void groupNameFormsUseTheApplicationsDefaultStore();
    void nullAndEmptyArgumentsChangeNothing();

private:
    QString iniPath() const { return m_dir->filePath(QStringLiteral("layout.ini")); }
    QSettings* reopenedSettings();
    void writeIni(const QByteArray& content);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QSettings> m_settings;
};

void LayoutPersistenceTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_settings = std::make_unique<QSettings>(iniPath(), QSettings::IniFormat);
}

void LayoutPersistenceTest::cleanup()
{
    m_settings.reset();
    m_dir.reset();
}

// Writes everything to disk and reads it back through a new settings object,
// as the next run of the application would.
QSettings* LayoutPersistenceTest::reopenedSettings()
{
    m_settings.reset();
    m_settings = std::make_unique<QSettings>(iniPath(), QSettings::IniFormat);
    return m_settings.get();
}

void LayoutPersistenceTest::writeIni(const QByteArray& content)
{
    m_settings.reset();
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), qint64(content.size()));
    file.close();
    m_settings = std::make_unique<QSettings>(iniPath(), QSettings::IniFormat);
}

void LayoutPersistenceTest::headerLayoutSurvivesReopeningTheFile()
{
    const auto saved = makeTable();
    rearrange(saved->horizontalHeader());
    m_settings->beginGroup(QStringLiteral("devices"));
    QVERIFY(saveHeaderLayout(m_settings.get(), 7, saved->horizontalHeader()));

    QSettings* settings = reopenedSettings();
    QCOMPARE(settings->value(QStringLiteral("devices/headerver")), QVariant(7));
    settings->beginGroup(QStringLiteral("devices"));
    const auto restored = makeTable();
    QVERIFY(!isRearranged(restored->horizontalHeader()));
    QVERIFY(restoreHeaderLayout(settings, 7, restored->horizontalHeader()));
    QVERIFY(isRearranged(restored->horizontalHeader()));
    QCOMPARE(restored->horizontalHeader()->saveState(), saved->horizontalHeader()->saveState());
}

void LayoutPersistenceTest::headerVersionDecidesWhetherALayoutIsApplied_data()
{
    QTest::addColumn<QVariant>("storedVersion");
    QTest::addColumn<int>("requestedVersion");
    QTest::addColumn<bool>("applied");

    QTest::newRow("a layout of the requested version is applied") << QVariant(3) << 3 << true;
    QTest::newRow("a layout of an older version is refused") << QVariant(2) << 3 << false;
    QTest::newRow("a layout of a newer version is refused") << QVariant(4) << 3 << false;
    QTest::newRow("a negative version is compared like any other") << QVariant(-1) << -1 << true;
    QTest::newRow("a layout without version counts as version 0") << QVariant() << 0 << true;
    QTest::newRow("a layout without version is refused for version 1") << QVariant() << 1 << false;
}

void LayoutPersistenceTest::headerVersionDecidesWhetherALayoutIsApplied()
{
    QFETCH(QVariant, storedVersion);
    QFETCH(int, requestedVersion);
    QFETCH(bool, applied);

    const auto saved = makeTable();
    rearrange(saved->horizontalHeader());
    m_settings->setValue(QStringLiteral("header"), saved->horizontalHeader()->saveState());
    if (storedVersion.isValid()) {
        m_settings->setValue(QStringLiteral("headerver"), storedVersion);
    }

    const auto restored = makeTable();
    QCOMPARE(restoreHeaderLayout(reopenedSettings(), requestedVersion, restored->horizontalHeader()), applied);
    QCOMPARE(isRearranged(restored->horizontalHeader()), applied);
}

void LayoutPersistenceTest::headerVersionWithoutAStateIsNotALayout()
{
    m_settings->setValue(QStringLiteral("headerver"), 0);
    const auto table = makeTable();
    QVERIFY(!restoreHeaderLayout(m_settings.get(), 0, table->horizontalHeader()));
}

void LayoutPersistenceTest::damagedHeaderStateCountsAsFoundButChangesNothing_data()
{
    QTest::addColumn<QVariant>("storedState");

    QByteArray noise(256, Qt::Uninitialized);
    QRandomGenerator generator(20261205);
    for (char& byte : noise) {
        byte = char(generator.bounded(256));
    }
    QTest::newRow("random bytes") << QVariant(noise);
    const auto rearranged = makeTable();
    rearrange(rearranged->horizontalHeader());
    QTest::newRow("a state cut off after its first bytes")
        << QVariant(rearranged->horizontalHeader()->saveState().left(12));
    QTest::newRow("an int") << QVariant(42);
    QTest::newRow("a text") << QVariant(QStringLiteral("wide columns please"));
    QTest::newRow("an empty byte array") << QVariant(QByteArray());
    // Reserving room for what these announce would take 16 and 32 GiB.
    const QByteArray noHiddenSections(4, '\0');
    QTest::newRow("a state announcing four billion visual indices")
        << QVariant(headerState(0xffffffffu, noHiddenSections, 0));
    QTest::newRow("a state announcing four billion section items")
        << QVariant(headerState(0, noHiddenSections, 0xffffffffu));
    QByteArray manySections = headerState(0, noHiddenSections, 1);
    QDataStream(&manySections, QIODevice::Append) << qint32(100) << qint32(0x7fffffff) << qint32(0);
    QTest::newRow("a state whose one section item spans two billion sections") << QVariant(manySections);
    // Read as Qt 6 writes it, which restoreState() tries when Qt 5's layout fails, the length is -1.
    QTest::newRow("a state whose hidden sections have a negative length")
        << QVariant(headerState(0, QByteArray(8, '\xff'), 0));
    QTest::newRow("a state whose hidden sections have a length that overflows when rounded up to bytes")
        << QVariant(headerState(0, QByteArray::fromHex("7fffffffffffffff"), 0));
}

void LayoutPersistenceTest::damagedHeaderStateCountsAsFoundButChangesNothing()
{
    QFETCH(QVariant, storedState);
    const auto table = makeTable();
    m_settings->setValue(QStringLiteral("header"), storedState);
    const QByteArray before = table->horizontalHeader()->saveState();

    QVERIFY(restoreHeaderLayout(reopenedSettings(), 0, table->horizontalHeader()));
    QCOMPARE(table->horizontalHeader()->saveState(), before);
}

void LayoutPersistenceTest::absoluteAndRelativePositionsLiveSideBySide()
{
    QWidget reference;
    reference.move(100, 100);
    QWidget window;
    window.setGeometry(QRect(QPoint(140, 130), windowSize));
    QVERIFY(saveWidgetPositionAndSize(m_settings.get(), &window, nullptr));
    QVERIFY(saveWidgetPositionAndSize(m_settings.get(), &window, &reference));

    QSettings* settings = reopenedSettings();
    QCOMPARE(settings->value(QStringLiteral("pos")).toPoint(), QPoint(140, 130));
    QCOMPARE(settings->value(QStringLiteral("pos_r")).toPoint(), QPoint(40, 30));
    QCOMPARE(settings->value(QStringLiteral("size")).toSize(), windowSize);

    QWidget restored;
    restored.setGeometry(10, 20, 50, 60);
    QVERIFY(restoreWidgetPositionAndSize(settings, &restored, nullptr));
    QCOMPARE(restored.geometry(), QRect(QPoint(140, 130), windowSize));
}

void LayoutPersistenceTest::relativePositionFollowsAMovedReferenceWidget()
{
    QWidget reference;
    reference.move(100, 100);
    QWidget dialog;
    dialog.setGeometry(QRect(QPoint(150, 130), windowSize));
    QVERIFY(saveWidgetPositionAndSize(m_settings.get(), &dialog, &reference));

    reference.move(160, 90);
    dialog.setGeometry(0, 0, 50, 60);
    QVERIFY(restoreWidgetPositionAndSize(reopenedSettings(), &dialog, &reference));
    QCOMPARE(dialog.geometry(), QRect(QPoint(210, 120), windowSize));
}

void LayoutPersistenceTest::missingPositionChangesNothing_data()
{
    QTest::addColumn<bool>("savedWithReference");

    QTest::newRow("an absolute restore finds only a relative position") << true;
    QTest::newRow("a relative restore finds only an absolute position") << false;
}

void LayoutPersistenceTest::missingPositionChangesNothing()
{
    QFETCH(bool, savedWithReference);
    QWidget reference;
    reference.move(100, 100);
    QWidget window;
    window.setGeometry(QRect(QPoint(150, 130), windowSize));
    QVERIFY(saveWidgetPositionAndSize(m_settings.get(), &window, savedWithReference ? &reference : nullptr));

    const QRect untouched(20, 30, 50, 60);
    window.setGeometry(untouched);
    QVERIFY(!restoreWidgetPositionAndSize(reopenedSettings(), &window, savedWithReference ? nullptr : &reference));
    QCOMPARE(window.geometry(), untouched);
}

void LayoutPersistenceTest::onlyTheInnerRectangleMakesAWindowVisible_data()
{
    QTest::addColumn<QPoint>("storedPosition");
    QTest::addColumn<bool>("moved");

    // The inner rectangle of a window at (x, y) runs from x + 8 to x + width - 9
    // and from y + 16 to y + height - 9.
    const QRect area = availableArea();
    const int w = windowSize.width();
    const int h = windowSize.height();
    const int midX = area.center().x() - w / 2;
    const int midY = area.center().y() - h / 2;
    QTest::newRow("off the left edge, the inner rectangle's last column on screen")
        << QPoint(area.left() - w + 9, midY) << true;
    QTest::newRow("off the left edge, only the right margin on screen") << QPoint(area.left() - w + 8, midY) << false;
    QTest::newRow("off the top edge, the inner rectangle's last row on screen")
        << QPoint(midX, area.top() - h + 9) << true;
    QTest::newRow("off the top edge, only the bottom margin on screen") << QPoint(midX, area.top() - h + 8) << false;
    QTest::newRow("off the right edge, the inner rectangle's first column on screen")
        << QPoint(area.right() - 8, midY) << true;
    QTest::newRow("off the right edge, only the left margin on screen") << QPoint(area.right() - 7, midY) << false;
    QTest::newRow("off the bottom edge, the inner rectangle's first row on screen")
        << QPoint(midX, area.bottom() - 16) << true;
    QTest::newRow("off the bottom edge, only the title bar band on screen")
        << QPoint(midX, area.bottom() - 15) << false;
    QTest::newRow("far away from every screen") << QPoint(area.right() + 5000, area.bottom() + 5000) << false;
    QTest::newRow("at the end of the int range") << QPoint(INT_MAX, INT_MAX) << false;
    QTest::newRow("at the start of the int range") << QPoint(INT_MIN, INT_MIN) << false;
}

void LayoutPersistenceTest::onlyTheInnerRectangleMakesAWindowVisible()
{
    QFETCH(QPoint, storedPosition);
    QFETCH(bool, moved);
    m_settings->setValue(QStringLiteral("pos"), storedPosition);
    m_settings->setValue(QStringLiteral("size"), windowSize);

    const QPoint start = availableArea().topLeft() + QPoint(20, 30);
    QWidget window;
    window.resize(40, 50);
    window.move(start);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(restoreWidgetPositionAndSize(reopenedSettings(), &window, nullptr), moved);
    QCOMPARE(window.pos(), moved ? storedPosition : start);
    QCOMPARE(window.size(), windowSize);
}

void LayoutPersistenceTest::tinyWindowsGetTheirSizeButNeverMove_data()
{
    QTest::addColumn<QSize>("storedSize");
    QTest::addColumn<bool>("moved");

    QTest::newRow("16 pixels wide has no inner column") << QSize(16, 100) << false;
    QTest::newRow("17 pixels wide has one inner column") << QSize(17, 100) << true;
    QTest::newRow("24 pixels high has no inner row") << QSize(100, 24) << false;
    QTest::newRow("25 pixels high has one inner row") << QSize(100, 25) << true;
}

void LayoutPersistenceTest::tinyWindowsGetTheirSizeButNeverMove()
{
    QFETCH(QSize, storedSize);
    QFETCH(bool, moved);
    const QPoint storedPosition = availableArea().center();
    m_settings->setValue(QStringLiteral("pos"), storedPosition);
    m_settings->setValue(QStringLiteral("size"), storedSize);

    // A widget large enough to be visible anywhere it is put, until the stored size shrinks it.
    const QPoint start = availableArea().topLeft() + QPoint(20, 30);
    QWidget window;
    window.setGeometry(QRect(start, windowSize));
    QCOMPARE(restoreWidgetPositionAndSize(reopenedSettings(), &window, nullptr), moved);
    QCOMPARE(window.geometry(), QRect(moved ? storedPosition : start, storedSize));
}

void LayoutPersistenceTest::badIniContentNeverCrashes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<QPoint>("position");

    const QPoint start(20, 30);
    // Text where a point is expected converts to the point (0, 0).
    QTest::newRow("a position written as text")
        << QByteArray("[w]\npos=left\nsize=@Size(300 200)\nheader=5\n") << true << QPoint(0, 0);
    // Text where a size is expected converts to an invalid size, which leaves no inner rectangle.
    QTest::newRow("a size written as text")
        << QByteArray("[w]\npos=@Point(40 50)\nsize=huge\nheader=@ByteArray(columns)\n") << false << start;
    QTest::newRow("a file cut off inside a size")
        << QByteArray("[w]\npos=@Point(40 50)\nsize=@Size(300 2") << false << start;
    static const char binary[] = "[w]\npos=@Point(40 50)\r\nsize=@Size(300 200)\r\n\0\0\xff\xfe=\x80\n";
    QTest::newRow("a file with NUL bytes and invalid UTF-8")
        << QByteArray(binary, sizeof(binary) - 1) << true << QPoint(40, 50);
    QByteArray noise(512, Qt::Uninitialized);
    QRandomGenerator generator(5);
    for (char& byte : noise) {
        byte = char(generator.bounded(256));
    }
    QTest::newRow("a file of random bytes") << noise << false << start;
}

void LayoutPersistenceTest::badIniContentNeverCrashes()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, moved);
    QFETCH(QPoint, position);
    writeIni(content);
    m_settings->beginGroup(QStringLiteral("w"));

    QWidget window;
    window.setGeometry(QRect(QPoint(20, 30), windowSize));
    QCOMPARE(restoreWidgetPositionAndSize(m_settings.get(), &window, nullptr), moved);
    QCOMPARE(window.pos(), position);

    const auto table = makeTable();
    const QByteArray before = table->horizontalHeader()->saveState();
    restoreHeaderLayout(m_settings.get(), 0, table->horizontalHeader());
    QCOMPARE(table->horizontalHeader()->saveState(), before);
}

void LayoutPersistenceTest::groupNameFormsUseTheApplicationsDefaultStore()
{
    QCoreApplication::setOrganizationName(QStringLiteral("TavixTest"));
    QCoreApplication::setApplicationName(QStringLiteral("layout"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir->path());
    const QString storeFile = m_dir->filePath(QStringLiteral("TavixTest/layout.conf"));
    const wchar_t* group = L"Fenster/\u00dcbersicht";

    const auto saved = makeTable();
    rearrange(saved->horizontalHeader());
    QWidget window;
    window.setGeometry(QRect(QPoint(120, 90), windowSize));
    QVERIFY(saveHeaderLayout(group, 4, saved->horizontalHeader()));
    QVERIFY(saveWidgetPositionAndSize(group, &window, nullptr));

    QSettings store(storeFile, QSettings::IniFormat);
    store.beginGroup(QString::fromUtf8("Fenster/\xc3\x9c" "bersicht"));
    QCOMPARE(store.childKeys(), QStringList({QStringLiteral("header"), QStringLiteral("headerver"),
                                             QStringLiteral("pos"), QStringLiteral("size")}));
    QCOMPARE(store.value(QStringLiteral("pos")).toPoint(), QPoint(120, 90));

    const auto restored = makeTable();
    QWidget restoredWindow;
    QVERIFY(restoreHeaderLayout(group, 4, restored->horizontalHeader()));
    QVERIFY(isRearranged(restored->horizontalHeader()));
    QVERIFY(restoreWidgetPositionAndSize(group, &restoredWindow, nullptr));
    QCOMPARE(restoredWindow.geometry(), window.geometry());
    QVERIFY(!restoreWidgetPositionAndSize(L"Fenster", &restoredWindow, nullptr));
}

void LayoutPersistenceTest::nullAndEmptyArgumentsChangeNothing()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir->path());
    QCoreApplication::setOrganizationName(QStringLiteral("TavixTest"));
    QCoreApplication::setApplicationName(QStringLiteral("untouched"));
    m_settings->setValue(QStringLiteral("pos"), QPoint(140, 130));
    m_settings->setValue(QStringLiteral("size"), windowSize);
    m_settings->setValue(QStringLiteral("header"), QByteArray("state"));
    QSettings* settings = m_settings.get();
    QSettings* noSettings = nullptr;
    const auto table = makeTable();
    QHeaderView* header = table->horizontalHeader();
    QWidget window;
    const QRect untouched(20, 30, 50, 60);
    window.setGeometry(untouched);

    const std::pair<const char*, std::function<bool()>> calls[] = {
        {"save header without settings", [&] { return saveHeaderLayout(noSettings, 0, header); }},
        {"save header without header", [&] { return saveHeaderLayout(settings, 0, nullptr); }},
        {"restore header without settings", [&] { return restoreHeaderLayout(noSettings, 0, header); }},
        {"restore header without header", [&] { return restoreHeaderLayout(settings, 0, nullptr); }},
        {"save widget without settings", [&] { return saveWidgetPositionAndSize(noSettings, &window, nullptr); }},
        {"save widget without widget", [&] { return saveWidgetPositionAndSize(settings, nullptr, &window); }},
        {"restore widget without settings", [&] { return restoreWidgetPositionAndSize(noSettings, &window, nullptr); }},
        {"restore widget without widget", [&] { return restoreWidgetPositionAndSize(settings, nullptr, &window); }},
        {"save header in a null group",
         [&] { return saveHeaderLayout(static_cast<const wchar_t*>(nullptr), 0, header); }},
        {"save header in an empty group", [&] { return saveHeaderLayout(L"", 0, header); }},
        {"save header by group without header", [&] { return saveHeaderLayout(L"g", 0, nullptr); }},
        {"restore header from an empty group", [&] { return restoreHeaderLayout(L"", 0, header); }},
        {"restore header by group without header", [&] { return restoreHeaderLayout(L"g", 0, nullptr); }},
        {"save widget in an empty group", [&] { return saveWidgetPositionAndSize(L"", &window, nullptr); }},
        {"save widget by group without widget", [&] { return saveWidgetPositionAndSize(L"g", nullptr, &window); }},
        {"restore widget from a null group",
         [&] { return restoreWidgetPositionAndSize(static_cast<const wchar_t*>(nullptr), &window, nullptr); }},
        {"restore widget by group without widget",
         [&] { return restoreWidgetPositionAndSize(L"g", nullptr, &window); }},
    };
    const QByteArray headerBefore = header->saveState();
    for (const auto& call : calls) {
        QVERIFY2(!call.second(), call.first);
        QVERIFY2(window.geometry() == untouched, call.first);
        QVERIFY2(header->saveState() == headerBefore, call.first);
        QVERIFY2(settings->allKeys().size() == 3, call.first);
    }
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("TavixTest/untouched.conf"))));
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    LayoutPersistenceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_layoutpersistence.moc"
