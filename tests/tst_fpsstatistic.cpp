// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/fpsstatistic.h>

#include <QtTest>

#include "fakeclock.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <numeric>
#include <random>

namespace {

// With offsets in multiples of 1/512 s from the fake epoch every time and
// difference stays exact as a double, so that results compare exactly.
constexpr double Tick = 1.0 / 512;
constexpr double NoResult = -123.0; // the frame rate left untouched
constexpr unsigned long long UntouchedAmount = 0xDEADBEEFull;

struct Result
{
    bool valid = false;
    double fps = NoResult;
    unsigned long long amountPerSecond = UntouchedAmount;
    QString toString() const
    {
        return QStringLiteral("%1 %2 fps %3 per s").arg(valid).arg(fps, 0, 'g', 17).arg(amountPerSecond);
    }
};

Result query(FpsStatistic& statistic)
{
    Result result;
    result.valid = statistic.computeResult(&result.fps, &result.amountPerSecond);
    return result;
}

// A plain model: the window as a list of absolute times, every figure
// recomputed from it, so that it shares no bookkeeping with the ring, the
// running mean or the moving origin of the real thing.
struct Reference
{
    struct Entry
    {
        double time, interval; // the interval is 0.0 for a start
        quint32 amount; // 0 for a start
    };
    int capacity;
    std::deque<Entry> window {};
    bool startInWindow = false; // whether the oldest entry is a start, whose interval is not in the mean
    double origin = 0.0;
    double cutOffset = 0.0; // by which the last cut moved the origin
    bool restarted = false;

    double sum() const
    {
        return std::accumulate(
            window.begin(), window.end(), 0.0, [](double s, const Entry& e) { return s + e.interval; });
    }
    int count() const { return int(window.size()) - (startInWindow ? 1 : 0); }
    double jump(double now) const { return std::trunc(std::fabs(now - window.back().time - window.back().interval)); }

    void add(double now, quint32 amount)
    {
        if (window.empty()) {
            origin = now;
            startInWindow = true;
        } else if (window.size() > 3 && jump(now) * count() > 0.25 * sum()) {
            restarted |= keepLastTwo();
        } else if (int(window.size()) == capacity) {
            window.pop_front();
            startInWindow = false;
        }
        window.push_back(window.empty() ? Entry { now, 0.0, 0 } : Entry { now, now - window.back().time, amount });
    }

    bool keepLastTwo()
    {
        if (window.size() < 3) {
            return false;
        }
        window.erase(window.begin(), window.end() - 2);
        cutOffset = window.front().time - origin;
        origin = window.front().time;
        window.front() = { origin, 0.0, 0 };
        return startInWindow = true;
    }

    Result compute(double now)
    {
        if (window.size() < 2 || window.back().time == window.front().time) {
            return {};
        }
        const double sinceLast = now - window.back().time;
        const bool late = sinceLast * count() > 1.25 * sum();
        if (late && window.size() > 3) {
            restarted |= keepLastTwo();
            return compute(now);
        }
        if (sinceLast >= FpsStatistic::DefaultStallTimeout || sum() <= 0.0) {
            return { true, 0.0, 0 };
        }
        // When late, the pending interval up to now joins the window as one more, like the newest.
        const quint64 amount = std::accumulate(window.begin() + 1, window.end(),
            quint64(late ? window.back().amount : 0), [](quint64 s, const Entry& e) { return s + e.amount; });
        const double fps = late ? (count() + 1) / (sum() + sinceLast) : count() / sum();
        return { true, fps, quint64(amount / ((late ? now : window.back().time) - window.front().time)) };
    }

    // Whether a sample or a query at @p now would be decided so close to a
    // threshold that the running mean's rounding could tip it either way.
    bool nearThreshold(double now) const
    {
        const double mean = sum() / count();
        const double tolerance = 1e-6 * (1.0 + mean);
        return window.size() >= 2
            && (std::fabs(jump(now) - 0.25 * mean) < tolerance
                || std::fabs(now - window.back().time - 1.25 * mean) < tolerance);
    }
};

// Samples of the amount 1000, the first at once, each further one an interval
// later; then a query.
struct Scenario
{
    unsigned int capacity;
    QVector<double> intervals;
    double queryDelay; // from the newest sample
    double fps; // NoResult when computeResult() has none
    double amountPerSecond; // before truncation
    bool restarted;
    double stallLimit = FpsStatistic::DefaultStallTimeout;
    bool exactFps = true; // false where the running mean may round the rate by a few doubles
};

} // namespace

Q_DECLARE_METATYPE(Scenario)

class FpsStatisticTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void flexiMeanExample();
    void clockSecondsAsDividedByABillion_data();
    void clockSecondsAsDividedByABillion();
    void scenarios_data();
    void scenarios();
    void matchesAPlainReferenceOverRandomSequences();
};

void FpsStatisticTest::flexiMeanExample()
{
    FlexiMean mean;
    mean.add(1.0);
    mean.add(2.0);
    mean.add(6.0);
    mean.remove(1.0);
    QCOMPARE(mean.getMeanUnsafe(), 4.0);
    QCOMPARE(mean.getSumSquaredDiff(), 8.0);
}

void FpsStatisticTest::clockSecondsAsDividedByABillion_data()
{
    QTest::addColumn<qint64>("seconds");
    for (const qint64 seconds : { Q_INT64_C(1), Q_INT64_C(0x1000000), FakeEpochSeconds, Q_INT64_C(0x200000000) }) {
        QTest::addRow("%lld s", seconds) << seconds;
    }
}

void FpsStatisticTest::clockSecondsAsDividedByABillion()
{
    QFETCH(qint64, seconds);
    FakeClock clock(seconds);
    std::mt19937 random { unsigned(seconds) };
    for (int i = 0; i < 100000; ++i) {
        const qint64 nanoseconds = i < 2 ? i * 999999999 : qint64(random() % NanosecondsPerSecond);
        g_fakeNanoseconds = seconds * NanosecondsPerSecond + nanoseconds;
        const double expected = double(seconds) + double(nanoseconds) / 1e9;
        QVERIFY2(StopWatch::gettime() == expected, qPrintable(QString::number(nanoseconds)));
    }
}

void FpsStatisticTest::scenarios_data()
{
    QTest::addColumn<Scenario>("s");
    auto repeated = [](int count, double interval, const QVector<double>& then = {}) {
        return QVector<double>(count, interval) + then;
    };
    auto row = [](const char* name, const Scenario& scenario) { QTest::newRow(name) << scenario; };

    // The randomized comparison below covers the rest; these rows sit exactly on a
    // threshold, outside its capacities and stall limit, or on a clock that jumps.
    row("capacity 2: no buffer", { 2, repeated(4, 0.5), 0.0, NoResult, 0, false });
    row("capacity 2^31, negative as int", { 0x80000000u, repeated(4, 0.5), 0, NoResult, 0, false });
    row("the header's example", { 30, repeated(39, 0.125), 0.0, 8.0, 8000, false });
    row("two, 1.25 intervals later: not late", { 10, { 0.5 }, 0.625, 2.0, 1000 / 0.5, false });
    // The pending interval joins the mean as a division, where a product with the reciprocal of 3 would be one
    // double off.
    row("three, 2.25 intervals later: late", { 10, { 0.5, 0.5 }, 1.125, 1 / (0.5 + 0.625 / 3), 3000 / 2.125, false });
    row("1 s: only a quarter of a 4 s mean", { 20, repeated(4, 4.0, { 5.0 }), 0.0, 5 / 21.0, 5000 / 21.0, false });
    row("stall limit 2 s", { 10, repeated(4, 4.0), 2.0, 0.0, 0, false, 2.0 });
    // The jump restarts the window; what is left reads neither negative nor wrapped.
    row("clock set back an hour", { 10, repeated(3, 0.5, { -3600.0 }), 0.0, 0.0, 0, true });
    row("clock set forward 2^32 s", { 10, repeated(3, 0.5, { 4294967296.0 }), 0.0, 2 / 4294967296.5, 0, true });
    // In a ring of 3 the oldest interval counts, but not for the span.
    row("capacity 3, clock set back twice", { 3, { 10.0, -1.0, -1.0 }, 0.0, 3 / 8.0, 0, false, 10.5, false });
    // A capacity beyond the largest window gets the largest window, which no
    // longer holds the 0.5 s after the first sample.
    constexpr int largest = FpsStatistic::MaxNumSamples;
    row("capacity 2^31 - 1: the largest window",
        { 0x7FFFFFFFu, repeated(1, 0.5, repeated(largest, Tick)), 0.0, 512.0, 512000, false, 10.5, false });
    // Bursts of 100 samples 8 us apart, every quarter of a second: a window
    // inside a burst spans 0.8 ms and has no result, whether the gap before
    // the burst is still in the window or not.
    row("burst of a whole window",
        { 100, repeated(99, 8e-6, repeated(1, 0.25, repeated(99, 8e-6))), 0.0, NoResult, 0, false });
    row("burst beyond the window",
        { 100, repeated(100, 8e-6, repeated(1, 0.25, repeated(100, 8e-6))), 0.0, NoResult, 0, false });
}

