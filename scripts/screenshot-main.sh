#!/usr/bin/env bash
# Starts the built program under Xvfb on a fresh home and takes a screenshot of
# the first screen (the user selection) and, with automatic login, of the main menu.
#   scripts/screenshot-main.sh [build-dir] [out-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-/tmp/quorvel-shots}
mkdir -p "$out"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
shoot() {
    HOME="$home" XDG_DATA_HOME="$home/.local/share" SDL_AUDIODRIVER=dummy \
        xvfb-run -a -s "-screen 0 1024x768x24" bash -c "\"$build/bin/quorvel\" & pid=\$!; sleep 5; import -window root \"$1\"; kill \$pid"
}
shoot "$out/user-selection.png"
sed -i 's|<autoload>false</autoload>|<autoload>true</autoload>|' "$home/.local/share/Quorvel 8/Data/Options.xml"
shoot "$out/main-menu.png"
echo "Screenshots in $out"
