# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# The clean Debian 12 root of the Debian package tests: prepare_root(), which
# unpacks a root image into ROOT, and in_root, the command that runs a command
# there. The image is made once with mmdebstrap, a Debian 12 system with apt
# for the architectures given, with the packages named downloaded into it, and
# kept. Its apt sources are this machine's without the security suites: the
# tests need no security update, and a security index that lags behind
# (a mirror still syncing) would fail apt, or give an amd64 library a version
# with no i386 twin. apt gives up on a mirror after 30 s without an answer, and
# mmdebstrap as a whole after 30 minutes.

# The machine's apt sources without the security suites, in the format that
# mmdebstrap reads from its standard input.
function(root_sources output)
    set(sources /etc/apt/sources.list.d/debian.sources)
    if(EXISTS ${sources})
        file(READ ${sources} text)
        # One stanza per list element; those whose suites are security ones go.
        string(REPLACE ";" "\\;" text "${text}")
        string(REGEX REPLACE "\n[ \t]*\n" ";" stanzas "${text}")
        list(FILTER stanzas EXCLUDE REGEX "\nSuites:[^\n]*-security")
        list(JOIN stanzas "\n\n" text)
    else()
        file(STRINGS /etc/apt/sources.list lines REGEX "^deb ")
        list(FILTER lines EXCLUDE REGEX "-security")
        list(JOIN lines "\n" text)
    endif()
    file(WRITE ${output} "${text}\n")
endfunction()

# Makes IMAGE for the architectures ARCHITECTURES (comma-separated, the first
# the root's own; empty for this machine's) with the packages DOWNLOADS downloaded into it, or sets
# skip_reason to why it cannot.
function(make_root_image image architectures downloads)
    find_program(MMDEBSTRAP mmdebstrap)
    execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT MMDEBSTRAP OR NOT uid EQUAL 0)
        set(skip_reason "it needs mmdebstrap and root rights" PARENT_SCOPE)
        return()
    endif()
    root_sources(${image}.sources)
    string(JOIN " " downloads ${downloads})
    set(architecture_option "")
    if(architectures)
        set(architecture_option --architectures=${architectures})
    endif()
    execute_process(COMMAND ${MMDEBSTRAP} --variant=apt ${architecture_option} --format=tar
            --skip=cleanup/apt "--aptopt=Acquire::http::Timeout \"30\"" "--aptopt=Acquire::Retries \"2\""
            "--customize-hook=chroot \"$1\" apt-get install --download-only --yes --no-install-recommends ${downloads}"
            bookworm ${image}.part -
        INPUT_FILE ${image}.sources TIMEOUT 1800 RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        file(REMOVE ${image}.part)
        string(REGEX MATCH "[^\n]*\n[^\n]*\n?$" err "${err}")
        set(skip_reason "mmdebstrap failed (${status}): ${err}" PARENT_SCOPE)
        return()
    endif()
    file(RENAME ${image}.part ${image})
endfunction()

# Unpacks IMAGE into ROOT, after making it if need be (see make_root_image()),
# and sets in_root and apt_install, the command that installs packages there;
# or sets skip_reason to why it cannot.
function(prepare_root image root architectures downloads)
    set(skip_reason "" PARENT_SCOPE)
    if(NOT EXISTS ${image})
        make_root_image(${image} "${architectures}" "${downloads}")
        if(NOT EXISTS ${image})
            set(skip_reason "${skip_reason}" PARENT_SCOPE)
            return()
        endif()
    endif()
    file(REMOVE_RECURSE ${root})
    file(MAKE_DIRECTORY ${root})
    run(tar --extract --file ${image} --directory ${root})
    set(in_root unshare --mount --pid --fork --mount-proc=${root}/proc chroot ${root}
        env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen)
    execute_process(COMMAND ${in_root} true RESULT_VARIABLE status ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        set(skip_reason "commands cannot run in it: ${err}" PARENT_SCOPE)
        return()
    endif()
    set(in_root ${in_root} PARENT_SCOPE)
    set(apt_install ${in_root} DEBIAN_FRONTEND=noninteractive apt-get install --yes --no-install-recommends
        -o Dpkg::Use-Pty=0 PARENT_SCOPE)
endfunction()
