#include <TavixQtBase/fpsstatistic.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <atomic>
#include <cmath>
#include <deque>
#include <limits>
#include <random>

#include <dlfcn.h>
#include <time.h>

// The test owns the wall clock: this definition of clock_gettime() takes
// precedence over the C library's for the whole process, the library's
// StopWatch::gettime() included. Only CLOCK_REALTIME is faked, and only while a
// FakeClock exists; every other clock (Qt's event loop and QTest use
// CLOCK_MONOTONIC) goes to the real implementation. Interposing keeps the
// library free of test hooks and checks that it really reads CLOCK_REALTIME.
namespace {

std::atomic<bool> g_fakeClockActive { false };
std::atomic<qint64> g_fakeNanoseconds { 0 };

using ClockGettimeFunction = int (*)(clockid_t, timespec*);

ClockGettimeFunction realClockGettime()
{
    static const auto real = reinterpret_cast<ClockGettimeFunction>(dlsym(RTLD_NEXT, "clock_gettime"));
    return real;
}

} // namespace

// Default visibility: the project builds with hidden symbols, and a hidden
// definition would not be exported for the library to find.
extern "C" Q_DECL_EXPORT int clock_gettime(clockid_t clockId, timespec* now) noexcept
{
    if (clockId == CLOCK_REALTIME && g_fakeClockActive.load()) {
        const qint64 nanoseconds = g_fakeNanoseconds.load();
        now->tv_sec = time_t(nanoseconds / 1000000000);
        now->tv_nsec = long(nanoseconds % 1000000000);
        return 0;
    }
    return realClockGettime()(clockId, now);
}

namespace {

constexpr qint64 NanosecondsPerSecond = 1000000000;
// A realistic wall-clock time. Together with offsets in multiples of 1/512 s it
// keeps every time and difference exactly representable as a double, so that
// results can be compared exactly.
constexpr qint64 FakeEpochSeconds = 1700000000;
constexpr double Tick = 1.0 / 512;

// Sets the wall clock while it lives; time stands still unless advanced.
class FakeClock
{
public:
    explicit FakeClock(qint64 startNanoseconds = FakeEpochSeconds * NanosecondsPerSecond)
    {
        g_fakeNanoseconds.store(startNanoseconds);
        g_fakeClockActive.store(true);
    }
    ~FakeClock() { g_fakeClockActive.store(false); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void advance(double seconds) { g_fakeNanoseconds.fetch_add(qint64(std::llround(seconds * 1e9))); }
    void advanceNanoseconds(qint64 nanoseconds) { g_fakeNanoseconds.fetch_add(nanoseconds); }
    // Seconds, as the library reads them: exact for the offsets the tests use.
    double now() const
    {
        const qint64 nanoseconds = g_fakeNanoseconds.load();
        return double(nanoseconds / NanosecondsPerSecond) + double(nanoseconds % NanosecondsPerSecond) / 1e9;
    }
};

constexpr double UntouchedFps = -123.0;
constexpr unsigned long long UntouchedAmount = 0xDEADBEEFull;

struct Result
{
    bool valid = false;
    double fps = UntouchedFps;
    unsigned long long amountPerSecond = UntouchedAmount;
};

Result query(FpsStatistic& statistic)
{
    Result result;
    result.valid = statistic.computeResult(&result.fps, &result.amountPerSecond);
    return result;
}

// Adds a sample every @p interval seconds, the first one right away.
void addRegularSamples(FpsStatistic& statistic, FakeClock& clock, int count, double interval, unsigned int amount)
{
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            clock.advance(interval);
        }
        statistic.addSample(amount);
    }
}

// A plain model of the statistic: it keeps the window as a list of absolute
// times and recomputes every figure from it, so that it shares no bookkeeping
// with the ring, the running mean or the moving origin of the real thing.
class ReferenceStatistic
{
public:
    explicit ReferenceStatistic(int capacity)
        : m_capacity(capacity)
    {
    }

    bool restarted = false;

    void reset() { m_window.clear(); }

    void add(double now, quint32 amount)
    {
        Entry entry { now, 0.0, 0, false };
        if (m_window.empty()) {
            m_origin = now;
        } else {
            entry.interval = now - m_window.back().time;
            entry.amount = amount;
            entry.hasPredecessor = true;
            if (int(m_window.size()) > 3 && jumpExceedsThreshold(entry.interval)) {
                keepLastTwo();
                restarted = true;
            }
        }
        if (int(m_window.size()) == m_capacity) {
            m_window.pop_front();
        }
        m_window.push_back(entry);
    }