void FpsStatisticTest::scenarios()
{
    QFETCH(Scenario, s);
    FakeClock clock;
    FpsStatistic statistic(s.capacity);
    QCOMPARE(statistic.stallTimeout(), 10.5); // the documented default
    QVERIFY(statistic.setStallTimeout(s.stallLimit));
    QVERIFY(!statistic.setStallTimeout(std::numeric_limits<double>::quiet_NaN()));
    QCOMPARE(statistic.addSample(1000), s.capacity >= 3 && s.capacity < 0x80000000u);
    for (int i = 0; i < s.intervals.size(); ++i) {
        clock.advance(s.intervals[i]);
        statistic.addSample(1000);
    }
    clock.advance(s.queryDelay);
    const bool valid = s.fps != NoResult;
    const Result result = query(statistic);
    QCOMPARE(result.valid, valid);
    QCOMPARE(result.fps, s.fps);
    if (s.exactFps) {
        QCOMPARE(QString::number(result.fps, 'g', 17), QString::number(s.fps, 'g', 17));
    }
    QCOMPARE(result.amountPerSecond, valid ? (unsigned long long)s.amountPerSecond : UntouchedAmount);
    QCOMPARE(statistic.hasRestarted(), s.restarted);

    // Either out-parameter may be null; at the same instant the result stands.
    Result again;
    again.valid
        = statistic.computeResult(&again.fps, nullptr) && statistic.computeResult(nullptr, &again.amountPerSecond);
    QCOMPARE(again.toString(), result.toString());

    // reset() empties the window but keeps the restart flag and the stall limit.
    statistic.reset();
    QVERIFY(!query(statistic).valid);
    QCOMPARE(statistic.hasRestarted(), s.restarted);
    QCOMPARE(statistic.stallTimeout(), s.stallLimit);
}

// Drives the statistic and the reference model through random sequences of
// arrivals, queries, cuts and resets on the 1/512 s grid.
void FpsStatisticTest::matchesAPlainReferenceOverRandomSequences()
{
    for (unsigned int seed = 1; seed <= 400; ++seed) {
        std::mt19937 random(seed);
        auto uniform = [&random] { return std::uniform_real_distribution<double>(0.0, 1.0)(random); };
        auto ticks = [&random](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random) * Tick; };
        const int capacity = std::vector<int> { 3, 4, 5, 8, 64 }[random() % 5];

        FakeClock clock;
        FpsStatistic statistic { unsigned(capacity) };
        Reference model { capacity };
        auto advance = [&](double seconds) {
            for (clock.advance(seconds); model.nearThreshold(clock.now); clock.advance(Tick)) { }
        };
        double regularInterval = ticks(1, 512);
        for (int step = 0; step < 400; ++step) {
            const QString where = QStringLiteral("seed %1, capacity %2, step %3: ").arg(seed).arg(capacity).arg(step);
            const double action = uniform();
            if (action < 0.65) {
                regularInterval = uniform() < 0.03 ? ticks(1, 2048) : regularInterval;
                advance(uniform() < 0.1    ? 0.0
                        : uniform() < 0.02 ? ticks(512, 15 * 512)
                                           : std::max(0.0, regularInterval + ticks(-8, 8)));
                const quint32 amount = quint32(random());
                statistic.addSample(amount);
                model.add(clock.now, amount);
            } else if (action < 0.90) {
                advance(uniform() < 0.1 ? ticks(0, 12 * 512) : ticks(0, int(3 * 512 * regularInterval)));
                const Result actual = query(statistic);
                const Result expected = model.compute(clock.now);
                QVERIFY2(actual.valid == expected.valid && actual.amountPerSecond == expected.amountPerSecond
                        && std::fabs(actual.fps - expected.fps) <= 1e-7 * std::fabs(expected.fps),
                    qPrintable(where + actual.toString() + QStringLiteral(" instead of ") + expected.toString()));
            } else if (action < 0.96) {
                double offset = -1.0;
                const bool cut = statistic.removeAllButLastTwoSamples(&offset);
                QVERIFY2(cut == model.keepLastTwo() && offset == (cut ? model.cutOffset : -1.0), qPrintable(where));
            } else {
                statistic.reset();
                model.window.clear();
            }
            QVERIFY2(statistic.hasRestarted() == model.restarted, qPrintable(where + QStringLiteral("restarted")));
        }
    }
}

QTEST_GUILESS_MAIN(FpsStatisticTest)

#include "tst_fpsstatistic.moc"
