#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Makes this machine run 32-bit x86 programs, which the i386 steps of
# scripts/test.sh build and test. A kernel built with IA32 emulation runs them
# itself; on one without it, they run under qemu-i386 (Debian's qemu-user,
# from bookworm-backports), registered with binfmt_misc for every i386 ELF file. The
# handler is opened once at registration ("F"), so it also serves programs in
# chroots and private mount namespaces, as the Debian package tests start them.
# Prints how the programs run: "native" or "qemu-i386"; exits with 1 when
# neither works, and says why on standard error.
#   scripts/i386-exec.sh
set -uo pipefail

probe_dir=$(mktemp -d)
trap 'rm -rf "$probe_dir"' EXIT

# A dynamically linked program, so that the i386 loader and C library are
# tried as well as the kernel.
runs_i386() {
    [ -x "$probe_dir/probe" ] || {
        echo 'int main(void) { return 42; }' >"$probe_dir/probe.c"
        i686-linux-gnu-gcc -o "$probe_dir/probe" "$probe_dir/probe.c" || return 2
    }
    "$probe_dir/probe" 2>/dev/null
    [ $? -eq 42 ]
}

binfmt=/proc/sys/fs/binfmt_misc
# A handler registered with binfmt_misc is tried before the kernel's own.
if runs_i386; then
    if grep -qx enabled "$binfmt/qemu-i386" 2>/dev/null; then
        echo qemu-i386
    else
        echo native
    fi
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
if [ ! -e "$binfmt/register" ]; then
    "${as_root[@]}" mount -t binfmt_misc binfmt_misc "$binfmt" || {
        echo "this kernel runs no 32-bit x86 programs, and binfmt_misc cannot be mounted" >&2
        exit 1
    }
fi
# Qt's QProcess starts children with clone(CLONE_PIDFD), which bookworm's qemu
# 7.2 refuses (EINVAL); the backported qemu runs it.
if [ ! -x /usr/bin/qemu-i386 ]; then
    backports=/etc/apt/sources.list.d/bookworm-backports.sources
    if [ ! -e "$backports" ]; then
        printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm-backports' \
            'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' \
            | "${as_root[@]}" tee "$backports" >/dev/null
    fi
    "${as_root[@]}" apt-get update \
        && "${as_root[@]}" apt-get install --yes --no-install-recommends -t bookworm-backports qemu-user \
        || exit 1
fi
if [ ! -e "$binfmt/qemu-i386" ]; then
    # ELF, 32-bit, little-endian, executable or shared object, machine 386.
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386:F" \
        | "${as_root[@]}" tee "$binfmt/register" >/dev/null || exit 1
fi
if runs_i386; then
    echo qemu-i386
    exit 0
fi
echo "32-bit x86 programs run neither natively nor under qemu-i386" >&2
exit 1
