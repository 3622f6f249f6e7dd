#!/usr/bin/env bash
# Shows the update dialog (list, error and restart pages) over a local version
# service, the community screen (a local page and the page without a
# connection) and the about dialog under a virtual X server, and saves a
# picture of each, so a person can check the look.
#   scripts/screenshot-update.sh [build-dir] [output-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(realpath -m "${2:-$build/screenshots}")
mkdir -p "$out"

[ -f "$build/build.ninja" ] || bash scripts/configure.sh "$build"
cmake --build "$build" --target quorvel_ui -- -j2

bash scripts/build-demo.sh "$build" scripts/update-demo.cpp "$build/update-demo"

# The version service and the community page, served from a folder of their own.
site=$(mktemp -d)
trap 'kill "$server" 2>/dev/null || true; rm -rf "$site"' EXIT
cat > "$site/versioninfo" <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<root>
  <version>1</version>
  <updates>
    <update><version>8.0.2.0</version><date>12.01.2027</date><fullupdate>false</fullupdate>
      <text>Behebt einen Fehler beim Drucken von Grammatik-Lektionen</text><download>https://x.example/a.tar.xz</download></update>
    <update><version>8.1.0.0</version><date>03.03.2027</date><fullupdate>true</fullupdate>
      <text>Neue Abfrageart „Lückentext“
Schnellere Suche in großen Lektionen
Zwölf neue Beispiel-Lektionen</text><download>https://x.example/b.tar.xz</download></update>
  </updates>
</root>
XML
cat > "$site/community.html" <<'HTML'
<!DOCTYPE html><html lang="de"><head><meta charset="utf-8"><title>Quorvel Community</title>
<style>body{font-family:sans-serif;margin:30px;color:#333}h1{color:#2d5f8b;font-size:22px}a{color:#2d5f8b}</style></head>
<body><h1>Willkommen in der Quorvel Community</h1>
<p>Hier tauschen Lernende Lektionen aus und helfen einander.</p>
<ul><li><a href="quorvel://updates">Nach Updates suchen</a></li><li><a href="quorvel://help/help_updates.html">Hilfe zu Updates</a></li></ul>
</body></html>
HTML
port=$((20000 + RANDOM % 20000))
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >/dev/null 2>&1 &
server=$!
sleep 1

for scene in ${QUORVEL_SCENES:-list errors restart community offline about}; do
    QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu" \
        xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb "$build/update-demo" "$scene" \
        "$out/update-$scene.png" "http://127.0.0.1:$port/versioninfo" \
        "$([ "$scene" = offline ] && echo "http://127.0.0.1:9/" || echo "http://127.0.0.1:$port/community.html")"
    echo "$out/update-$scene.png"
done
