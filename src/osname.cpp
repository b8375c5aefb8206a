// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include <TavixQtBase/supportinfo.h>

#include "osrelease_p.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <sstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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

// The longest a command may run. Real commands answer in a fraction of a second; one that hangs
// (a stuck lsb_release, a name service that does not answer) must not freeze the calling thread,
// which is often the GUI thread, so it counts as a failed source instead.
constexpr std::chrono::milliseconds commandTimeout(2000);

using Clock = std::chrono::steady_clock;

// Starts "/bin/sh -c commandText" as the leader of a new process group, so that the shell can be
// stopped together with everything it started, with its standard output on outputFd. The child
// gets an empty signal mask and the default action for every signal: a caller that ignores SIGPIPE
// or blocks SIGCHLD must not change how the commands behave. Gives the shell's pid, or -1 when it
// could not be started.
pid_t spawnShell(std::string commandText, int outputFd)
{
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t files;
    if (posix_spawn_file_actions_init(&files) != 0) {
        posix_spawnattr_destroy(&attributes);
        return -1;
    }
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigset_t allSignals;
    sigfillset(&allSignals);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setsigdefault(&attributes, &allSignals);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    // Also when outputFd is 1 already: the action then clears its close-on-exec flag.
    posix_spawn_file_actions_adddup2(&files, outputFd, STDOUT_FILENO);

    char shell[] = "sh";
    char option[] = "-c";
    char* const arguments[] = { shell, option, commandText.data(), nullptr };
    pid_t pid = -1;
    const int error = posix_spawn(&pid, "/bin/sh", &files, &attributes, arguments, environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    return error == 0 ? pid : -1;
}

// Reads fd to its end into text, of which the first 64 bytes or more are kept, waiting until
// deadline at most; false when the end has not come by then or reading fails.
bool readToEnd(int fd, Clock::time_point deadline, std::string& text)
{
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd readable { fd, POLLIN, 0 };
        const int ready = left > 0 ? poll(&readable, 1, int(left)) : 0;
        if (ready == -1 && errno == EINTR) {
            continue; // a signal handler of the caller, one that reaps children for instance, ran
        }
        if (ready != 1) {
            return false;
        }
        char chunk[64];
        const ssize_t count = read(fd, chunk, sizeof chunk);
        if (count == 0) {
            return true;
        }
        if (count == -1 && errno != EINTR) {
            return false;
        }
        if (count > 0 && text.size() < sizeof chunk) {
            text.append(chunk, std::size_t(count));
        }
    }
}

// Whether the shell pid still runs. A running shell is not reaped, so its pid, which is also the id
// of the process group that it leads, cannot have been given to another process. Once it has
// ended, someone else may reap it at any time: the system when the caller sets SIGCHLD to SIG_IGN
// or SA_NOCLDWAIT, or the caller when it reaps every child (waitpid(-1) in a SIGCHLD handler or in
// another thread).
bool isRunning(pid_t pid)
{
    siginfo_t info {};
    return waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
}

// Gives the shell pid until deadline to end, then kills its process group while it still runs;
// reaps the shell unless someone else has. The library installs no SIGCHLD handler, so it polls,
// with pauses that grow from 1 ms to 32 ms: a quick end costs little delay, a slow one few wake-ups.
void endShell(pid_t pid, Clock::time_point deadline)
{
    std::chrono::milliseconds pause(1);
    while (isRunning(pid)) {
        if (Clock::now() >= deadline) {
            kill(-pid, SIGKILL);
            break;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(32));
    }
    while (waitpid(pid, nullptr, 0) == -1 && errno == EINTR) { }
}

// Runs commandText through the shell; true when it exited with status 0 within commandTimeout.
// The shell itself reports the status, through a pipe on its standard output, so that it is known
// whoever reaps the shell: the pipe's end says that the shell has finished. A shell that takes
// longer is killed with its whole process group.
bool runShell(const std::string& commandText)
{
    int statusPipe[2];
    if (pipe2(statusPipe, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t pid = spawnShell(commandText + "; echo $?", statusPipe[1]);
    close(statusPipe[1]);
    const auto deadline = Clock::now() + commandTimeout;
    std::string status;
    const bool finished = pid != -1 && readToEnd(statusPipe[0], deadline, status);
    close(statusPipe[0]);
    if (pid != -1) {
        endShell(pid, deadline);
    }
    return finished && status == "0\n";
}

// Runs command through the shell with its standard output redirected into a fresh temporary file
// and its standard error discarded. True when the command exited with status 0 within
// commandTimeout and printed something besides one trailing line feed (which is dropped); output
// is untouched otherwise. The shell's file size limit (in blocks of 512 bytes) stops a command at
// one block beyond maxSourceSize, so that it fails, or its output is seen to be too large, instead
// of filling /tmp.
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
    const bool ok = runShell(shellCommand) && readText(path, chopLineFeed, output);
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
