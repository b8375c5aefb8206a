// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

import QtQuick
import QtTest
import TavixQtBase
import TavixQtBaseTests

TestCase {
    name: "SupportInfo"

    function test_textsOfTheCppFunctions() {
        const qml = [SupportInfo.osName, SupportInfo.supportRequest(), SupportInfo.supportRequest(true),
                     String(SupportInfo.feedbackUrl()), String(SupportInfo.feedbackUrl(false)),
                     SupportInfo.webSiteUrl, SupportInfo.helpFilePath,
                     String(Number(SupportInfo.showHelpFile("topic", 3)))]
        compare(qml, Cpp.supportTexts())
        compare(SupportInfo.replaceStrings("on $(OSVer)"), "on " + SupportInfo.osName)
        verify(SupportInfo.contactSupport("s", "b"))
        verify(/^mailto:[^,]*\?subject=s&body=b$/.test(Cpp.takeOpenedUrls()))
    }
}
