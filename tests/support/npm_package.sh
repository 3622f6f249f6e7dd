#!/usr/bin/env bash
# Makes sure Node.js is there and the npm package <name>@<version> is installed
# in <work folder>/node_modules, installing it (from the registry the machine's
# npm configuration names) the first time. Sourced by the checks that let a
# reader we did not write judge our output.
# Usage: npm_package <work folder> <name> <version> <what needs it>
npm_package() {
    local work=$1 name=$2 version=$3 purpose=$4 program
    for program in node npm; do
        if ! command -v "$program" > /dev/null; then
            echo "FAILED: $purpose needs Node.js, but '$program' was not found." >&2
            echo "Install the packages of scripts/install-deps.sh (nodejs, npm)." >&2
            exit 1
        fi
    done
    mkdir -p "$work"
    local installed="$work/node_modules/$name/package.json"
    if [ ! -f "$installed" ] || ! grep -q "\"version\": \"$version\"" "$installed"; then
        npm install --prefix "$work" --no-save --no-audit --no-fund --no-package-lock "$name@$version" > "$work/npm.log" 2>&1 || {
            cat "$work/npm.log" >&2
            echo "FAILED: npm could not install $name@$version" >&2
            exit 1
        }
    fi
}
