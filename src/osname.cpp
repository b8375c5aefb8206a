#include <TavixQtBase/supportinfo.h>

#include "osrelease_p.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

// Reads the whole file byte for byte. Leaves contents untouched when the file
// cannot be opened; an empty file gives an empty string.
static bool ReadFileToString(const char* path, std::string& contents)
{
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) {
        return false;
    }
    std::ostringstream buffer;
    buffer << file.rdbuf();
    contents = buffer.str();
    return true;
}

// Runs command through the shell with its standard output redirected into a
// fresh temporary file and its last command's standard error discarded. True
// when the command exited with status 0 and printed something besides one
// trailing line feed (which is dropped); output is untouched when the command
// could not run or failed.
static bool GetCommandOutput(const char* command, std::string& output)
{
    char path[] = "/tmp/cmd-outputXXXXXX";
    // O_CLOEXEC: a process forked by another thread before the close below
    // must not inherit the descriptor.
    const int fd = mkostemp(path, O_CLOEXEC);
    if (fd == -1) {
        return false;
    }
    close(fd);

    const std::string shellCommand = std::string(command) + " 2>/dev/null >" + path;
    const int status = std::system(shellCommand.c_str());
    bool ok = status != -1 && WEXITSTATUS(status) == 0 && ReadFileToString(path, output);
    if (ok) {
        if (!output.empty() && output.back() == '\n') {
            output.pop_back();
        }
        ok = !output.empty();
    }
    std::remove(path);
    return ok;
}

static bool readPrettyNameFromOsRelease(std::string& name)
{
    std::ifstream file("/etc/os-release");
    return file.is_open() && TavixQtBasePrivate::readPrettyName(file, name);
}

namespace Baselibs {

bool GetOsName(std::string& osName)
{
    if (!readPrettyNameFromOsRelease(osName) && !GetCommandOutput("lsb_release -ds", osName)
        && !GetCommandOutput("cat /etc/issue.net | head -n1", osName)) {
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