    bool keepLastTwo(double* offset = nullptr)
    {
        if (m_window.size() < 3) {
            return false;
        }
        m_window.erase(m_window.begin(), m_window.end() - 2);
        if (offset) {
            *offset = m_window.front().time - m_origin;
        }
        m_origin = m_window.front().time;
        m_window.front() = Entry { m_origin, 0.0, 0, false };
        return true;
    }

    Result compute(double now)
    {
        Result result;
        if (m_window.size() < 2 || m_window.back().time == m_window.front().time) {
            return result;
        }
        const double sinceLast = now - m_window.back().time;
        if (m_window.size() > 3 && isLate(sinceLast)) {
            keepLastTwo();
            restarted = true;
            return compute(now);
        }
        result.valid = true;
        result.fps = 0.0;
        result.amountPerSecond = 0;
        const double sum = intervalSum();
        if (sinceLast >= FpsStatistic::DefaultStallTimeout || sum <= 0.0) {
            return result;
        }
        quint64 amountAfterFirst = 0;
        for (size_t i = 1; i < m_window.size(); ++i) {
            amountAfterFirst += m_window[i].amount;
        }
        const double firstTime = m_window.front().time;
        if (isLate(sinceLast)) {
            // The pending interval up to now joins the mean as one more value.
            result.fps = (intervalCount() + 1) / (sum + sinceLast);
            result.amountPerSecond = quint64((amountAfterFirst + m_window.back().amount) / (now - firstTime));
        } else {
            result.fps = intervalCount() / sum;
            result.amountPerSecond = quint64(amountAfterFirst / (m_window.back().time - firstTime));
        }
        return result;
    }

    // Whether adding a sample at @p now, or asking at @p now, would decide a
    // restart or an extrapolation so close to its threshold that rounding in
    // a running mean could tip it either way.
    bool nearThreshold(double now) const
    {
        if (m_window.size() < 2) {
            return false;
        }
        const double mean = intervalSum() / intervalCount();
        const double interval = now - m_window.back().time;
        const double jump = std::trunc(std::fabs(interval - m_window.back().interval));
        const double tolerance = 1e-6 * (1.0 + mean);
        return std::fabs(jump - 0.25 * mean) < tolerance || std::fabs(interval - 1.25 * mean) < tolerance;
    }

private:
    struct Entry
    {
        double time;
        double interval;
        quint32 amount;
        bool hasPredecessor;
    };

    double intervalSum() const
    {
        double sum = 0.0;
        for (const Entry& entry : m_window) {
            sum += entry.hasPredecessor ? entry.interval : 0.0;
        }
        return sum;
    }

    int intervalCount() const
    {
        return int(std::count_if(m_window.begin(), m_window.end(), [](const Entry& e) { return e.hasPredecessor; }));
    }

    bool jumpExceedsThreshold(double interval) const
    {
        const double jump = std::trunc(std::fabs(interval - m_window.back().interval));
        return jump * intervalCount() > 0.25 * intervalSum();
    }

    bool isLate(double sinceLast) const { return sinceLast * intervalCount() > 1.25 * intervalSum(); }

    int m_capacity;
    double m_origin = 0.0;
    std::deque<Entry> m_window;
};

