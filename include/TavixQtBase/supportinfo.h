// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_SUPPORTINFO_H
#define TAVIXQTBASE_SUPPORTINFO_H

#include <TavixQtBase/tavixqtbase_export.h>

#include <QFlags>
#include <QString>
#include <QUrl>

#include <string>

class QWidget;

/**
 * @file supportinfo.h
 * System information, support requests, the feedback page and the help entry points.
 *
 * @howtouse{supportinfo.h}
 *
 * @code
 * std::string os;
 * Baselibs::GetOsName(os);
 * // os == "Debian GNU/Linux 12 (bookworm), Linux 6.1.0-13-amd64, x86_64"
 *
 * QString line = ReplaceStrings(QStringLiteral("tavix $(tavixVer) on $(OSVer)"));
 * // line == "tavix 5.0.1.1234-x86 on Debian GNU/Linux 12 (bookworm), Linux 6.1.0-13-amd64, x86_64"
 *
 * // In the GUI thread, for a "Contact support" menu entry:
 * if (!ContactVelnorSupport()) {
 *     // no mail client is registered with the desktop
 * }
 * @endcode
 */

namespace Baselibs {

/**
 * Describes the running system in one line: "<distribution>, <sysname> <release>, <machine>".
 *
 * The distribution is the PRETTY_NAME of "/etc/os-release" (the first line whose key
 * is exactly "PRETTY_NAME"; one leading double quote is skipped and the value ends
 * before the next double quote or at the end of the line; nothing is unescaped or
 * trimmed; an empty value counts as found). Without one, the output of
 * "lsb_release -ds", then the first line of "/etc/issue.net" is used (one trailing
 * line feed dropped), and "Some Linux" when neither gives any text. The kernel part
 * comes from uname(); when uname() fails it reads "Some kernel".
 *
 * A source that cannot be read leads to the next one. Only regular files are read:
 * a FIFO, a device or a directory in place of a file counts as unreadable, and so
 * does a file or an output of more than 4 MiB, which is never cut (4 MiB itself
 * still comes whole). A command that writes more is stopped by a file size limit.
 *
 * Nothing is cached: each call reads the files again and runs "lsb_release -ds"
 * when os-release names no system (through the shell, its output captured in a
 * temporary file "/tmp/cmd-outputXXXXXX" that is removed again), blocking until it
 * ends, for at most about 2 s. A command that takes longer counts as giving no
 * name: it is killed together with every process it started that stayed in its
 * process group (the shell leads a group of its own), reaped, and its temporary
 * file is removed; the next source is tried. The command runs with an empty signal
 * mask and the default action for every signal, whatever the caller ignores or
 * blocks. No SIGCHLD handler is installed, and the command's answer does not
 * depend on the caller's: the shell reports the command's exit status itself,
 * through a pipe, so the name comes the same whether the caller leaves SIGCHLD
 * at its default, sets it to SIG_IGN or SA_NOCLDWAIT (the system reaps the
 * children), or reaps every child with waitpid(-1) in a SIGCHLD handler or in
 * another thread. The 2 s limit holds in every case, and the process group is
 * killed only while its shell still runs, never once the shell has ended and
 * its group may be gone. The bytes are taken as the system delivers them, with
 * no character conversion.
 *
 * May be called from any thread.
 *
 * @param osName replaced in every case; nothing it held before survives
 * @return true if uname() succeeded, false if the text ends in "Some kernel"
 *
 * @code
 * // /etc/os-release holds PRETTY_NAME="Debian GNU/Linux 12 (bookworm)"
 * std::string os = "old";
 * bool ok = Baselibs::GetOsName(os);
 * // ok == true, os == "Debian GNU/Linux 12 (bookworm), Linux 6.1.0-13-amd64, x86_64"
 * @endcode
 */
TAVIXQTBASE_EXPORT bool GetOsName(std::string& osName);

} // namespace Baselibs

/**
 * How ShowHelpFile() should show a help topic. No help viewer exists on this
 * platform, so every combination is accepted and ignored.
 */
