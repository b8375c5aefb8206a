# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""Header and window layouts in PyQt6's QSettings."""

import pytest
from PyQt6.QtCore import QCoreApplication, QPoint, QSettings, QSize, Qt
from PyQt6.QtGui import QStandardItemModel, QWindow
from PyQt6.QtWidgets import QHeaderView, QWidget

import tavixqtbase as t


@pytest.fixture
def settings(qapp, tmp_path):
    QCoreApplication.setOrganizationName("tavix-tests")
    QCoreApplication.setApplicationName("python-layout")
    store = QSettings(str(tmp_path / "layout.ini"), QSettings.Format.IniFormat)
    store.beginGroup("view")
    return store


def header_with_sections(model, first_width):
    header = QHeaderView(Qt.Orientation.Horizontal)
    header.setModel(model)
    header.resizeSection(0, first_width)
    return header


@pytest.mark.parametrize("saved_version, restored_version, restored", [(2, 2, True), (2, 3, False)])
def test_header_layout_is_applied_for_its_version_only(settings, saved_version, restored_version, restored):
    model = QStandardItemModel(1, 3)
    assert t.saveHeaderLayout(settings, saved_version, header_with_sections(model, 123))
    assert settings.value("headerver", type=int) == saved_version
    header = header_with_sections(model, 50)
    assert t.restoreHeaderLayout(settings, restored_version, header) == restored
    assert header.sectionSize(0) == (123 if restored else 50)


def test_widget_returns_to_its_place_relative_to_its_reference(settings):
    reference, widget = QWidget(), QWidget()
    reference.move(100, 100)
    widget.setGeometry(150, 130, 300, 200)
    assert t.saveWidgetPositionAndSize(settings, widget, reference)
    assert settings.value("pos_r") == QPoint(50, 30) and settings.value("size") == QSize(300, 200)
    assert not t.restoreWidgetPositionAndSize(settings, widget)  # no absolute "pos" saved
    reference.move(110, 120)
    restored = QWidget()
    assert t.restoreWidgetPositionAndSize(settings, restored, reference)
    assert (restored.pos(), restored.size()) == (QPoint(160, 150), QSize(300, 200))


@pytest.mark.parametrize("group, saved", [("main window", True), ("", False)])
def test_window_round_trip_through_the_default_store(settings, group, saved):
    window = QWindow()
    window.setGeometry(40, 60, 320, 240)
    assert t.saveWindowPositionAndSize(group, window) == saved
    restored = QWindow()
    assert t.restoreWindowPositionAndSize(group, restored) == saved
    if saved:
        assert restored.size() == QSize(320, 240)
        assert QSettings().value(f"{group}/size") == QSize(320, 240)