// Drives the statistic and the reference through one random sequence of
// arrivals, queries, cuts and resets, on the 1/512 s grid; false on the first
// difference, described in @p why.
bool matchesReference(unsigned int seed, QString* why)
{
    std::mt19937 random(seed);
    auto chance = [&random](double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(random) < p; };
    auto ticks = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random) * Tick; };

    const int capacities[] = { 3, 4, 5, 8, 64 };
    const int capacity = capacities[random() % 5];
    const double sameInstantChance = std::vector<double> { 0.0, 0.05, 0.3 }[random() % 3];
    const double pauseChance = std::vector<double> { 0.0, 0.01, 0.05 }[random() % 3];

    FakeClock clock;
    FpsStatistic statistic { unsigned(capacity) };
    ReferenceStatistic reference(capacity);
    double regularInterval = ticks(1, 512);

    for (int step = 0; step < 400; ++step) {
        const QString where = QStringLiteral("seed %1, capacity %2, step %3: ").arg(seed).arg(capacity).arg(step);
        const double action = std::uniform_real_distribution<double>(0.0, 1.0)(random);
        if (action < 0.65) {
            if (chance(0.03)) {
                regularInterval = ticks(1, 2048);
            }
            double interval = regularInterval + ticks(-8, 8);
            if (chance(sameInstantChance)) {
                interval = 0.0;
            } else if (chance(pauseChance)) {
                interval = ticks(512, 15 * 512);
            }
            clock.advance(std::max(0.0, interval));
            while (reference.nearThreshold(clock.now())) {
                clock.advance(Tick);
            }
            const quint32 amount = quint32(random());
            statistic.addSample(amount);
            reference.add(clock.now(), amount);
        } else if (action < 0.90) {
            clock.advance(chance(0.1) ? ticks(0, 12 * 512) : ticks(0, int(3 * 512 * regularInterval)));
            while (reference.nearThreshold(clock.now())) {
                clock.advance(Tick);
            }
            const Result actual = query(statistic);
            const Result expected = reference.compute(clock.now());
            const bool same = actual.valid == expected.valid && actual.amountPerSecond == expected.amountPerSecond
                && (actual.fps == expected.fps || std::fabs(actual.fps - expected.fps) <= 1e-7 * expected.fps);
            if (!same) {
                *why = where
                    + QStringLiteral("result %1 fps %2 amount %3, expected %4 fps %5 amount %6")
                          .arg(actual.valid)
                          .arg(actual.fps, 0, 'g', 17)
                          .arg(actual.amountPerSecond)
                          .arg(expected.valid)
                          .arg(expected.fps, 0, 'g', 17)
                          .arg(expected.amountPerSecond);
                return false;
            }
        } else if (action < 0.96) {
            double actualOffset = -1.0;
            double expectedOffset = -1.0;
            const bool actualCut = statistic.removeAllButLastTwoSamples(&actualOffset);
            if (actualCut != reference.keepLastTwo(&expectedOffset) || actualOffset != expectedOffset) {
                *why = where
                    + QStringLiteral("cut %1 offset %2, expected offset %3")
                          .arg(actualCut)
                          .arg(actualOffset)
                          .arg(expectedOffset);
                return false;
            }
        } else {
            statistic.reset();
            reference.reset();
        }
        if (statistic.hasRestarted() != reference.restarted) {
            *why = where + QStringLiteral("restart flag %1").arg(statistic.hasRestarted());
            return false;
        }
    }
    return true;
}

} // namespace

class FpsStatisticTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void flexiMean_data();
    void flexiMean();
    void flexiMeanResetEmptiesEverything();
    void meanOfNothingIsAnAssertion();
    void stopWatchReadsTheWallClock();

    void capacityDecidesWhetherThereIsABuffer_data();
    void capacityDecidesWhetherThereIsABuffer();
    void firstSampleOnlyMarksTheStart();
    void twoSamples_data();
    void twoSamples();
    void headerExampleReadsEightFramesPerSecond();
    void intervalJump_data();
    void intervalJump();
    void capacityThreeNeverRestarts();
    void lateQueryCutsTheWindow();
    void stall_data();
    void stall();
    void stallLimitAccessors();
    void sameInstantIntervalLeavesTheMeanWithItsSample();
    void ringWrapsAround();
    void removeAllButLastTwoSamples();
    void resetKeepsFlagAndLimitAndTakesANewOrigin();
    void clockJumps_data();
    void clockJumps();
    void negativeAmountPerSecondReadsZero();
    void amountPerSecondBeyond64BitsSaturates();
    void matchesAPlainReferenceOverRandomSequences();
    void realClockSmoke();
};

void FpsStatisticTest::flexiMean_data()
{
    QTest::addColumn<QVector<double>>("added");
    QTest::addColumn<QVector<double>>("removed");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("sumSquaredDiff");

    QTest::newRow("three values") << QVector<double> { 1, 2, 6 } << QVector<double> {} << 3.0 << 14.0;
    QTest::newRow("one of them removed again") << QVector<double> { 1, 2, 6 } << QVector<double> { 1 } << 4.0 << 8.0;
    QTest::newRow("removed down to one value") << QVector<double> { 1, 2, 6 } << QVector<double> { 6, 2 } << 1.0 << 0.0;
    QTest::newRow("negative values and zero") << QVector<double> { -1, 0, 1 } << QVector<double> {} << 0.0 << 2.0;
    QTest::newRow("a removed value added again") << QVector<double> { 4, 8, 4 } << QVector<double> { 4 } << 6.0 << 8.0;
}

void FpsStatisticTest::flexiMean()
{
    QFETCH(QVector<double>, added);
    QFETCH(QVector<double>, removed);
    QFETCH(double, mean);
    QFETCH(double, sumSquaredDiff);

    FlexiMean flexiMean;
    for (double value : added) {
        flexiMean.add(value);
    }
    for (double value : removed) {
        flexiMean.remove(value);
    }
    QCOMPARE(int(flexiMean.getNumValues()), added.size() - removed.size());
    QVERIFY2(
        std::fabs(flexiMean.getMeanUnsafe() - mean) < 1e-12, qPrintable(QString::number(flexiMean.getMeanUnsafe())));
    QVERIFY2(std::fabs(flexiMean.getSumSquaredDiff() - sumSquaredDiff) < 1e-12,
        qPrintable(QString::number(flexiMean.getSumSquaredDiff())));
}

