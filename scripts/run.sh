#!/usr/bin/env bash
# Sets up everything the program needs, builds it and starts it. On the first
# start the program installs its data (options, language profiles, a first
# user profile and sample lessons) into ~/.local/share and ~/Documents.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/configure.sh build
cmake --build build --target quorvel
exec ./build/bin/quorvel "$@"
