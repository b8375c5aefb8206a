# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""Header and window layouts through both forms of the bindings: PyQt6's QSettings
and a group name (a Python str) in the application's default store."""

from PyQt6.QtCore import QCoreApplication, QPoint, QSettings, QSize, Qt
from PyQt6.QtGui import QStandardItemModel, QWindow
from PyQt6.QtWidgets import QHeaderView, QWidget

import tavixqtbase as t


def test_layouts_come_back_through_the_bindings(qapp, tmp_path):
    QCoreApplication.setOrganizationName("tavix-tests")
    QCoreApplication.setApplicationName("python-layout")
    settings = QSettings(str(tmp_path / "layout.ini"), QSettings.Format.IniFormat)
    model = QStandardItemModel(1, 3)
    headers = [QHeaderView(Qt.Orientation.Horizontal) for _ in range(2)]
    for header in headers:
        header.setModel(model)
    headers[0].resizeSection(0, 123)
    assert t.saveHeaderLayout(settings, 2, headers[0])
    assert t.restoreHeaderLayout(settings, 2, headers[1]) and headers[1].sectionSize(0) == 123

    reference, widget, restored = QWidget(), QWidget(), QWidget()
    reference.move(100, 100)
    widget.setGeometry(150, 130, 300, 200)
    assert t.saveWidgetPositionAndSize(settings, widget, reference)
    assert not t.restoreWidgetPositionAndSize(settings, restored)  # the reference defaults to none
    reference.move(110, 120)
    assert t.restoreWidgetPositionAndSize(settings, restored, reference)
    assert (restored.pos(), restored.size()) == (QPoint(160, 150), QSize(300, 200))

    window, restored_window = QWindow(), QWindow()
    window.setGeometry(40, 60, 320, 240)
    assert not t.saveWindowPositionAndSize("", window)
    assert t.saveWindowPositionAndSize("main window", window)
    assert t.restoreWindowPositionAndSize("main window", restored_window)
    assert restored_window.size() == QSize(320, 240) == QSettings().value("main window/size")
