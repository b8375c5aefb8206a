# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""System and support information."""

import os
import shlex

import pytest

import tavixqtbase as t


def os_name() -> str:
    """PRETTY_NAME of /etc/os-release, the kernel and the machine, as the library writes them."""
    with open("/etc/os-release", encoding="utf-8") as release:
        fields = dict(line.split("=", 1) for line in release.read().splitlines() if "=" in line)
    system = os.uname()
    return f"{shlex.split(fields['PRETTY_NAME'])[0]}, {system.sysname} {system.release}, {system.machine}"


@pytest.mark.parametrize(
    "call, expected",
    [
        (lambda: t.Baselibs.GetOsName(), (True, os_name())),
        (lambda: t.ReplaceStrings("tavix $(tavixVer) on $(OSVer) / $(osver)"),
         f"tavix 5.0.1.1234-x86 on {os_name()} / $(osver)"),
        (lambda: t.GetVelnorSupportInfo(False),
         f"Hello Support,\n\nI'm using tavix 5.0.1.1234-x86 running on {os_name()}.\n\n"
         "<Please add camera model, serial number and problem description here>"),
        (lambda: t.GetVelnorSupportInfo(True).splitlines()[:3],
         ["To: support@tavix.example", "Subject: tavix Support Request", ""]),
        (lambda: bytes(t.GetFeedbackUrl(True).toEncoded()).decode(),
         "https://www.tavix.example/tavixfeedback?tavixver=tavix%205.0&os=Linux&language=en"),
        (lambda: t.GetVelnorUrl(), "https://www.tavix.example"),
        (lambda: t.GetHelpFilePath(), ""),
        (lambda: t.ShowHelpFile(t.EShowHelpFileFlag.ShowHelpFileModal, None, "help", "topic", 3), 0),
    ],
)
def test_text_matches_the_cpp_result(call, expected):
    assert call() == expected
