#!/usr/bin/env bash
# Shows the tile menus, the screen bases, the message list, a notice and every
# icon in a real window under Xvfb and takes a screenshot of each scene, so a
# person can check the look (tiles, icons, captions, focus and hover colours).
#   scripts/screenshot-tiles.sh [build-dir] [output-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/screenshots}
mkdir -p "$out"

[ -f "$build/build.ninja" ] || bash scripts/configure.sh "$build"
bash scripts/build-demo.sh "$build" scripts/tiles-demo.cpp "$build/tiles-demo"

for scene in main users dialog icons; do
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
        QT_QPA_PLATFORM=xcb "$1" "$2" &
        demo=$!
        sleep 3
        import -window root "$3"
        kill "$demo"
        wait "$demo" 2>/dev/null || true
    ' screenshot "$build/tiles-demo" "$scene" "$out/tiles-$scene.png"
    echo "$out/tiles-$scene.png"
done
