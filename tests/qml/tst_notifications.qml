// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtTest
import TavixQtBase
import TavixQtBaseTests

// Every property of every type notifies its own signal once when its value
// changes, and nothing notifies when no value changes.
TestCase {
    name: "Notifications"
    when: windowShown

    Component { id: frameRate; FrameRate { updateInterval: 10 } }
    Component { id: windowLayout; WindowLayout { group: "notifications" } }
    Window { id: window; visible: true; width: 200; height: 100 }

    function cleanup() {
        Cpp.releaseClock()
    }

    function test_onlyChangesNotify_data() {
        const feed = (r, amount) => {
            Cpp.feed(r, { times: [0, 0.125], amount: amount, readAt: 0.125 })
            tryVerify(() => r.valid)
        }
        return [
            { tag: "capacity", type: frameRate, change: r => r.capacity = 50, expected: ["capacity"] },
            { tag: "capacity as it is", type: frameRate, change: r => r.capacity = 100, expected: [] },
            { tag: "updateInterval", type: frameRate, change: r => r.updateInterval = 0, expected: ["updateInterval"] },
            { tag: "updateInterval as it is", type: frameRate, change: r => r.updateInterval = 10, expected: [] },
            { tag: "updateInterval stopped again", type: frameRate, setup: r => r.updateInterval = 0,
              change: r => r.updateInterval = -1, expected: [] },
            { tag: "updateInterval started again", type: frameRate, setup: r => r.updateInterval = 0,
              change: r => r.updateInterval = 20, expected: ["updateInterval"] },
            { tag: "figures", type: frameRate, change: r => feed(r, 1000),
              expected: ["framesPerSecond", "amountPerSecond", "valid"] },
            { tag: "figures without amounts", type: frameRate, change: r => feed(r, 0),
              expected: ["framesPerSecond", "valid"] },
            { tag: "restart without figures", type: frameRate, change: r => r.restart(), expected: [] },
            { tag: "window", type: windowLayout, change: l => l.window = window, expected: ["window"] },
            { tag: "window as it is", type: windowLayout, setup: l => l.window = window,
              change: l => l.window = window, expected: [] },
            { tag: "group", type: windowLayout, change: l => l.group = "other", expected: ["group"] },
            { tag: "group as it is", type: windowLayout, change: l => l.group = "notifications", expected: [] },
            { tag: "restored", type: windowLayout, setup: l => { l.window = window; verify(l.save()) },
              change: l => verify(l.restore()), expected: ["restored"] },
            { tag: "restored again", type: windowLayout, setup: l => { l.window = window; l.save(); l.restore() },
              change: l => verify(l.restore()), expected: [] },
        ]
    }

    // Reports, in the order of the type's properties, each property NAME that changed
    // or notified NAMEChanged during row.change: "NAME: changed|unchanged, notified N".
    // A property that declares another change signal is left out, so its change fails.
    function test_onlyChangesNotify(row) {
        const object = createTemporaryObject(row.type, this)
        if (row.setup)
            row.setup(object)
        const names = Cpp.propertiesNotifyingByName(object)
        const before = names.map(name => object[name])
        const notified = names.map(() => 0)
        names.forEach((name, i) => object[name + "Changed"].connect(() => ++notified[i]))
        row.change(object)
        const report = []
        names.forEach((name, i) => {
            const changed = object[name] !== before[i]
            if (changed || notified[i])
                report.push(name + ": " + (changed ? "changed" : "unchanged") + ", notified " + notified[i])
        })
        compare(report, row.expected.map(name => name + ": changed, notified 1"))
    }
}
