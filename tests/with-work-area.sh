#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

# Runs a command on its own virtual X server, whose one 800x600 screen has the
# work area that a window manager with panels on every side would publish:
# 700x500 pixels from (40, 30). Qt takes a screen's available geometry from it.
#
# Usage: tests/with-work-area.sh COMMAND [ARGUMENTS...]
set -euo pipefail

dir=$(mktemp -d)
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 800x600x24 3>"$dir/display" &
server=$!
trap 'kill "$server"; rm -rf "$dir"' EXIT
# Xvfb writes its display number when it accepts clients.
while [ ! -s "$dir/display" ]; do
    kill -0 "$server"
    sleep 0.1
done
# Without a session bus: on X11, Qt would reach for one (and start one).
export DISPLAY=":$(cat "$dir/display")" QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled:
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "40, 30, 700, 500"
"$@"
