#include <TavixQtBase/fpsstatistic.h>

#include <QCoreApplication>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <cmath>

// One thread feeds a statistic as fast as it can, on the real clock, while
// another one reads, cuts and resets it. Meant to run under ThreadSanitizer
// as well: any access outside the statistic's lock is reported there.
class FpsStatisticConcurrencyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void producerAgainstReaderAndReset_data();
    void producerAgainstReaderAndReset();
};

void FpsStatisticConcurrencyTest::producerAgainstReaderAndReset_data()
{
    QTest::addColumn<unsigned int>("capacity");

    QTest::newRow("ring of 4, cut and wrapped all the time") << 4u;
    QTest::newRow("ring of 1000") << 1000u;
}

void FpsStatisticConcurrencyTest::producerAgainstReaderAndReset()
{
    QFETCH(unsigned int, capacity);
    constexpr int Reads = 5000;
    constexpr double Untouched = -1.0;
    constexpr unsigned long long UntouchedAmount = 0xDEADBEEFull;

    FpsStatistic statistic(capacity);
    std::atomic<bool> stop { false };
    std::atomic<long long> added { 0 };
    QThread* producer = QThread::create([&] {
        while (!stop.load()) {
            if (!statistic.addSample(1000)) {
                return;
            }
            added.fetch_add(1);
        }
    });

    int results = 0;
    int inconsistent = 0;
    QString firstInconsistency;
    QThread* reader = QThread::create([&] {
        for (int i = 0; i < Reads; ++i) {
            // The mutex is not fair: without this the reader could hold on
            // to it for many reads in a row and see the same window each time.
            const long long seen = added.load();
            while (added.load() < seen + 2) {
                QThread::yieldCurrentThread();
            }
            double fps = Untouched;
            unsigned long long amountPerSecond = UntouchedAmount;
            const bool valid = statistic.computeResult(&fps, &amountPerSecond);
            // Every sample but a window's first carries 1000, so a positive
            // frame rate always comes with a positive amount per second.
            const bool consistent = valid ? std::isfinite(fps) && fps >= 0.0 && (fps > 0.0) == (amountPerSecond > 0)
                                          : fps == Untouched && amountPerSecond == UntouchedAmount;
            if (!consistent && inconsistent++ == 0) {
                firstInconsistency = QStringLiteral("result %1, fps %2, amount per second %3")
                                         .arg(valid)
                                         .arg(fps, 0, 'g', 17)
                                         .arg(amountPerSecond);
            }
            results += valid ? 1 : 0;
            if (i % 64 == 63) {
                statistic.reset();
            } else if (i % 64 == 31) {
                statistic.removeAllButLastTwoSamples(nullptr);
            }
            statistic.hasRestarted();
        }
    });

    producer->start();
    // Let the producer fill the window before reading starts.
    QTRY_VERIFY_WITH_TIMEOUT(added.load() > 2 * qint64(capacity), 60000);
    reader->start();
    QVERIFY(reader->wait(300000));
    stop.store(true);
    QVERIFY(producer->wait(60000));
    delete reader;
    delete producer;

    QVERIFY2(inconsistent == 0,
        qPrintable(QStringLiteral("%1 inconsistent results, the first: %2").arg(inconsistent).arg(firstInconsistency)));
    QVERIFY2(results > 0, "the reader never saw a result");
    QVERIFY(added.load() > 2 * qint64(capacity));
}

QTEST_GUILESS_MAIN(FpsStatisticConcurrencyTest)

#include "tst_fpsstatistic_concurrency.moc"
