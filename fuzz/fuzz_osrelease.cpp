// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Feeds arbitrary bytes as an os-release file to the library's PRETTY_NAME rule
// and compares the result with a second, independently written statement of
// the same rule.

#include "osrelease_p.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

const std::string untouched = "\x01untouched\x02";

// The rule, stated on the whole text: lines are the pieces between line
// feeds (a last piece without one counts, an empty piece after the last line
// feed does not); the first line that is "PRETTY_NAME" alone or starts with
// "PRETTY_NAME=" names the system.
bool expectedPrettyName(const std::string& text, std::string& name)
{
    static const std::string key = "PRETTY_NAME";
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.rfind(key, 0) != 0 || (line.size() > key.size() && line[key.size()] != '=')) {
            continue;
        }
        std::string value = line.size() > key.size() ? line.substr(key.size() + 1) : std::string();
        if (!value.empty() && value.front() == '"') {
            value.erase(0, 1);
        }
        name = value.substr(0, value.find('"'));
        return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    std::string name = untouched;
    const bool found = TavixQtBasePrivate::readPrettyName(in, name);

    std::string expected = untouched;
    const bool expectedFound = expectedPrettyName(text, expected);
    if (found != expectedFound || name != expected) {
        std::abort();
    }
    if (found && (name.find('"') != std::string::npos || name.find('\n') != std::string::npos)) {
        std::abort();
    }
    return 0;
}
