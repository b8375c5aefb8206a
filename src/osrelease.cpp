// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "osrelease_p.h"

namespace TavixQtBasePrivate {

bool readPrettyName(std::istream& in, std::string& prettyName)
{
    static const std::string key = "PRETTY_NAME";
    std::string line;
    while (std::getline(in, line)) {
        const std::string::size_type equals = line.find('=');
        if (line.compare(0, equals, key) != 0) {
            continue;
        }
        // A bare "PRETTY_NAME" line without "=" names the key with an empty value.
        std::string::size_type begin = equals == std::string::npos ? line.size() : equals + 1;
        if (begin < line.size() && line[begin] == '"') {
            ++begin;
        }
        const std::string::size_type end = line.find('"', begin);
        prettyName = line.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        return true;
    }
    return false;
}

} // namespace TavixQtBasePrivate