void FpsStatisticTest::flexiMeanResetEmptiesEverything()
{
    FlexiMean flexiMean;
    flexiMean.add(10.0);
    flexiMean.add(20.0);
    flexiMean.reset();
    QCOMPARE(flexiMean.getNumValues(), 0u);
    QCOMPARE(flexiMean.getSumSquaredDiff(), 0.0);
    // A mean left over from before would pull the new one.
    flexiMean.add(5.0);
    QCOMPARE(flexiMean.getMeanUnsafe(), 5.0);
    QCOMPARE(flexiMean.getSumSquaredDiff(), 0.0);
}

void FpsStatisticTest::meanOfNothingIsAnAssertion()
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--mean-of-nothing") });
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    const QByteArray errors = child.readAllStandardError();
    QVERIFY2(errors.contains("m_numValues >= 1"), errors.constData());
}

void FpsStatisticTest::stopWatchReadsTheWallClock()
{
    const double wallClock = double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
    QVERIFY2(std::fabs(StopWatch::gettime() - wallClock) < 5.0, "not seconds since the epoch");

    FakeClock clock(FakeEpochSeconds * NanosecondsPerSecond + 250000000);
    QCOMPARE(StopWatch::gettime(), double(FakeEpochSeconds) + 0.25);
}

void FpsStatisticTest::capacityDecidesWhetherThereIsABuffer_data()
{
    QTest::addColumn<unsigned int>("capacity");
    QTest::addColumn<bool>("hasBuffer");

    QTest::newRow("zero") << 0u << false;
    QTest::newRow("one") << 1u << false;
    QTest::newRow("two") << 2u << false;
    QTest::newRow("three is the smallest with a buffer") << 3u << true;
    // Read as a signed int, these are negative.
    QTest::newRow("2^31") << 0x80000000u << false;
    QTest::newRow("2^31 + 5") << 0x80000005u << false;
    QTest::newRow("2^32 - 1") << 0xFFFFFFFFu << false;
}

void FpsStatisticTest::capacityDecidesWhetherThereIsABuffer()
{
    QFETCH(unsigned int, capacity);
    QFETCH(bool, hasBuffer);

    FakeClock clock;
    FpsStatistic statistic(capacity);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(statistic.addSample(100), hasBuffer);
        clock.advance(0.5);
    }
    const Result result = query(statistic);
    QCOMPARE(result.valid, hasBuffer);
    QCOMPARE(result.fps, hasBuffer ? 2.0 : UntouchedFps);
    double offset = -1.0;
    QCOMPARE(statistic.removeAllButLastTwoSamples(&offset), hasBuffer);
    QCOMPARE(offset, hasBuffer ? 1.5 : -1.0);
    statistic.reset();
    QCOMPARE(query(statistic).valid, false);
}

void FpsStatisticTest::firstSampleOnlyMarksTheStart()
{
    FakeClock clock;
    FpsStatistic statistic(10);
    QVERIFY(statistic.addSample(1000));
    const Result one = query(statistic);
    QVERIFY(!one.valid);
    QCOMPARE(one.fps, UntouchedFps);
    QCOMPARE(one.amountPerSecond, UntouchedAmount);

    clock.advance(0.5);
    statistic.addSample(10);
    const Result two = query(statistic);
    QVERIFY(two.valid);
    QCOMPARE(two.fps, 2.0);
    QCOMPARE(two.amountPerSecond, 20ull);
}

void FpsStatisticTest::twoSamples_data()
{
    QTest::addColumn<double>("interval");
    QTest::addColumn<unsigned int>("amount");
    QTest::addColumn<double>("queryDelay");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("fps");
    QTest::addColumn<unsigned long long>("amountPerSecond");

    QTest::newRow("asked right after the second sample") << 0.5 << 10u << 0.0 << true << 2.0 << 20ull;
    QTest::newRow("asked exactly 1.25 intervals later, not yet late") << 0.5 << 10u << 0.625 << true << 2.0 << 20ull;
    // 2 / (0.5 + 1.0) frames and 2 * 10 / 1.5 = 13.3 amount per second.
    QTest::newRow("asked later, as if a sample arrived now") << 0.5 << 10u << 1.0 << true << 2.0 / 1.5 << 13ull;
    QTest::newRow("amount per second truncated") << 0.75 << 10u << 0.0 << true << 1.0 / 0.75 << 13ull;
    QTest::newRow("asked a tick before the stall limit")
        << 0.5 << 70u << 10.5 - Tick << true << 2.0 / (10.5 + 0.5 - Tick) << 12ull;
    QTest::newRow("asked 10.5 s after the newest sample") << 0.5 << 10u << 10.5 << true << 0.0 << 0ull;
    QTest::newRow("both at the same instant") << 0.0 << 10u << 0.0 << false << UntouchedFps << UntouchedAmount;
    QTest::newRow("clock set back between them") << -1.0 << 10u << 0.0 << true << 0.0 << 0ull;
    QTest::newRow("clock set back after them") << 0.5 << 10u << -3.0 << true << 2.0 << 20ull;
    QTest::newRow("largest amount") << 0.25 << 0xFFFFFFFFu << 0.0 << true << 4.0 << 4ull * 0xFFFFFFFFu;
}

