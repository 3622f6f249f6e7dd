#!/usr/bin/env bash
# Builds the Debian package from a build folder (default: build) and prints its
# path: the program, sound library, browser module, data, help, sounds, launcher, metainfo,
# MIME types and icons under /usr, with the dependencies dpkg-shlibdeps finds.
#   scripts/package.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bash scripts/install-deps.sh
bash scripts/configure.sh "$build"
cmake --build "$build" --target quorvel soundsystem webview downloads answer_sounds setup_data quorvel_help desktop_icons
out="$build/package"
rm -rf "$out" && mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" || { cat "$out/cpack.log" >&2; exit 1; }
deb=$(ls "$out"/quorvel_*.deb)
# The package must carry the FHS tree and name its libraries.
contents=$(dpkg-deb --contents "$deb")
for f in ./usr/bin/quorvel ./usr/lib/quorvel/soundsystem.so ./usr/lib/quorvel/webview.so ./usr/lib/quorvel/downloads.so ./usr/share/quorvel/setup/checksums.txt \
         ./usr/share/applications/org.quorvel.Quorvel.desktop ./usr/share/mime/packages/org.quorvel.Quorvel.xml; do
    grep -q " $f\$" <<< "$contents" || { echo "package lacks $f" >&2; exit 1; }
done
depends=$(dpkg-deb --field "$deb" Depends)
for d in libqt6widgets6 libsdl2-mixer libpugixml1v5 libqt6svg6; do
    grep -q "$d" <<< "$depends" || { echo "package does not depend on $d: $depends" >&2; exit 1; }
done
echo "$deb"
