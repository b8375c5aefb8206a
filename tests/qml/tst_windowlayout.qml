// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtTest
import TavixQtBase

// Runs on two screens: s0 at (0, 0) 800x600 and s1 at (800, 0) 1280x1024.
TestCase {
    name: "WindowLayout"
    when: windowShown

    Component {
        id: windowComponent
        Window {
            x: 20
            y: 30
            width: 40
            height: 50
            property alias layout: layout
            WindowLayout {
                id: layout
                group: "main"
            }
        }
    }

    Component { id: looseLayout; WindowLayout { group: "main" } }
    Window { id: otherWindow; x: 200; width: 60; height: 70 }

    function shownWindow(window = createTemporaryObject(windowComponent, null)) {
        window.show()
        verify(waitForRendering(window.contentItem))
        return window
    }

    // A window comes back to the place it closed at, on the screen there. A place
    // off every screen is refused: the window stays where it was declared. That row
    // keeps the declared size, which a refused restore still applies.
    function test_placeComesBack_data() {
        return [
            { tag: "on the second screen", place: Qt.rect(1500, 700, 300, 200), restored: true, screen: "s1" },
            { tag: "off every screen", place: Qt.rect(2100, 1100, 40, 50), restored: false, screen: "s0",
              expected: Qt.rect(20, 30, 40, 50) },
        ]
    }

    function test_placeComesBack(row) {
        let window = shownWindow()
        window.x = row.place.x
        window.y = row.place.y
        window.width = row.place.width
        window.height = row.place.height
        window.close()

        window = shownWindow()
        compare(window.layout.restored, row.restored)
        compare(Qt.rect(window.x, window.y, window.width, window.height), row.expected ?? row.place)
        compare(window.screen.name, row.screen)
    }

    // Only the first show of a window restores it, and only of a window given
    // before; a window named wins over the enclosing one.
    function test_onlyTheFirstShowRestores() {
        let window = shownWindow()
        window.x = 1500
        window.close()
        window = shownWindow()
        window.x = 100
        window.hide()
        shownWindow(window)
        compare(window.x, 100, "shown again")
        otherWindow.show()
        createTemporaryObject(looseLayout, this, { window: otherWindow })
        otherWindow.hide()
        shownWindow(otherWindow)
        compare(otherWindow.x, 200, "given while shown")
        compare(createTemporaryObject(windowComponent, null, { "layout.window": otherWindow }).layout.window,
                otherWindow)
    }
}
