#!/usr/bin/env bash
# Start-up to first frame: runs `dtuconfig --simulate` RUNS times per skin (English, then
# Chinese) and prints the minimum and median of the time from the process's start until its
# main window is on the screen with its content painted. The program measures that itself
# when DTU_EXIT_AFTER_FIRST_FRAME=1 (view/first_frame.cpp) and then quits; the time starts
# here, just before the exec. Runs under a private Xvfb unless DISPLAY is set.
#
#   bench/startup.sh [--strict] [BIN_DIR] [RUNS]        (defaults: build/bin, 10)
#
# The bound is 150 ms for the median of each skin; --strict exits 1 when one misses it.
set -euo pipefail
strict=0
if [ "${1:-}" = --strict ]; then
    strict=1
    shift
fi
bound=150
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$root/build/bin}" && pwd)
runs=${2:-10}

work=$(mktemp -d)
xvfb=
cleanup() {
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# A portable copy, so the language setting written here never touches the build tree's.
cp -r "$bin/dtuconfig" "$bin/skin" "$work/"
if [ -f "$bin/Help.txt" ]; then cp "$bin/Help.txt" "$work/"; fi
if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    export DISPLAY=":$(cat "$work/display")"
fi
export QT_QPA_PLATFORM=xcb DTU_EXIT_AFTER_FIRST_FRAME=1

measure() {  # language code → one figure in ms per line
    printf '[Set]\nLanguage=%s\n' "$1" >"$work/config.ini"
    for _ in $(seq "$runs"); do
        # The clock starts in the shell that becomes the program, after timeout's own start.
        out=$(cd "$work" && timeout 30 bash -c \
            'DTU_LAUNCH_TIME=$EPOCHREALTIME exec ./dtuconfig --simulate' 2>/dev/null)
        sed -n 's/^first frame: \([0-9.]*\) ms$/\1/p' <<<"$out"
    done
}

# Other processes on the machine lengthen the figures: say how busy it was.
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
for lang in 0 1; do
    name=$([ "$lang" = 0 ] && echo English || echo Chinese)
    measure "$lang" | sort -n >"$work/times"
    count=$(wc -l <"$work/times")
    if [ "$count" -eq 0 ]; then
        echo "$name: no first frame seen" >&2
        exit 1
    fi
    min=$(head -1 "$work/times")
    median=$(sed -n "$(((count + 1) / 2))p" "$work/times")
    max=$(tail -1 "$work/times")
    echo "$name skin: start-up to first frame over $count runs: min $min ms, median $median ms, max $max ms (bound: median $bound ms)"
    if awk -v m="$median" -v b="$bound" 'BEGIN { exit !(m > b) }'; then
        echo "$name skin: the median misses its bound"
        missed=1
    fi
done
if [ "${missed:-0}" = 1 ] && [ "$strict" = 1 ]; then exit 1; fi
