# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""The reporting functions: their log lines and the reports of the global queue.

The expected texts are the C++ library's results for the same inputs, as its
QtTest tests pin them: a changed C++ result fails these tests too.
"""

import pytest
from PyQt6.QtWidgets import QWidget

import tavixqtbase as t

Critical = t.AsyncErrorQueue.ErrorSeverity.Critical
Warning = t.AsyncErrorQueue.ErrorSeverity.Warning


@pytest.fixture
def reports(qapp):
    """The reports that the global queue delivers."""
    delivered = []

    def record(*report):
        delivered.append(report)

    queue = t.GetTheGlobalAsyncErrorQueue()
    queue.displayError.connect(record)
    yield delivered
    queue.displayError.disconnect(record)


WIDGET = object()  # stands for the test's widget in the table below


@pytest.mark.parametrize(
    "report, line, queued",
    [
        (lambda w: t.showWarningMessage("T", "S", "M", "D", w), "Warning: S: T : M", (Warning, "M", "D", WIDGET)),
        (lambda w: t.showWarningMessage("T", "S", "M\u20ac"), "Warning: S: T : M?", (Warning, "M\u20ac", "", None)),
        (lambda w: t.showCriticalMessage("T", "S", "M", "D", w), "Critical message: S : T : M : D",
         (Critical, "M", "D", WIDGET)),
        (lambda w: t.showCriticalMessage("T", "S", "M", w), "Critical message: S : T : M : ",
         (Critical, "M", "", WIDGET)),
        (lambda w: t.showException("S", ValueError("X\u00e4"), w), "Critical message: S : Error : X\u00e4 : ",
         (Critical, "X\u00e4", "", None)),
        (lambda w: t.showException("S", KeyError("k"), "M", w), "Critical message: S : Error : M : 'k'",
         (Critical, "M", "'k'", None)),
        (lambda w: t.showUnexpectedException("S", "M", w),
         "Critical message: S : Unexpected exception occurred : M : ", (Critical, "M", "", None)),
    ],
)
def test_report_is_logged_and_queued(qtbot, qtlog, reports, report, line, queued):
    widget = QWidget()
    report(widget)
    assert [record.message for record in qtlog.records] == [line]
    qtbot.waitUntil(lambda: len(reports) == 1)
    assert reports[0] == tuple(widget if v is WIDGET else v for v in queued)


def test_own_queue_takes_reports_with_and_without_parent():
    queue = t.AsyncErrorQueue()
    assert queue.reportErrorAsync(Warning, "first", "", None)
    assert queue.reportErrorAsync(Critical, "second", "")
    assert queue.count() == 2
    queue.clear()
    assert queue.count() == 0
