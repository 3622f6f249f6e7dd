#!/usr/bin/env bash
# Builds the tests with the address and undefined-behaviour sanitizers and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/configure.sh build-asan -DENABLE_SANITIZERS=ON -DQUORVEL_BUILD_BENCH=OFF
cmake --build build-asan
export QT_QPA_PLATFORM=offscreen
# The web engine is built without the sanitizer and deletes with sizes that
# differ from its allocations; that check would only ever report the engine.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:new_delete_type_mismatch=0
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The community page's own tests load pages in the web engine, whose leaks
# are not ours and whose allocation stacks the sanitizer cannot follow into
# it: they run with everything but the leak check.
web='^InternetScreen\.'
ctest --test-dir build-asan --output-on-failure -j2 -E "$web"
ASAN_OPTIONS=${ASAN_OPTIONS/detect_leaks=1/detect_leaks=0} ctest --test-dir build-asan --output-on-failure -j2 -R "$web"
