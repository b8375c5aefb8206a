# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""Fixtures of the tests of the Python module tavixqtbase.

The expected texts are the C++ library's results for the same inputs, as its
QtTest tests pin them: a changed C++ result fails these tests too.
"""

import pytest
from PyQt6.QtCore import QtMsgType, qInstallMessageHandler


@pytest.fixture
def log_lines():
    """The texts that reach Qt's message handler while the test runs."""
    lines = []

    def handler(_kind: QtMsgType, _context, text: str) -> None:
        lines.append(text)

    previous = qInstallMessageHandler(handler)
    yield lines
    qInstallMessageHandler(previous)