void FpsStatisticTest::twoSamples()
{
    QFETCH(double, interval);
    QFETCH(unsigned int, amount);
    QFETCH(double, queryDelay);
    QFETCH(bool, valid);
    QFETCH(double, fps);
    QFETCH(unsigned long long, amountPerSecond);

    FakeClock clock;
    FpsStatistic statistic(10);
    addRegularSamples(statistic, clock, 2, interval, amount);
    clock.advance(queryDelay);
    const Result result = query(statistic);
    QCOMPARE(result.valid, valid);
    QCOMPARE(result.fps, fps);
    QCOMPARE(result.amountPerSecond, amountPerSecond);
    QVERIFY(!statistic.hasRestarted());

    // Either out-parameter may be null.
    double fpsOnly = UntouchedFps;
    unsigned long long amountOnly = UntouchedAmount;
    QCOMPARE(statistic.computeResult(&fpsOnly, nullptr), valid);
    QCOMPARE(statistic.computeResult(nullptr, &amountOnly), valid);
    QCOMPARE(statistic.computeResult(nullptr, nullptr), valid);
    QCOMPARE(fpsOnly, fps);
    QCOMPARE(amountOnly, amountPerSecond);
}

void FpsStatisticTest::headerExampleReadsEightFramesPerSecond()
{
    FakeClock clock;
    FpsStatistic statistic(30);
    addRegularSamples(statistic, clock, 40, 0.125, 1000);
    double fps = 0.0;
    unsigned long long bytesPerSecond = 0;
    QVERIFY(statistic.computeResult(&fps, &bytesPerSecond));
    QCOMPARE(fps, 8.0);
    QCOMPARE(bytesPerSecond, 8000ull);
}

void FpsStatisticTest::intervalJump_data()
{
    QTest::addColumn<int>("samplesBefore");
    QTest::addColumn<double>("interval");
    QTest::addColumn<double>("newInterval");
    QTest::addColumn<bool>("restarts");

    QTest::newRow("a rise by 63/64 s stays below a whole second") << 5 << Tick * 4 << Tick * 4 + 63.0 / 64 << false;
    QTest::newRow("a rise by exactly one second restarts") << 5 << 0.5 << 1.5 << true;
    QTest::newRow("a drop by one second restarts too") << 5 << 2.0 << 1.0 << true;
    QTest::newRow("one second is not more than a quarter of a 4 s mean") << 5 << 4.0 << 5.0 << false;
    QTest::newRow("two seconds are more than a quarter of a 4 s mean") << 5 << 4.0 << 6.0 << true;
    QTest::newRow("no test with 3 samples in the window") << 3 << 0.5 << 3.0 << false;
    QTest::newRow("the test applies from 4 samples on") << 4 << 0.5 << 3.0 << true;
}

void FpsStatisticTest::intervalJump()
{
    QFETCH(int, samplesBefore);
    QFETCH(double, interval);
    QFETCH(double, newInterval);
    QFETCH(bool, restarts);

    FakeClock clock;
    FpsStatistic statistic(20);
    // Amounts 1, 2, 4, ...: every sum tells which samples it includes.
    for (int i = 0; i < samplesBefore; ++i) {
        if (i > 0) {
            clock.advance(interval);
        }
        statistic.addSample(1u << i);
    }
    clock.advance(newInterval);
    statistic.addSample(1u << samplesBefore);
    QCOMPARE(statistic.hasRestarted(), restarts);

    // A restart keeps the two newest samples (the older one becoming the
    // start) and then stores the new one with its measured interval.
    const int intervalsBefore = restarts ? 1 : samplesBefore - 1;
    const double span = intervalsBefore * interval + newInterval;
    const unsigned long long amountAfterFirst
        = restarts ? (1ull << (samplesBefore - 1)) + (1ull << samplesBefore) : (2ull << samplesBefore) - 2;
    const Result result = query(statistic);
    QVERIFY(result.valid);
    QCOMPARE(result.fps, (intervalsBefore + 1) / span);
    QCOMPARE(result.amountPerSecond, (unsigned long long)(double(amountAfterFirst) / span));

    double offset = -1.0;
    QVERIFY(statistic.removeAllButLastTwoSamples(&offset));
    QCOMPARE(offset, intervalsBefore * interval);
}

