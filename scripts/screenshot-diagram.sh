#!/usr/bin/env bash
# Draws sample success diagrams (statistics screen on a time axis and spread
# evenly, the query result screen with several and with a single query) into
# PNG files, for a person to check the look: lines, bands, frame, labels.
#   scripts/screenshot-diagram.sh [build-dir] [output-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/screenshots}
mkdir -p "$out"

[ -f "$build/build.ninja" ] || bash scripts/configure.sh "$build"
ninja -C "$build" -j2 test_statistics >/dev/null
QT_QPA_PLATFORM=offscreen QUORVEL_DIAGRAM_OUT="$out" "$build/bin/test_statistics" \
    --gtest_also_run_disabled_tests --gtest_filter='SampleDiagrams.*' | grep '\.png$'
