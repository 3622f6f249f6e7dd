#!/usr/bin/env bash
# Checks our FSRS scheduler against the reference implementation ts-fsrs, run
# by Node.js (installed into the build folder the first time).
# Usage: fsrs_reference.sh <fsrs_histories> <work folder> <source folder>
set -euo pipefail
tool=$1
work=$2
source=$3
version=5.4.2

. "$source/../support/npm_package.sh"
npm_package "$work" ts-fsrs "$version" "the FSRS reference check"

"$tool" 240 "$work/histories.jsonl"
node "$source/fsrs_reference.mjs" "$work/node_modules" "$work/histories.jsonl"
