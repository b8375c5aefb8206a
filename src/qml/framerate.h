// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_QML_FRAMERATE_H
#define TAVIXQTBASE_QML_FRAMERATE_H

#include <TavixQtBase/fpsstatistic.h>
#include <TavixQtBase/frameratefeed.h>

#include <QMutex>
#include <QObject>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <memory>

/**
 * The QML element FrameRate: an FpsStatistic whose figures are QML properties.
 *
 * addSample() computes the figures right after storing the sample, as the
 * statistic is best read; the properties take the newest of these results every
 * updateInterval milliseconds in the GUI thread. Only once no sample arrived for a
 * second are the figures computed at the refresh, so that a stream that stopped
 * reads as late and then stalled.
 *
 * addSample() is thread-safe: an acquisition thread may call it directly,
 * through the interface FrameRateFeed, as long as the object lives. Everything
 * else belongs to the GUI thread.
 */
class FrameRate : public QObject, public FrameRateFeed
{
    Q_OBJECT
    Q_INTERFACES(FrameRateFeed)
    QML_ELEMENT
    Q_PROPERTY(int capacity READ capacity WRITE setCapacity NOTIFY capacityChanged)
    Q_PROPERTY(int updateInterval READ updateInterval WRITE setUpdateInterval NOTIFY updateIntervalChanged)
    Q_PROPERTY(double framesPerSecond READ framesPerSecond NOTIFY framesPerSecondChanged)
    Q_PROPERTY(double amountPerSecond READ amountPerSecond NOTIFY amountPerSecondChanged)
    Q_PROPERTY(bool valid READ isValid NOTIFY validChanged)

public:
    explicit FrameRate(QObject* parent = nullptr);
    ~FrameRate() override;

    int capacity() const;
    /**
     * Starts a new statistic of @p requested samples, at most
     * FpsStatistic::MaxNumSamples (the property then reads that); a capacity
     * below 3 never gives a result, and one below 0 reads 0.
     */
    void setCapacity(int requested);
    int updateInterval() const;
    /** Milliseconds between two refreshes of the properties; 0 or below stops them. */
    void setUpdateInterval(int milliseconds);
    double framesPerSecond() const { return m_shown.framesPerSecond; }
    double amountPerSecond() const { return m_shown.amountPerSecond; }
    bool isValid() const { return m_shown.valid; }

    /**
     * Records one frame of @p amount (bytes, lines, ...; negative and NaN count
     * as 0, amounts beyond 2^32 - 1 as 2^32 - 1). Thread-safe.
     */
    Q_INVOKABLE void addSample(double amount) override;
    /** Empties the window, and clears the properties at once. GUI thread. */
    Q_INVOKABLE void restart();

Q_SIGNALS:
    void capacityChanged();
    void updateIntervalChanged();
    void framesPerSecondChanged();
    void amountPerSecondChanged();
    void validChanged();

private:
    struct Figures
    {
        bool valid = false;
        double framesPerSecond = 0.0;
        double amountPerSecond = 0.0;
    };

    Figures computeLocked();
    void refresh();
    void show(const Figures& figures);

    mutable QMutex m_lock;
    // Guarded by m_lock: the statistic, and the result computed after its newest sample.
    std::unique_ptr<FpsStatistic> m_statistic;
    int m_capacity;
    Figures m_latest;
    std::chrono::steady_clock::time_point m_newestSample;
    // GUI thread only.
    Figures m_shown;
    QTimer m_refreshTimer;
};

#endif
