// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/supportinfo.h>

#include "osrelease_p.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The most that is read from a file or a command's output: 4 MiB. Real os-release files, names and
// banners take a few hundred bytes; the bound keeps a broken or hostile source (a huge file, a
// command that writes without end) from costing seconds and gigabytes in the calling thread, which
// is often the GUI thread. A larger source counts as unreadable; it is never cut.
constexpr std::size_t maxSourceSize = 4 * 1024 * 1024;

// Reads what is left of fd; false when reading fails or more than maxSourceSize bytes come.
bool readBounded(int fd, std::string& contents)
{
    std::string buffer;
    char chunk[16 * 1024];
    ssize_t count;
    while ((count = read(fd, chunk, sizeof chunk)) != 0) {
        if (count > 0) {
            buffer.append(chunk, std::size_t(count));
        } else if (errno != EINTR) {
            return false;
        }
        if (buffer.size() > maxSourceSize) {
            return false;
        }
    }
    contents = std::move(buffer);
    return true;
}

// Reads a regular file whole, byte for byte. Anything else (a FIFO, a device, a directory) is
// unreadable, as is a file larger than maxSourceSize; contents is untouched then.
bool ReadFileToString(const char* path, std::string& contents)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer. O_NOCTTY: a terminal opened here must
    // not become the process's controlling terminal.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd == -1) {
        return false;
    }
    struct stat status;
    const bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && readBounded(fd, contents);
    close(fd);
    return ok;
}

// Drops one trailing line feed from text; false when no text is left.
bool chopLineFeed(std::string& text)
{
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return !text.empty();
}

// Cuts text to its first line, without the line feed; false when that line is empty.
bool keepFirstLine(std::string& text)
{
    text.resize(std::min(text.find('\n'), text.size()));
    return !text.empty();
}

// Replaces target by what the file at path gives after edit, when it is readable and edit succeeds.
bool readText(const char* path, bool (*edit)(std::string&), std::string& target)
{
    std::string text;
    if (!ReadFileToString(path, text) || !edit(text)) {
        return false;
    }
    target = std::move(text);
    return true;
}

// Runs command through the shell with its standard output redirected into a fresh temporary file
// and its standard error discarded. True when the command exited with status 0 and printed something
// besides one trailing line feed (which is dropped); output is untouched otherwise. The shell's file
// size limit (in blocks of 512 bytes) stops a command at one block beyond maxSourceSize, so that it
// fails, or its output is seen to be too large, instead of filling /tmp.
bool GetCommandOutput(const char* command, std::string& output)
{
    char path[] = "/tmp/cmd-outputXXXXXX";
    // O_CLOEXEC: a process forked by another thread before the close below
    // must not inherit the descriptor.
    const int fd = mkostemp(path, O_CLOEXEC);
    if (fd == -1) {
        return false;
    }
    close(fd);

    const std::string shellCommand
        = "{ ulimit -f " + std::to_string(maxSourceSize / 512 + 1) + "; " + command + "; } 2>/dev/null >" + path;
    const int status = std::system(shellCommand.c_str());
    const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && readText(path, chopLineFeed, output);
    std::remove(path);
    return ok;
}

bool readPrettyNameFromOsRelease(std::string& name)
{
    std::string contents;
    if (!ReadFileToString("/etc/os-release", contents)) {
        return false;
    }
    std::istringstream in(contents);
    return TavixQtBasePrivate::readPrettyName(in, name);
}

} // namespace

namespace Baselibs {

bool GetOsName(std::string& osName)
{
    if (!readPrettyNameFromOsRelease(osName) && !GetCommandOutput("lsb_release -ds", osName)
        && !readText("/etc/issue.net", keepFirstLine, osName)) {
        osName = "Some Linux";
    }
    osName += ", ";

    struct utsname system;
    if (uname(&system) != 0) {
        osName += "Some kernel";
        return false;
    }
    osName += system.sysname;
    osName += ' ';
    osName += system.release;
    osName += ", ";
    osName += system.machine;
    return true;
}

} // namespace Baselibs
