#!/usr/bin/env bash
# Configures and builds one build folder: tools/build.sh FOLDER [cmake options...] [-- targets...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
opts=()
targets=()
while [ $# -gt 0 ]; do
    if [ "$1" = "--" ]; then
        shift
        targets=("$@")
        break
    fi
    opts+=("$1")
    shift
done
# A second run compiles only what changed: ccache keeps the objects of every build folder
# (each folder's flags differ, so each has entries of its own).
if command -v ccache >/dev/null; then
    opts=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "${opts[@]}")
fi
cmake -S "$root" -B "$root/$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${opts[@]}" >/dev/null
ninja -C "$root/$dir" -j"$(nproc)" "${targets[@]}"
