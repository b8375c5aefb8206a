// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtTest
import TavixQtBase
import TavixQtBaseTests

TestCase {
    id: testCase
    name: "FrameRate"

    FrameRate {
        id: rate
        updateInterval: 10
    }

    FrameRate {
        id: bounded
        updateInterval: 0
    }

    readonly property var figures: [rate.valid, rate.framesPerSecond, rate.amountPerSecond]

    function cleanup() {
        Cpp.releaseClock()
    }

    // Fed the same samples on the same wall clock, the element reads as a statistic
    // read right after the newest sample; once the stream stops, as one read at the
    // refresh: late, then stalled. restart() clears the figures at once.
    function test_figuresOfTheStatistic() {
        const phases = [
            { tag: "start", times: [0, 0.125], amount: 1000, readAt: 0.125 },
            { tag: "amounts beyond 32 bits", times: [0.25, 0.375, 0.5], amount: 5e9, cppAmount: 4294967295,
              readAt: 0.5 },
            { tag: "late", times: [], readAt: 1 },
            { tag: "restarted, negative amounts", restart: true, times: [1.25, 1.375, 1.5], amount: -1, cppAmount: 0,
              readAt: 1.5 },
            { tag: "stalled", times: [], readAt: 13 },
        ]
        for (const phase of phases) {
            if (phase.restart) {
                rate.restart()
                compare(figures, [false, 0, 0], phase.tag + ": cleared")
            }
            tryCompare(testCase, "figures", Cpp.feed(rate, phase), 10000, phase.tag)
        }
    }

    // A capacity beyond the largest window gets the largest window, at once.
    function test_capacityBounded_data() {
        return [
            { tag: "one above the largest window", capacity: 1000001, expected: 1000000 },
            { tag: "within bounds", capacity: 50, expected: 50 },
            { tag: "negative", capacity: -5, expected: 0 },
        ]
    }

    function test_capacityBounded(data) {
        bounded.capacity = data.capacity
        compare(bounded.capacity, data.expected)
    }
}
