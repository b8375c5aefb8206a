#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Runs a command in a private network namespace of its own.
#
# Usage: scripts/private-network.sh COMMAND [ARGS...]
#
# GigE Vision discovery broadcasts on every interface it finds, so the camera
# programs and tests run where the only interface is a loopback interface of
# their own: nothing they send reaches the host's network, and no camera of the
# host answers them. The namespace is made with `unshare -n` as root and with
# `unshare -rn` (a user namespace of its own too) otherwise; its loopback
# interface is brought up, and TAVIX_PRIVATE_NETWORK names the namespace as
# /proc/self/ns/net does, so that a script can tell it already runs in one.
# Exits with 77 when no namespace can be made, otherwise with the command's
# exit code.
set -euo pipefail

if [[ $# -lt 1 || $1 == -h || $1 == --help ]]; then
    sed -n '9,19s/^# \{0,1\}//p' "$0"
    exit 2
fi
unshare=(unshare -n)
[[ $(id -u) -eq 0 ]] || unshare=(unshare -rn)
if ! "${unshare[@]}" true 2> /dev/null; then
    echo "private-network.sh: skipped: cannot make a private network namespace with ${unshare[*]}" >&2
    exit 77
fi
# shellcheck disable=SC2016 # expanded by the shell inside the namespace
exec "${unshare[@]}" bash -c 'ip link set lo up && TAVIX_PRIVATE_NETWORK=$(readlink /proc/self/ns/net) exec "$@"' \
    private-network.sh "$@"
