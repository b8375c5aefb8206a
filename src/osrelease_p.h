// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#ifndef TAVIXQTBASE_OSRELEASE_P_H
#define TAVIXQTBASE_OSRELEASE_P_H

// Not part of the library's interface: the rule that picks the distribution's
// name out of an os-release file. It lives in its own source file so that the
// fuzz target can compile it directly, without a wider export of the library.

#include <istream>
#include <string>

namespace TavixQtBasePrivate {

/**
 * Reads @p in line by line and looks for the first line whose key (the text
 * before the first "=", or the whole line) is exactly "PRETTY_NAME". From that
 * line's value one leading double quote is skipped; the name ends before the
 * next double quote or at the end of the line. Nothing is unescaped or trimmed.
 *
 * @return true and @p prettyName replaced (also by an empty name) when such a
 *         line exists; false and @p prettyName untouched otherwise
 */
bool readPrettyName(std::istream& in, std::string& prettyName);

} // namespace TavixQtBasePrivate

#endif