void FpsStatisticTest::capacityThreeNeverRestarts()
{
    FakeClock clock;
    FpsStatistic statistic(3);
    addRegularSamples(statistic, clock, 3, 0.5, 1);
    clock.advance(5.0);
    statistic.addSample(2);
    clock.advance(0.5);
    statistic.addSample(4);
    QVERIFY(!statistic.hasRestarted());

    // Window: intervals 0.5, 5.0, 0.5 (the oldest one's predecessor has left).
    Result result = query(statistic);
    QCOMPARE(result.fps, 3.0 / 6.0);
    QCOMPARE(result.amountPerSecond, (unsigned long long)(6 / 5.5));

    // Late by more than 1.25 means, but too few samples to cut: extrapolated.
    clock.advance(3.0);
    result = query(statistic);
    QVERIFY(!statistic.hasRestarted());
    QCOMPARE(result.fps, 4.0 / 9.0);
    QCOMPARE(result.amountPerSecond, (unsigned long long)(10 / 8.5));

    clock.advance(20.0);
    result = query(statistic);
    QVERIFY(result.valid);
    QCOMPARE(result.fps, 0.0);
    QVERIFY(!statistic.hasRestarted());
}

void FpsStatisticTest::lateQueryCutsTheWindow()
{
    FakeClock clock;
    FpsStatistic statistic(10);
    for (unsigned int amount = 1; amount <= 5; ++amount) {
        statistic.addSample(amount);
        clock.advance(0.5);
    }
    clock.advance(0.125);
    // 1.25 mean intervals after the newest sample: not late yet.
    Result result = query(statistic);
    QCOMPARE(result.fps, 2.0);
    QCOMPARE(result.amountPerSecond, 7ull);
    QVERIFY(!statistic.hasRestarted());

    clock.advance(Tick);
    result = query(statistic);
    QVERIFY(statistic.hasRestarted());
    // From the newest two samples, 0.5 s apart, extrapolated to now.
    const double sinceLast = 0.625 + Tick;
    QCOMPARE(result.fps, 2.0 / (0.5 + sinceLast));
    QCOMPARE(result.amountPerSecond, (unsigned long long)(10 / (0.5 + sinceLast)));
    double offset = -1.0;
    QVERIFY(!statistic.removeAllButLastTwoSamples(&offset));
    QCOMPARE(offset, -1.0);

    // Arrivals go on from the cut window.
    clock.advance(1.0 - sinceLast);
    statistic.addSample(6);
    result = query(statistic);
    QCOMPARE(result.fps, 1.0 / 0.75);
    QCOMPARE(result.amountPerSecond, (unsigned long long)(11 / 1.5));
}

void FpsStatisticTest::stall_data()
{
    QTest::addColumn<double>("interval");
    QTest::addColumn<double>("stallLimit");
    QTest::addColumn<double>("queryDelay");
    QTest::addColumn<double>("fps");
    QTest::addColumn<bool>("restarts");

    QTest::newRow("10.5 s after the newest of 9 s intervals reads zero, uncut") << 9.0 << 10.5 << 10.5 << 0.0 << false;
    QTest::newRow("a tick earlier the rates stand") << 9.0 << 10.5 << 10.5 - Tick << 1.0 / 9 << false;
    QTest::newRow("late and stalled: cut, then zero") << 0.5 << 10.5 << 20.0 << 0.0 << true;
    QTest::newRow("a limit of 2 s") << 4.0 << 2.0 << 2.0 << 0.0 << false;
    QTest::newRow("a tick before a limit of 2 s") << 4.0 << 2.0 << 2.0 - Tick << 0.25 << false;
    QTest::newRow("an infinite limit never stalls")
        << 9.0 << std::numeric_limits<double>::infinity() << 11.0 << 1.0 / 9 << false;
    QTest::newRow("a limit of zero always stalls") << 0.5 << 0.0 << 0.0 << 0.0 << false;
}

void FpsStatisticTest::stall()
{
    QFETCH(double, interval);
    QFETCH(double, stallLimit);
    QFETCH(double, queryDelay);
    QFETCH(double, fps);
    QFETCH(bool, restarts);

    FakeClock clock;
    FpsStatistic statistic(10);
    QVERIFY(statistic.setStallTimeout(stallLimit));
    addRegularSamples(statistic, clock, 5, interval, 9);
    clock.advance(queryDelay);
    const Result result = query(statistic);
    QVERIFY(result.valid);
    QCOMPARE(result.fps, fps);
    QCOMPARE(result.amountPerSecond, fps == 0.0 ? 0ull : (unsigned long long)(9 / interval));
    QCOMPARE(statistic.hasRestarted(), restarts);
}

