#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and starts the installed
# program on a fresh home: it must find its sound library, browser module, help, sounds and
# setup data in the FHS places and install the data on its first start.
#   scripts/install-check.sh [build-dir] [screenshot.png]
# With a screenshot file the program runs under Xvfb and the screen is
# captured; without one it runs offscreen (as in the test suite).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
shot=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log"

missing=0
for f in bin/quorvel lib/quorvel/soundsystem.so lib/quorvel/webview.so lib/quorvel/downloads.so \
         share/quorvel/Sounds/right.wav share/quorvel/Sounds/wrong.wav \
         share/quorvel/help/Quorvel8.qhc share/quorvel/help/Quorvel8.qch \
         share/quorvel/setup/appdata/Data/Options.xml share/quorvel/setup/checksums.txt \
         share/quorvel/setup/documents/Benutzer/Lernender.qxs \
         share/applications/org.quorvel.Quorvel.desktop share/metainfo/org.quorvel.Quorvel.metainfo.xml \
         share/mime/packages/org.quorvel.Quorvel.xml \
         share/icons/hicolor/scalable/apps/org.quorvel.Quorvel.svg \
         share/icons/hicolor/48x48/apps/org.quorvel.Quorvel.png \
         share/icons/hicolor/256x256/apps/org.quorvel.Quorvel.png; do
    if [ ! -e "$prefix/$f" ]; then echo "not installed: $f" >&2; missing=1; fi
done
[ "$missing" -eq 0 ] || exit 1
# Nothing of the build folder may be needed any more.
if find "$prefix/bin" -mindepth 1 ! -name quorvel | grep -q .; then
    echo "bin/ holds more than the program:" >&2; ls -la "$prefix/bin" >&2; exit 1
fi

home=$work/home
mkdir -p "$home"
# A fresh home, the answer sounds going nowhere, and the automatic login of the
# installed profile so that the main menu shows.
run_env=(env -u QUORVEL_APPDATA -u QUORVEL_DOCUMENTS HOME="$home" XDG_DATA_HOME="$home/.local/share"
         XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" SDL_AUDIODRIVER=dummy)
appdata="$home/.local/share/Quorvel 8"
start() { # <seconds> <command...>
    local seconds=$1; shift
    "${run_env[@]}" "$@" > "$work/program.log" 2>&1 &
    local pid=$!
    sleep "$seconds"
    if ! kill -0 "$pid" 2> /dev/null; then
        echo "the installed program ended early:" >&2; cat "$work/program.log" >&2; exit 1
    fi
    echo "$pid"
}
# The first start installs the data from share/quorvel/setup.
pid=$(start 6 env QT_QPA_PLATFORM=offscreen "$prefix/bin/quorvel")
kill "$pid"; wait "$pid" 2> /dev/null || true
for f in "Data/Options.xml" "Data/QueryOptions.crc" "Languages/Englisch.qxl"; do
    [ -e "$appdata/$f" ] || { echo "first start did not install $f" >&2; exit 1; }
done
[ -e "$home/Documents/Quorvel 8/Benutzer/Lernender.qxs" ] || { echo "no documents installed" >&2; exit 1; }
sed -i 's|<autoload>false</autoload>|<autoload>true</autoload>|' "$appdata/Data/Options.xml"

# The due report of the installed program.
"${run_env[@]}" "$prefix/bin/quorvel" --due

if [ -n "$shot" ]; then
    "${run_env[@]}" xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
        "\"$prefix/bin/quorvel\" \"$prefix/share/quorvel/setup/documents/Lektionen/Englisch - Grundwortschatz.qxu\" & pid=\$!; sleep 6; import -window root \"$shot\"; kill \$pid"
    echo "Screenshot in $shot"
fi
echo "Installed program works from $prefix."
