#!/usr/bin/env bash
# Takes a screenshot of the help window under a virtual X server, for a person to
# check the look: German texts complete, umlauts right, nothing cut off.
#   scripts/screenshot-help.sh [build-dir] [page] [output.png] [search]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
page=${2:-help_content.html}
out=${3:-/tmp/help.png}
mode=${4:-}

ninja -C "$build" -j2 quorvel_help_preview >/dev/null
preview="$build/bin/quorvel_help_preview"

# The preview runs until it is ended after the picture is taken.
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    QT_QPA_PLATFORM=xcb "$1" "$2" $4 &
    pid=$!
    sleep 4
    import -window root "$3"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
' _ "$preview" "$page" "$out" "$mode"
echo "$out"
