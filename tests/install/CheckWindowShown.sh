#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window program, started as a user starts it, shows its main window: on a display of its own,
# with a home of its own, looked at from outside the way a window manager sees it.
set -euo pipefail
program=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/run"
export XDG_RUNTIME_DIR=$home/run HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share QT_QPA_PLATFORM=xcb
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    "$1" & pid=$!
    # Shown means mapped, not only created; the bound only keeps a broken start finite.
    for _ in $(seq 600); do
        if xwininfo -name Zantrove 2>/dev/null | grep -q "Map State: IsViewable"; then
            kill "$pid"; wait "$pid" || true; exit 0
        fi
        kill -0 "$pid" 2>/dev/null || { echo "the program ended without showing its window"; exit 1; }
        sleep 0.1
    done
    kill "$pid"; echo "no main window was shown"; exit 1' check "$program"
