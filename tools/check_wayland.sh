#!/usr/bin/env bash
# The desktop program on Wayland, under a headless Weston of its own:
#   tools/check_wayland.sh [BUILD_FOLDER]   (default: build)
# The window starts, paints its first frame and quits cleanly, and the window's own maximise
# and restore buttons are granted by the compositor (the view test of that, on Wayland).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root/${1:-build}" && pwd)
tmp=$(mktemp -d)
weston_pid=
cleanup() {
    [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null && wait "$weston_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    cat "$tmp/weston.log" "$tmp/run.log" >&2 2>/dev/null || true
    echo "Wayland check: $*" >&2
    exit 1
}

mkdir -m 700 "$tmp/run" "$tmp/home"
export XDG_RUNTIME_DIR="$tmp/run" WAYLAND_DISPLAY=dtu-wayland QT_QPA_PLATFORM=wayland
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --width=1920 --height=1080 \
    --idle-time=0 >"$tmp/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 200); do [ -S "$tmp/run/$WAYLAND_DISPLAY" ] && break; sleep 0.05; done
[ -S "$tmp/run/$WAYLAND_DISPLAY" ] || fail "Weston did not start"

# A portable copy, so the program writes nothing into the build tree.
cp -r "$build/bin/dtuconfig" "$build/bin/skin" "$tmp/"
(cd "$tmp/home" && HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home" DTU_EXIT_AFTER_FIRST_FRAME=1 \
    timeout 60 "$tmp/dtuconfig" --simulate) >"$tmp/run.log" 2>&1 || fail "dtuconfig: exit $?"
grep -q '^first frame:' "$tmp/run.log" || fail "dtuconfig painted no frame"
echo "dtuconfig on Wayland: $(grep '^first frame:' "$tmp/run.log"), exit 0"

(cd "$build/tests" && timeout 120 ./view_test --gtest_filter='ViewWaylandTest.*') \
    >"$tmp/run.log" 2>&1 || fail "the view's Wayland test failed"
grep -q '^\[  PASSED  \] 1 test' "$tmp/run.log" || fail "the view's Wayland test did not run"
echo "the window's maximise and restore on Wayland: granted, the buttons follow"
