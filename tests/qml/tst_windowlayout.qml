// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtTest
import TavixQtBase
import TavixQtBaseTests

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

    function shownWindow() {
        const window = createTemporaryObject(windowComponent, null)
        window.show()
        verify(waitForRendering(window.contentItem))
        return window
    }

    function test_placeComesBack() {
        let window = shownWindow()
        window.x = 1500
        window.y = 700
        window.width = 300
        window.height = 200
        window.close()

        window = shownWindow()
        verify(window.layout.restored)
        compare(Qt.rect(window.x, window.y, window.width, window.height), Qt.rect(1500, 700, 300, 200))
        compare(window.screen.name, "s1")
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
        window.show()
        verify(waitForRendering(window.contentItem))
        compare(window.x, 100, "shown again")
        otherWindow.show()
        createTemporaryObject(looseLayout, this, { window: otherWindow })
        otherWindow.hide()
        otherWindow.show()
        verify(waitForRendering(otherWindow.contentItem))
        compare(otherWindow.x, 200, "given while shown")
        compare(createTemporaryObject(windowComponent, null, { "layout.window": otherWindow }).layout.window,
                otherWindow)
    }

    // A place off every screen is refused: the window stays where it was declared.
    function test_placeOffTheScreensIsRefused() {
        Cpp.writeSettings("main", { pos: "@Point(2100 1100)" })
        const window = shownWindow()
        verify(!window.layout.restored)
        compare(Qt.rect(window.x, window.y, window.width, window.height), Qt.rect(20, 30, 40, 50))
    }
}
