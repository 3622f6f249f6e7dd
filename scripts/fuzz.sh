#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while (seconds,
# default 60) on a copy of its seed corpus. Fails when a target finds a crash,
# a leak or a hang.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/install-deps.sh
CC=clang CXX=clang++ bash scripts/configure.sh build-fuzz -DQUORVEL_BUILD_FUZZ=ON -DQUORVEL_BUILD_TESTS=OFF \
    -DQUORVEL_BUILD_BENCH=OFF
cmake --build build-fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in build-fuzz/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name=$(basename "$target")
    mkdir -p "$work/$name"
    if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$work/$name/"; fi
    echo "== $name for ${seconds}s"
    if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$work/$name-" "$work/$name" > "$work/$name.log" 2>&1; then
        tail -50 "$work/$name.log"
        mkdir -p build-fuzz/findings && cp "$work/$name"-* build-fuzz/findings/ 2>/dev/null || true
        echo "== $name FAILED"
        status=1
    else
        grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$work/$name.log" | tail -2
    fi
done
exit $status
