#!/usr/bin/env bash
# Checks our FSRS scheduler against the reference implementation ts-fsrs, run
# by Node.js. Installs ts-fsrs into the build folder with npm (from the
# registry the machine's npm configuration names) the first time.
# Usage: fsrs_reference.sh <fsrs_histories> <work folder> <source folder>
set -euo pipefail
tool=$1
work=$2
source=$3
version=5.4.2

for program in node npm; do
    if ! command -v "$program" > /dev/null; then
        echo "FAILED: the FSRS reference check needs Node.js, but '$program' was not found." >&2
        echo "Install the packages of scripts/install-deps.sh (nodejs, npm)." >&2
        exit 1
    fi
done

mkdir -p "$work"
installed="$work/node_modules/ts-fsrs/package.json"
if [ ! -f "$installed" ] || ! grep -q "\"version\": \"$version\"" "$installed"; then
    npm install --prefix "$work" --no-save --no-audit --no-fund --no-package-lock "ts-fsrs@$version" > "$work/npm.log" 2>&1 || {
        cat "$work/npm.log" >&2
        echo "FAILED: npm could not install ts-fsrs@$version" >&2
        exit 1
    }
fi

"$tool" 240 "$work/histories.jsonl"
node "$source/fsrs_reference.mjs" "$work/node_modules" "$work/histories.jsonl"
