// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "cameradescription.h"
#include "camerasettings.h"
#include "camerastreamer.h"
#include "fittedimage.h"
#include "latestframe.h"
#include "lentbuffer.h"
#include "monitorstartup.h"
#include "pixelconversion.h"
#include "reportlist.h"
#include "streamfigures.h"
#include "streamsession.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

#include <net/if.h>

namespace {

/** An image whose pixel (x, y) is pixel(x, y). */
template <typename Pixel> QImage imageOf(QSize size, QImage::Format format, Pixel pixel)
{
    QImage image(size, format);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            image.setPixel(x, y, pixel(x, y));
        }
    }
    return image;
}

/** A grey image whose pixel (x, y) has the value grey(x, y). */
template <typename Grey> QImage greyImage(QSize size, QImage::Format format, Grey grey)
{
    return imageOf(size, format, [&grey](int x, int y) { return qRgb(grey(x, y), grey(x, y), grey(x, y)); });
}

} // namespace

/** The parts of the monitors' acquisition core that need no camera. */
class TestCameraCore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fittedImage_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QSize>("bounds");
        QTest::addColumn<QImage>("expected"); // null: the image is shown as it is

        // Two rows of 8 * column, the second 2 brighter: a box's mean is 8 * its mean column + 1.
        const auto ramp = [](int width) {
            return greyImage(QSize(width, 2), QImage::Format_Grayscale8, [](int x, int y) { return 8 * x + 2 * y; });
        };
        const auto greys = [](const QList<int>& values) {
            return greyImage(
                QSize(int(values.size()), 1), QImage::Format_RGB32, [&values](int x, int) { return values[x]; });
        };
        const QImage mono = ramp(5);
        // Boxes of whole pixels: columns 0-1 and 2-4 of both rows.
        QTest::newRow("uneven boxes") << mono << QSize(2, 1) << greys({ 5, 25 });
        // Boxes of one or two columns: 1, 2 x 7, 1, 2 x 7 (in runs of blocks), and 1, 1, 2, 1, 2 (box by box).
        const QImage longRuns = greys({ 1, 13, 29, 45, 61, 77, 93, 109, 121, 133, 149, 165, 181, 197, 213, 229 });
        QTest::newRow("narrow boxes, long runs") << ramp(30) << QSize(16, 16) << longRuns;
        QTest::newRow("narrow boxes, short runs") << ramp(7) << QSize(5, 5) << greys({ 1, 9, 21, 33, 45 });
        const auto plain = [](int, int) { return qRgb(200, 100, 50); };
        for (const QImage::Format format : { QImage::Format_RGB888, QImage::Format_RGB32, QImage::Format_ARGB32 }) {
            QTest::addRow("colours kept, format %d", int(format)) << imageOf(QSize(6, 4), format, plain) << QSize(3, 3)
                                                                  << imageOf(QSize(3, 2), QImage::Format_RGB32, plain);
        }
        const auto nine = [](int, int) { return 9; };
        QTest::newRow("aspect ratio kept") << greyImage(QSize(512, 256), QImage::Format_Grayscale8, nine)
                                           << QSize(100, 100) << greyImage(QSize(100, 50), QImage::Format_RGB32, nine);
        QTest::newRow("fits already") << mono << QSize(5, 2) << QImage();
        QTest::newRow("larger bounds") << mono << QSize(50, 50) << QImage();
        QTest::newRow("no bounds") << mono << QSize() << QImage();
        QTest::newRow("no image") << QImage() << QSize(2, 1) << QImage();
    }

    void fittedImage()
    {
        QFETCH(QImage, image);
        QFETCH(QSize, bounds);
        QFETCH(QImage, expected);
        QCOMPARE(::fittedImage(image, bounds), expected);
    }

    void imageOnPixels_data()
    {
        QTest::addColumn<quint32>("pixelFormat");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("missingBytes");
        QTest::addColumn<bool>("shared");

        QTest::newRow("Mono8, rows of whole words") << quint32(ARV_PIXEL_FORMAT_MONO_8) << 8 << 0 << true;
        QTest::newRow("RGB8, rows of whole words") << quint32(ARV_PIXEL_FORMAT_RGB_8_PACKED) << 4 << 0 << true;
        QTest::newRow("Mono8, rows ending mid-word") << quint32(ARV_PIXEL_FORMAT_MONO_8) << 6 << 0 << false;
        QTest::newRow("BGR8, swapped") << quint32(ARV_PIXEL_FORMAT_BGR_8_PACKED) << 4 << 0 << false;
        QTest::newRow("Mono12, converted") << quint32(ARV_PIXEL_FORMAT_MONO_12) << 4 << 0 << false;
        QTest::newRow("Mono8, too few bytes") << quint32(ARV_PIXEL_FORMAT_MONO_8) << 8 << 1 << false;
    }

    void imageOnPixels()
    {
        QFETCH(quint32, pixelFormat);
        QFETCH(int, width);
        QFETCH(int, missingBytes);
        QFETCH(bool, shared);
        const int height = 3;
        const size_t size = size_t(width * height * ARV_PIXEL_FORMAT_BIT_PER_PIXEL(pixelFormat) / 8 - missingBytes);
        std::vector<quint32> words((size + 3) / 4);
        std::generate(words.begin(), words.end(), [i = 0U]() mutable { return i++ * 0x01234567U; });
        const void* pixels = words.data();
        int released = 0;
        const auto release = [](void* count) { ++*static_cast<int*>(count); };
        {
            const QImage image = ::imageOnPixels(pixels, size, width, height, pixelFormat, release, &released);
            QCOMPARE(image, imageFromPixels(pixels, size, width, height, pixelFormat));
            QCOMPARE(image.constBits() == pixels, shared);
            QCOMPARE(released, shared ? 0 : 1);
        }
        QCOMPARE(released, 1);
    }

    void keptBufferOutlivesItsStream()
    {
        // Aravis looks for a camera opened by name through each interface it has, GigE Vision's among them: ctest
        // runs this test through scripts/private-network.sh, whose namespace holds no interface of the host.
        const std::unique_ptr<struct if_nameindex[], decltype(&if_freenameindex)> interfaces(
            if_nameindex(), if_freenameindex);
        QVERIFY(interfaces && interfaces[0].if_index != 0 && qstrcmp(interfaces[0].if_name, "lo") == 0
            && interfaces[1].if_index == 0);
        arv_enable_interface("Fake");
        ArvError error;
        const GObjectPtr<ArvCamera> camera(arv_camera_new("Fake_1", error.out()));
        const GObjectPtr<ArvStream> stream(
            camera ? arv_camera_create_stream(camera.get(), nullptr, nullptr, error.out()) : nullptr);
        if (!stream) {
            QSKIP(qPrintable(QStringLiteral("no simulated camera in this process: %1").arg(error.message())));
        }
        // Without its thread the stream leaves the buffers it is given where they are.
        arv_stream_stop_thread(stream.get(), FALSE);
        const auto buffersInStream = [&stream] {
            gint input = 0, output = 0;
            arv_stream_get_n_buffers(stream.get(), &input, &output);
            return input + output;
        };
        const auto giveBackTo = std::make_shared<BufferReturn>(stream.get());
        void* kept = nullptr;
        {
            LentBuffer lent(arv_buffer_new(16, nullptr), giveBackTo);
            kept = lent.keep();
            LentBuffer unkept(arv_buffer_new(16, nullptr), giveBackTo);
        }
        QCOMPARE(buffersInStream(), 1);
        LentBuffer::release(kept);
        QCOMPARE(buffersInStream(), 2);

        ArvBuffer* buffer = arv_buffer_new(16, nullptr);
        {
            LentBuffer lent(buffer, giveBackTo);
            kept = lent.keep();
        }
        giveBackTo->close();
        g_object_ref(buffer);
        LentBuffer::release(kept);
        QCOMPARE(G_OBJECT(buffer)->ref_count, 1U);
        QCOMPARE(buffersInStream(), 2);
        g_object_unref(buffer);
        arv_stream_start_thread(stream.get());
    }

    void framesBetween_data()
    {
        QTest::addColumn<quint64>("previous");
        QTest::addColumn<quint64>("next");
        QTest::addColumn<quint64>("between");

        QTest::newRow("the next frame") << quint64(1) << quint64(2) << quint64(0);
        QTest::newRow("three lost") << quint64(1) << quint64(5) << quint64(3);
        QTest::newRow("across the wrap of short ids") << quint64(65534) << quint64(2) << quint64(2);
        QTest::newRow("the next after the wrap") << quint64(65535) << quint64(1) << quint64(0);
        QTest::newRow("a short id from before") << quint64(5) << quint64(3) << quint64(0);
        QTest::newRow("short id 0 after a late one") << quint64(65000) << quint64(0) << quint64(0);
        QTest::newRow("short id 0 before") << quint64(0) << quint64(5) << quint64(0);
        QTest::newRow("64-bit ids") << quint64(70000) << quint64(70003) << quint64(2);
        QTest::newRow("a 64-bit id from before") << quint64(70003) << quint64(70000) << quint64(0);
        QTest::newRow("from a short id to a 64-bit one") << quint64(10) << quint64(70000) << quint64(69989);
    }

    void framesBetween()
    {
        QFETCH(quint64, previous);
        QFETCH(quint64, next);
        QFETCH(quint64, between);
        QCOMPARE(::framesBetween(previous, next), between);
    }

    // A rate only while its stream lasts; the counts also across a change of settings. And a buffer that has
    // held no frame since it went back to its stream is not counted.
    void figuresCountUntilTheStreamRestarts()
    {
        StreamFigures figures;
        figures.addFrame(100, 10, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2)); // beyond the statistic's shortest span
        figures.addFrame(200, 20, 10);
        figures.addErrors(2);
        figures.addErrors(3);
        StreamFigures::Snapshot counted = figures.snapshot();
        QCOMPARE(counted.images, 2u);
        QCOMPARE(counted.errors, 5u);
        QCOMPARE(QSize(counted.width, counted.height), QSize(20, 10));
        QCOMPARE(counted.frameBytes, 200u);
        figures.restartRate();
        counted = figures.snapshot();
        QVERIFY(!counted.hasRate);
        QCOMPARE(counted.images, 2u);
        QCOMPARE(counted.errors, 5u);
        figures.restart();
        counted = figures.snapshot();
        QCOMPARE(counted.images + counted.errors + counted.frameBytes, 0u);
        QCOMPARE(counted.restarts, 2u);

        const GObjectPtr<ArvBuffer> cleared(arv_buffer_new(16, nullptr));
        QVERIFY(!StreamSession::holdsFrame(cleared.get()));
    }

    void lostFramesText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");

        QTest::newRow("English, one") << "en_US" << 1 << "1 frame lost";
        QTest::newRow("English, two") << "en_US" << 2 << "2 frames lost";
        QTest::newRow("German, one") << "de_DE" << 1 << "1 Bild verloren";
        QTest::newRow("German, two") << "de_DE" << 2 << "2 Bilder verloren";
    }

    void lostFramesText()
    {
        QFETCH(QString, locale);
        QFETCH(int, count);
        QFETCH(QString, expected);
        QLocale::setDefault(QLocale(locale));
        // The translators of the locale before stay installed; the newest one answers first.
        loadMonitorTranslations(QCoreApplication::instance(), QStringLiteral("no-window"), QStringLiteral(":/none"));
        QCOMPARE(CameraStreamer::tr("%n frame(s) lost", nullptr, count), expected);
    }

    void describeDiscoveredCamera_data()
    {
        QTest::addColumn<QByteArray>("vendor");
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<QByteArray>("serial");
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QString>("serialNumber");

        QTest::newRow("plain") << QByteArray("Aravis") << QByteArray("Fake") << QByteArray("GV01")
                               << QByteArray("Aravis-Fake-GV01") << "GV01";
        QTest::newRow("no serial number: the MAC address")
            << QByteArray("V") << QByteArray("M") << QByteArray() << QByteArray("V-M-00:1a:2b:3c:4d:5e")
            << "00:1a:2b:3c:4d:5e";
        QTest::newRow("control characters but 0x10 dropped from the id")
            << QByteArray("Top\nV") << QByteArray("M\x10\x1f") << QByteArray("S\x01") << QByteArray("TopV-M\x10-S")
            << "S\x01";
        QTest::newRow("whole fields, without a closing zero")
            << QByteArray(32, 'v') << QByteArray(32, 'm') << QByteArray(16, 's')
            << QByteArray(32, 'v') + '-' + QByteArray(32, 'm') + '-' + QByteArray(16, 's')
            << QString(16, QLatin1Char('s'));
        QTest::newRow("Latin-1") << QByteArray("V") << QByteArray("Mod\xe9l") << QByteArray("1")
                                 << QByteArray("V-Mod\xe9l-1") << "1";
    }

    void describeDiscoveredCamera()
    {
        QFETCH(QByteArray, vendor);
        QFETCH(QByteArray, model);
        QFETCH(QByteArray, serial);
        QFETCH(QByteArray, id);
        QFETCH(QString, serialNumber);
        QByteArray data(0xF8, '\0');
        data.replace(0x08, 8, QByteArray::fromHex("0000001a2b3c4d5e"));
        data.replace(0x24, 4, QByteArray::fromHex("c0a80105"));
        data.replace(0x48, vendor.size(), vendor);
        data.replace(0x68, model.size(), model);
        data.replace(0xD8, serial.size(), serial);
        const CameraDescription camera = ::describeDiscoveredCamera(data);
        QCOMPARE(camera.id, id);
        QCOMPARE(camera.vendor, cameraText(vendor.constData()));
        QCOMPARE(camera.model, cameraText(model.constData()));
        QCOMPARE(camera.serialNumber, serialNumber);
        QCOMPARE(camera.macAddress, QStringLiteral("00:1a:2b:3c:4d:5e"));
        QCOMPARE(camera.address, QStringLiteral("192.168.1.5"));
        QVERIFY(camera.isGigE());
    }

    void imageNotice()
    {
        LatestFrame slot;
        const LatestFrame::Clock::time_point now = LatestFrame::Clock::now();
        LatestFrame::Frame frame;
        frame.frameId = 1;
        QVERIFY(slot.put(frame, now)); // the first one is told
        frame.frameId = 2;
        QVERIFY(!slot.put(frame, now)); // the reader is told already
        LatestFrame::Frame taken;
        QVERIFY(slot.takeNew(&taken));
        QCOMPARE(taken.frameId, 2u);
        QVERIFY(!slot.takeNew(&taken));
        QVERIFY(slot.clear()); // taken: the empty slot is news
        QVERIFY(!slot.put(frame, now));
        slot.setWanted(true); // a slot shown anew tells of its next frame, whatever lay in it
        QVERIFY(slot.put(frame, now));
        // The first image leaves the next turn where it is: a frame at its turn is due, one before it is not.
        LatestFrame turns;
        turns.setWanted(true);
        turns.put(frame, now);
        QVERIFY(turns.due(now));
        turns.put(frame, now);
        const auto interval = std::chrono::nanoseconds(std::chrono::seconds(1)) / LatestFrame::maxImagesPerSecond;
        QVERIFY(!turns.due(now + interval - std::chrono::nanoseconds(1)));
        QVERIFY(turns.due(now + interval));
    }

    void settingChange_data()
    {
        QTest::addColumn<QString>("action"); // as a script asks for it
        QTest::addColumn<QVariant>("asked"); // invalid: no change

        QTest::newRow("number") << "gain=6" << QVariant(6.0);
        QTest::newRow("number above its bounds") << "width=9999" << QVariant(512.0);
        QTest::newRow("number the camera lacks") << "exposure-time=100" << QVariant();
        QTest::newRow("not a number") << "gain=six" << QVariant();
        QTest::newRow("switch") << "auto-gain=on" << QVariant(true);
        QTest::newRow("switch the camera lacks") << "auto-exposure=on" << QVariant();
        QTest::newRow("switch neither on nor off") << "auto-gain=yes" << QVariant();
        QTest::newRow("offered format") << "pixel-format=Mono8" << QVariant(QStringLiteral("Mono8"));
        QTest::newRow("format not offered") << "pixel-format=RGB8" << QVariant();
        QTest::newRow("quarter turn") << "rotation=90" << QVariant(90);
        QTest::newRow("skewed turn") << "rotation=45" << QVariant();
        QTest::newRow("flip, keeping the turn") << "flip-vertical=on" << QVariant(true);
        QTest::newRow("unknown setting") << "zoom=2" << QVariant();
    }

    void settingChange()
    {
        QFETCH(QString, action);
        QFETCH(QVariant, asked);
        CameraSettings reported;
        reported.gain = { true, 0.0, 0.0, 24.0 };
        reported.width = { true, 320.0, 16.0, 512.0 };
        reported.autoGain.available = true;
        reported.pixelFormats = QStringList { QStringLiteral("Mono8"), QStringLiteral("BayerRG8") };
        reported.orientation.rotation = 180;
        const CameraSetting* setting = findCameraSetting(action.section(QLatin1Char('='), 0, 0));
        const std::optional<SettingsChange> change = setting
            ? ::settingChange(*setting, reported, scriptedValue(*setting, action.section(QLatin1Char('='), 1)))
            : std::nullopt;
        QCOMPARE(change.has_value(), asked.isValid());
        const SettingKind kind = setting ? setting->kind : SettingKind::Number;
        const QVariant actual = !change   ? QVariant()
            : kind == SettingKind::Number ? QVariant(change.value().*setting->number)
            : kind == SettingKind::Switch ? QVariant(*(change.value().*setting->switchChange))
            : kind == SettingKind::Choice ? QVariant(change->pixelFormat)
            : kind == SettingKind::Flip   ? QVariant(change->orientation.value().*setting->flip)
                                          : QVariant(change->orientation.value().rotation);
        QCOMPARE(actual, asked);
        QCOMPARE(change && change->orientation && change->orientation->rotation != 180,
            kind == SettingKind::Rotation && asked.isValid());
    }

    void settingsRememberedPerCamera()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings().clear();
        SettingsChange change;
        change.offsetX = 16.0;
        change.gain = 6.0; // not kept: the camera's own default serves better
        change.autoGain = false;
        change.orientation = ImageOrientation { 270, true, false };
        rememberSettings(QStringLiteral("cam/1"), change);
        const SettingsChange remembered = rememberedSettings(QStringLiteral("cam/1"));
        QVERIFY(
            remembered.offsetX == 16.0 && remembered.gain < 0.0 && remembered.autoGain == std::optional<bool>(false));
        QVERIFY(remembered.orientation == change.orientation);
        // The keys of earlier versions' files, in the camera's group whatever its key holds.
        QCOMPARE(QSettings().value(QStringLiteral("Cameras/cam%2F1/offsetX")).toDouble(), 16.0);
        QVERIFY(rememberedSettings(QStringLiteral("cam")).leavesCamera());
    }

    void reportsMergeRepeats()
    {
        ReportList reports;
        reports.addReport(AsyncErrorQueue::Warning, QStringLiteral("lost"), QString());
        reports.addReport(AsyncErrorQueue::Warning, QStringLiteral("lost"), QString());
        QCOMPARE(reports.rowCount(), 1);
        QVERIFY(reports.index(0).data().toString().endsWith(QStringLiteral("  lost  [2\u00d7]")));
        reports.addReport(AsyncErrorQueue::Critical, QStringLiteral("gone"), QStringLiteral("timeout"));
        QVERIFY(reports.index(0).data().toString().endsWith(QStringLiteral("  gone (timeout)")));
        QCOMPARE(reports.index(1).data(ReportList::SeverityRole).toInt(), int(AsyncErrorQueue::Warning));
        for (int report = 0; report < ReportList::maxEntries; ++report) {
            reports.addReport(AsyncErrorQueue::Critical, QString::number(report), QString());
        }
        QCOMPARE(reports.rowCount(), ReportList::maxEntries);
    }
};

QTEST_GUILESS_MAIN(TestCameraCore)
#include "tst_cameracore.moc"
