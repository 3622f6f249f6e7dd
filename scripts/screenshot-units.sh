#!/usr/bin/env bash
# Shows the unit selection, the long-term storage screen, the new-storage dialog
# and the folder tree over a fresh installation in a temporary folder, under a
# virtual X server, and takes a screenshot of each, so a person can check the look.
#   scripts/screenshot-units.sh [build-dir] [output-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/screenshots}
mkdir -p "$out"

[ -f "$build/build.ninja" ] || bash scripts/configure.sh "$build"
cmake --build "$build" --target quorvel_ui setup_data -- -j2

bash scripts/build-demo.sh "$build" scripts/units-demo.cpp "$build/units-demo"

for scene in ${QUORVEL_SCENES:-units archive storage new folders}; do
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
        QT_QPA_PLATFORM=xcb "$1" "$2" "$3" &
        demo=$!
        sleep 3
        import -window root "$4"
        kill "$demo"
        wait "$demo" 2>/dev/null || true
    ' screenshot "$build/units-demo" "$(realpath "$build/bin/setup")" "$scene" "$out/units-$scene.png"
    echo "$out/units-$scene.png"
done
