#!/usr/bin/env bash
# Shows each card editor with a card of a sample lesson, the new-lesson dialog
# and the unit editor in the main window over a fresh installation, under a
# virtual X server, and takes a screenshot of each, so a person can check the look.
#   scripts/screenshot-editors.sh [build-dir] [output-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/screenshots}
mkdir -p "$out"

[ -f "$build/build.ninja" ] || bash scripts/configure.sh "$build"
cmake --build "$build" --target quorvel_ui setup_data soundsystem -- -j2

# The demo lives beside the program, so it finds the sound library and the help file.
bash scripts/build-demo.sh "$build" scripts/editors-demo.cpp "$build/bin/editors-demo"

for scene in ${QUORVEL_SCENES:-voc sound grammar picture new unitedit}; do
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
        QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy "$1" "$2" "$3" &
        demo=$!
        sleep 5
        import -window root "$4"
        kill "$demo"
        wait "$demo" 2>/dev/null || true
    ' screenshot "$build/bin/editors-demo" "$(realpath "$build/bin/setup")" "$scene" "$out/editors-$scene.png" || true
    echo "$out/editors-$scene.png"
done
