#!/usr/bin/env bash
# Checks our flashcard package with the npm package anki-reader, run by Node.js.
# Usage: anki_reader.sh <anki_package> <work folder> <source folder>
set -euo pipefail
tool=$1
work=$2
source=$3
. "$source/../support/npm_package.sh"
npm_package "$work" anki-reader 0.3.0 "the check of the flashcard package"

"$tool" "$work/export.apkg" "$work/expected.json"
node "$source/anki_reader.mjs" "$work/node_modules" "$work/export.apkg" "$work/expected.json"
