#!/usr/bin/env bash
# Checks our flashcard package with the npm package anki-reader, run by
# Node.js. Installs it into the build folder with npm (from the registry the
# machine's npm configuration names) the first time.
# Usage: anki_reader.sh <anki_package> <work folder> <source folder>
set -euo pipefail
tool=$1
work=$2
source=$3
version=0.3.0

for program in node npm; do
    if ! command -v "$program" > /dev/null; then
        echo "FAILED: the package check needs Node.js, but '$program' was not found." >&2
        echo "Install the packages of scripts/install-deps.sh (nodejs, npm)." >&2
        exit 1
    fi
done

mkdir -p "$work"
installed="$work/node_modules/anki-reader/package.json"
if [ ! -f "$installed" ] || ! grep -q "\"version\": \"$version\"" "$installed"; then
    npm install --prefix "$work" --no-save --no-audit --no-fund --no-package-lock "anki-reader@$version" > "$work/npm.log" 2>&1 || {
        cat "$work/npm.log" >&2
        echo "FAILED: npm could not install anki-reader@$version" >&2
        exit 1
    }
fi

"$tool" "$work/export.apkg" "$work/expected.json"
node "$source/anki_reader.mjs" "$work/node_modules" "$work/export.apkg" "$work/expected.json"