enum EShowHelpFileFlag {
    ShowHelpFileDefault = 0x0, ///< show the topic in the application's help viewer
    ShowHelpFileModal = 0x1, ///< block the parent widget while the help is shown
    ShowHelpFileSearch = 0x2 ///< treat the topic as a search term instead of a page name
};
/** A combination of EShowHelpFileFlag values. */
Q_DECLARE_FLAGS(EShowHelpFileFlags, EShowHelpFileFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(EShowHelpFileFlags)

// Help entry points; both do nothing on this platform.

/** The path of the application's help file; always a null QString here (isNull() is true). */
TAVIXQTBASE_EXPORT QString GetHelpFilePath();

/**
 * Shows a help topic; ignores all of its arguments here and returns 0 (false).
 *
 * @param flags how to show the topic
 * @param parent the widget the help belongs to; may be null
 * @param helpFile the help file; may be null
 * @param topic the page or search term; may be null
 * @param contextId the numeric help context; any value
 */
TAVIXQTBASE_EXPORT int ShowHelpFile(
    EShowHelpFileFlags flags, QWidget* parent, const QString& helpFile, const QString& topic, int contextId);

// Feedback page and web site. The URLs are chosen when the library is configured
// (CMake cache variables TAVIXQTBASE_WEBSITE_URL and TAVIXQTBASE_SUPPORT_EMAIL).

/**
 * The feedback page, "<web site>/tavixfeedback".
 *
 * With @p withQuery it carries the query items "tavixver" ("tavix <major>.<minor>"
 * of the SDK), "os" ("Linux") and "language" ("de" when QLocale::system() is German
 * in any country, otherwise "en"), in this order. That URL is built once per process,
 * on the first call whatever its argument; later calls return copies of it, so later
 * locale changes do not reach it. Thread-safe.
 *
 * @code
 * // With the default configuration, SDK 5.0.1 and an English system locale:
 * GetFeedbackUrl(true).toEncoded()
 * // == "https://www.tavix.example/tavixfeedback?tavixver=tavix%205.0&os=Linux&language=en"
 * GetFeedbackUrl(false).toEncoded() // == "https://www.tavix.example/tavixfeedback"
 * @endcode
 */
TAVIXQTBASE_EXPORT QUrl GetFeedbackUrl(bool withQuery);

/** The web site's base URL without a trailing slash, for example "https://www.tavix.example". Thread-safe. */
TAVIXQTBASE_EXPORT QString GetVelnorUrl();

/**
 * Opens GetFeedbackUrl(true) through QDesktopServices::openUrl(). GUI thread only.
 *
 * @return false if the desktop could not open it (no browser registered)
 */
TAVIXQTBASE_EXPORT bool OpenFeedbackUrl();

// Support requests.

/**
 * Fills in the placeholders of @p text: every "$(tavixVer)" becomes the SDK's
 * version string followed by "-x86", every "$(OSVer)" becomes
 * Baselibs::GetOsName() decoded as UTF-8, with every control character in it
 * (U+0000 to U+001F and U+007F, tabs and line feeds included, and U+0080 to
 * U+009F after decoding) replaced by U+FFFD, the mark that bytes which are not
 * UTF-8 get as well: a NUL would reach a mail as %00, which mail clients refuse,
 * and a line break would split the line. A name without control characters comes
 * through unchanged. Matching is case-sensitive. The SDK is asked, and the system
 * examined (which may start shell commands), only when the placeholder occurs in
 * @p text; a text without placeholders comes back unchanged.
 * A null @p text gives a null result. May be called from any thread.
 *
 * @code
 * ReplaceStrings(QStringLiteral("v$(tavixVer) / $(tavixver)"))
 * // == "v5.0.1.1234-x86 / $(tavixver)"
 * @endcode
 */
TAVIXQTBASE_EXPORT QString ReplaceStrings(const QString& text);

/**
 * Opens the desktop's mail client with a mail to the support address, through a
 * "mailto:" URL with the query items "subject" and "body" (both passed through
 * ReplaceStrings() first). Every character of the texts travels as data:
 * "&", "=", "+", "#", "?", line breaks and non-ASCII text are percent-encoded, so
 * no text can add a recipient or another item. GUI thread only.
 *
 * @return the result of QDesktopServices::openUrl(): false if no mail client is registered
 */
TAVIXQTBASE_EXPORT bool ContactVelnorSupport2(const QString& subject, const QString& body);

/**
 * The standard support request, with the SDK version and the system filled in.
 *
 * @param withHeader prepend the lines "To: <support address>", "Subject: tavix Support Request" and an empty line
 *
 * @code
 * GetVelnorSupportInfo(false)
 * // == "Hello Support,\n\n"
 * //    "I'm using tavix 5.0.1.1234-x86 running on Debian GNU/Linux 12 (bookworm), Linux 6.1.0-13-amd64, x86_64.\n\n"
 * //    "<Please add camera model, serial number and problem description here>"
 * @endcode
 * May be called from any thread.
 */
TAVIXQTBASE_EXPORT QString GetVelnorSupportInfo(bool withHeader);

/**
 * Opens the mail client with the standard support request: ContactVelnorSupport2()
 * with the subject "tavix Support Request" and GetVelnorSupportInfo(false) as body.
 * GUI thread only.
 */
TAVIXQTBASE_EXPORT bool ContactVelnorSupport();

#endif
