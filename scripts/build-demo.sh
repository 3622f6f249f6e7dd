#!/usr/bin/env bash
# Builds a demo program (a source that shows the program's screens) with the
# compile and link commands of the program itself, its source in place of
# main.cpp, so that the demos follow every library the program links.
#   scripts/build-demo.sh build-dir source.cpp output [extra compile flags...]
set -euo pipefail
build=$1
source=$(realpath "$2")
output=$(realpath -m "$3")
shift 3
cmake --build "$build" --target quorvel -- -j2 >/dev/null
cd "$build"
commands=$(ninja -t commands bin/quorvel)
compile=$(grep -E -- '-c [^ ]*/main\.cpp$' <<<"$commands" | tail -1)
link=$(grep -E -- '-o bin/quorvel( |$)' <<<"$commands" | tail -1)
[ -n "$compile" ] && [ -n "$link" ] || { echo "build-demo: no program commands in $build" >&2; exit 1; }
main_object=$(sed -E 's/.* -o ([^ ]*main\.cpp\.o) .*/\1/' <<<"$compile")
object="$output.o"
compile=${compile/-o $main_object /-o $object }
compile=$(sed -E "s#-c [^ ]*/main\\.cpp\$##" <<<"$compile")
extra=""
[ $# -eq 0 ] || extra=$(printf "%q " "$@")
eval "$compile $extra -c \"$source\""
link=${link/ $main_object / $object }
link=${link/-o bin\/quorvel /-o \"$output\" }
eval "$link"
rm -f "$object"
