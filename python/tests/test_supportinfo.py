# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""System and support information through the bindings."""

import os

import tavixqtbase as t


def test_support_texts_through_the_bindings():
    complete, name = t.Baselibs.GetOsName()
    assert complete is True and name.endswith(f", Linux {os.uname().release}, {os.uname().machine}")
    assert t.ReplaceStrings("tavix $(tavixVer) on $(OSVer)") == f"tavix 5.0.1.1234-x86 on {name}"
    assert t.GetVelnorSupportInfo(True).startswith("To: support@tavix.example\nSubject: tavix Support Request\n\n")
    assert bytes(t.GetFeedbackUrl(True).toEncoded()).decode() == (
        "https://www.tavix.example/tavixfeedback?tavixver=tavix%205.0&os=Linux&language=en")
    assert (t.GetVelnorUrl(), t.GetHelpFilePath()) == ("https://www.tavix.example", "")
    assert t.ShowHelpFile(t.EShowHelpFileFlag.ShowHelpFileModal, None, "help", "topic", 3) == 0
