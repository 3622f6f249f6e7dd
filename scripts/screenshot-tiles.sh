#!/usr/bin/env bash
# Shows the tile menus, the screen bases, the message list, a notice and every
# icon in a real window under Xvfb and takes a screenshot of each scene, so a
# person can check the look (tiles, icons, captions, focus and hover colours).
#   scripts/screenshot-tiles.sh [build-dir] [output-dir]
# QUORVEL_UI_LIB names another build of the screens' library to link against.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/screenshots}
mkdir -p "$out"

[ -f "$build/build.ninja" ] || bash scripts/configure.sh "$build"
ui_lib=${QUORVEL_UI_LIB:-$build/ui/libquorvel_ui.a}
[ -n "${QUORVEL_UI_LIB:-}" ] || cmake --build "$build" --target quorvel_ui -- -j2

engine=()
for lib in app/libquorvel_app.a users/libquorvel_users.a statistics/libquorvel_statistics.a query/libquorvel_query.a \
    content/libquorvel_content.a core/libquorvel_core.a; do
    engine+=("$build/$lib")
done
# shellcheck disable=SC2046
g++ -std=c++20 -O1 -fPIC -I. $(pkg-config --cflags Qt6Widgets Qt6Svg Qt6Help) scripts/tiles-demo.cpp \
    -o "$build/tiles-demo" -Wl,--start-group "$ui_lib" "${engine[@]}" -Wl,--end-group \
    $(pkg-config --libs Qt6Widgets Qt6Svg Qt6Help) -lpugixml -ldl

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