void FpsStatisticTest::stallLimitAccessors()
{
    FpsStatistic statistic(10);
    QCOMPARE(statistic.stallTimeout(), 10.5);
    QVERIFY(statistic.setStallTimeout(2.5));
    QVERIFY(!statistic.setStallTimeout(std::numeric_limits<double>::quiet_NaN()));
    QCOMPARE(statistic.stallTimeout(), 2.5);
}

void FpsStatisticTest::sameInstantIntervalLeavesTheMeanWithItsSample()
{
    FakeClock clock;
    FpsStatistic statistic(4);
    statistic.addSample(1);
    clock.advance(0.5);
    statistic.addSample(1);
    statistic.addSample(1); // same instant: interval 0.0
    clock.advance(0.5);
    statistic.addSample(1);
    // Intervals 0.5, 0.0, 0.5: the zero counts.
    QCOMPARE(query(statistic).fps, 3.0);

    for (int i = 0; i < 3; ++i) {
        clock.advance(0.5);
        statistic.addSample(1);
    }
    // The zero interval has left the window with its sample.
    const Result result = query(statistic);
    QCOMPARE(result.fps, 2.0);
    QCOMPARE(result.amountPerSecond, 2ull);
}

void FpsStatisticTest::ringWrapsAround()
{
    FakeClock clock;
    FpsStatistic statistic(4);
    const double intervals[] = { 0.25, 0.5, 0.125, 0.75, 0.25, 0.5, 0.375, 0.625, 0.125 };
    statistic.addSample(1);
    unsigned int amount = 1;
    for (double interval : intervals) {
        clock.advance(interval);
        statistic.addSample(amount *= 2);
    }
    QVERIFY(!statistic.hasRestarted());
    // The window holds the last four samples; even the oldest one's interval
    // still counts, as its predecessor was there when it arrived.
    const Result result = query(statistic);
    QCOMPARE(result.fps, 4.0 / (0.5 + 0.375 + 0.625 + 0.125));
    QCOMPARE(result.amountPerSecond, (unsigned long long)((128 + 256 + 512) / (0.375 + 0.625 + 0.125)));
}

void FpsStatisticTest::removeAllButLastTwoSamples()
{
    FakeClock clock;
    FpsStatistic statistic(10);
    double offset = -1.0;
    QVERIFY(!statistic.removeAllButLastTwoSamples(&offset));
    addRegularSamples(statistic, clock, 2, 0.5, 3);
    QVERIFY(!statistic.removeAllButLastTwoSamples(&offset));
    QCOMPARE(offset, -1.0);

    clock.advance(0.25);
    statistic.addSample(3);
    clock.advance(0.125);
    statistic.addSample(3);
    QVERIFY(statistic.removeAllButLastTwoSamples(&offset));
    QCOMPARE(offset, 0.75);
    QVERIFY(!statistic.hasRestarted());
    Result result = query(statistic);
    QCOMPARE(result.fps, 8.0);
    QCOMPARE(result.amountPerSecond, 24ull);

    clock.advance(0.125);
    statistic.addSample(3);
    clock.advance(0.125);
    statistic.addSample(3);
    QVERIFY(statistic.removeAllButLastTwoSamples(nullptr));
    // At the instant of the newest sample, which is 0.125 s after the moved origin.
    QVERIFY(statistic.addSample(3));
    QVERIFY(statistic.removeAllButLastTwoSamples(&offset));
    QCOMPARE(offset, 0.125);
}

void FpsStatisticTest::resetKeepsFlagAndLimitAndTakesANewOrigin()
{
    FakeClock clock;
    FpsStatistic statistic(10);
    addRegularSamples(statistic, clock, 5, 0.5, 7);
    clock.advance(5.0);
    query(statistic);
    QVERIFY(statistic.hasRestarted());
    statistic.setStallTimeout(3.0);

    statistic.reset();
    QVERIFY(statistic.hasRestarted());
    QCOMPARE(statistic.stallTimeout(), 3.0);
    QVERIFY(!query(statistic).valid);

    clock.advance(100.0);
    statistic.addSample(7);
    QVERIFY(!query(statistic).valid);
    clock.advance(0.25);
    statistic.addSample(7);
    clock.advance(0.25);
    statistic.addSample(7);
    const Result result = query(statistic);
    QCOMPARE(result.fps, 4.0);
    QCOMPARE(result.amountPerSecond, 28ull);
    // Times count from the first sample after the reset.
    double offset = -1.0;
    QVERIFY(statistic.removeAllButLastTwoSamples(&offset));
    QCOMPARE(offset, 0.25);
}

