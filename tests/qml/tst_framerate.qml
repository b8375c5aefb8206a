// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtTest
import TavixQtBase
import TavixQtBaseTests

TestCase {
    name: "FrameRate"

    FrameRate {
        id: rate
        capacity: 1000
        updateInterval: 20
    }

    FrameRate {
        id: bounded
        updateInterval: 0
    }

    SignalSpy {
        id: fed
        target: Cpp
        signalName: "fed"
    }

    SignalSpy {
        id: rateChanges
        target: rate
        signalName: "framesPerSecondChanged"
    }

    // A thread feeds the element and a C++ statistic alike while the GUI reads
    // the element's figures; both agree.
    function test_fedFromAThread() {
        rate.restart()
        Cpp.feed(rate, 1000, 2000)
        fed.wait(30000)
        verify(rateChanges.count > 1, "the figures were refreshed while the frames came")
        wait(5 * rate.updateInterval)
        const [framesPerSecond, amountPerSecond] = fed.signalArguments[0]
        verify(rate.valid)
        verify(Math.abs(rate.framesPerSecond / framesPerSecond - 1) < 0.01,
               rate.framesPerSecond + " frames per second, C++: " + framesPerSecond)
        verify(Math.abs(rate.amountPerSecond / amountPerSecond - 1) < 0.01,
               rate.amountPerSecond + " per second, C++: " + amountPerSecond)
    }

    // A capacity beyond the largest window gets the largest window, at once.
    function test_capacityBounded_data() {
        return [
            { tag: "largest int", capacity: 2147483647, expected: 1000000 },
            { tag: "one above the largest window", capacity: 1000001, expected: 1000000 },
            { tag: "within bounds", capacity: 50, expected: 50 },
        ]
    }

    function test_capacityBounded(data) {
        bounded.capacity = data.capacity
        compare(bounded.capacity, data.expected)
    }

    function test_restartClears() {
        rate.restart()
        rate.addSample(10)
        wait(5)
        rate.addSample(10)
        tryVerify(() => rate.valid)
        rate.restart()
        verify(!rate.valid)
        compare(rate.framesPerSecond, 0)
        compare(rate.amountPerSecond, 0)
    }
}
