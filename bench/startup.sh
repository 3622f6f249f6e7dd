#!/usr/bin/env bash
# Start-up of the program against a bare Qt window, both under Xvfb in one
# run, interleaved; prints the medians and their ratio (QUORVEL_BENCH_ROUNDS
# rounds, default 9). The program works on scratch data folders.
#   bench/startup.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -f "$build/build.ninja" ] || bash scripts/configure.sh "$build"
cmake --build "$build" --target bench_Startup -- -j2 >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export QUORVEL_APPDATA="$scratch/appdata" QUORVEL_DOCUMENTS="$scratch/documents"
mkdir -m 700 "$scratch/runtime"
export HOME="$scratch" XDG_DATA_HOME="$scratch/.local/share" XDG_RUNTIME_DIR="$scratch/runtime" SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bench/bench_Startup" --benchmark_counters_tabular=true