void FpsStatisticTest::clockJumps_data()
{
    QTest::addColumn<double>("jump");
    QTest::addColumn<double>("fps");
    QTest::addColumn<unsigned long long>("amountPerSecond");

    // After four samples 0.5 s apart, each of amount 1000, the clock jumps and
    // a fifth sample arrives. The jump restarts the window: 0.5 s and the jump.
    QTest::newRow("set back by an hour reads zero") << -3600.0 << 0.0 << 0ull;
    QTest::newRow("set forward by a day") << 86400.0 << 2.0 / 86400.5 << 0ull;
    QTest::newRow("set forward beyond 2^31 s") << 4294967296.0 << 2.0 / 4294967296.5 << 0ull;
    QTest::newRow("set forward by 1000 s, amount still counted") << 1000.0 << 2.0 / 1000.5 << 1ull;
}

void FpsStatisticTest::clockJumps()
{
    QFETCH(double, jump);
    QFETCH(double, fps);
    QFETCH(unsigned long long, amountPerSecond);

    FakeClock clock;
    FpsStatistic statistic(10);
    addRegularSamples(statistic, clock, 4, 0.5, 1000);
    clock.advance(jump);
    statistic.addSample(1000);
    QVERIFY(statistic.hasRestarted());
    const Result result = query(statistic);
    QVERIFY(result.valid);
    QCOMPARE(result.fps, fps);
    QCOMPARE(result.amountPerSecond, amountPerSecond);

    // Regular arrivals heal the window once the jump has left the ring. The
    // running mean keeps a trace of a huge interval's rounding.
    for (int i = 0; i < 10; ++i) {
        clock.advance(0.5);
        statistic.addSample(1000);
    }
    const double healedFps = query(statistic).fps;
    QVERIFY2(std::fabs(healedFps - 2.0) < 1e-5, qPrintable(QString::number(healedFps, 'g', 17)));
}

void FpsStatisticTest::negativeAmountPerSecondReadsZero()
{
    // In a ring of three the oldest interval still counts, so the mean can
    // stay positive while the span after a clock set back is negative.
    FakeClock clock;
    FpsStatistic statistic(3);
    addRegularSamples(statistic, clock, 2, 10.0, 1000);
    for (int i = 0; i < 2; ++i) {
        clock.advance(-1.0);
        statistic.addSample(1000);
    }
    const Result result = query(statistic);
    QVERIFY(result.valid);
    QCOMPARE(result.fps, 3.0 / 8.0);
    QCOMPARE(result.amountPerSecond, 0ull);
}

void FpsStatisticTest::amountPerSecondBeyond64BitsSaturates()
{
    // Near the epoch a double resolves single nanoseconds.
    FakeClock clock(NanosecondsPerSecond);
    FpsStatistic statistic(10);
    statistic.addSample(0);
    clock.advanceNanoseconds(1);
    for (int i = 0; i < 5; ++i) {
        statistic.addSample(0xFFFFFFFFu);
    }
    // 5 * (2^32 - 1) in one nanosecond is beyond 2^64 per second.
    const Result result = query(statistic);
    QVERIFY(result.valid);
    QCOMPARE(result.amountPerSecond, std::numeric_limits<unsigned long long>::max());
    QVERIFY(result.fps > 1e9);
}

void FpsStatisticTest::matchesAPlainReferenceOverRandomSequences()
{
    for (unsigned int seed = 1; seed <= 400; ++seed) {
        QString why;
        QVERIFY2(matchesReference(seed, &why), qPrintable(why));
    }
}

void FpsStatisticTest::realClockSmoke()
{
    constexpr qint64 IntervalMs = 20;
    FpsStatistic statistic(10);
    QElapsedTimer elapsed;
    statistic.addSample(100);
    elapsed.start();
    // Waiting on the monotonic clock guarantees at least the interval, however
    // loaded the machine is; only the upper bound of the rate is certain.
    while (elapsed.elapsed() <= IntervalMs) {
        QTest::qWait(5);
    }
    statistic.addSample(100);
    const Result result = query(statistic);
    QVERIFY(result.valid);
    QVERIFY2(result.fps <= 1000.0 / IntervalMs * 1.01, qPrintable(QString::number(result.fps)));
    QVERIFY(result.amountPerSecond <= 100 * 1000 / IntervalMs * 101 / 100);
    if (elapsed.elapsed() < 10000) {
        QVERIFY2(result.fps > 0.0, "the rate of two samples well within the stall limit is positive");
    }
}

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--mean-of-nothing") == 0) {
        // Must not return: the assertion aborts.
        return int(FlexiMean().getMeanUnsafe());
    }
    QCoreApplication app(argc, argv);
    FpsStatisticTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fpsstatistic.moc"
