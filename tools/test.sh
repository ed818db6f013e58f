#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the normal build with warnings as
# errors and the Debian package made from it, the suite again under AddressSanitizer + UBSan,
# and the threaded tests under ThreadSanitizer, then the fuzz targets for a bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Each stage's time, printed at the end of the run (also when a stage fails).
stages=()
stage_name=""
stage_start=$SECONDS
stage() {
    if [ -n "$stage_name" ]; then
        stages+=("$(printf '%6d s  %s' $((SECONDS - stage_start)) "$stage_name")")
    fi
    stage_name=$1
    stage_start=$SECONDS
    [ -z "$1" ] || echo "== $1"
}
print_times() {
    local status=$?
    stage ""
    echo "== time per stage"
    printf '%s\n' "${stages[@]}"
    printf '%6d s  all\n' "$SECONDS"
    return $status
}
trap print_times EXIT

stage "setup (Debian packages)"
tools/setup.sh

stage "formatting (clang-format)"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

stage "build and test (warnings are errors)"
tools/build.sh build -DDTU_WERROR=ON
ctest --test-dir build --output-on-failure

stage "Debian package (from build/: lintian, file list, Depends, validators, the unpacked programs)"
tools/check_package.sh build

stage "Wayland (headless Weston)"
tools/check_wayland.sh build

# tools/setup.sh installs ansible-core; a machine without it skips the fleet example.
if command -v ansible-playbook >/dev/null; then
    stage "Ansible playbook against a simulated unit"
    tools/check_ansible.sh build
fi

# The sanitizer and fuzz builds compile each folder's files in batches (a unity build): half
# the compile time. The first build above compiles every file alone, so a missing include
# still fails there.
unity=-DCMAKE_UNITY_BUILD=ON

stage "AddressSanitizer + UBSan"
tools/build.sh build-asan -DDTU_WERROR=ON -DDTU_SANITIZE=address "$unity"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure

stage "ThreadSanitizer (threaded tests)"
threaded=(ui_test serial_test link_test app_test cli_test)
tools/build.sh build-tsan -DDTU_WERROR=ON -DDTU_SANITIZE=thread -DDTU_BUILD_VIEW=OFF "$unity" -- "${threaded[@]}"
for t in "${threaded[@]}"; do
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 "build-tsan/tests/$t"
done
stage "fuzzing (libFuzzer, clang, 18 s per target)"
fuzzers=(fuzz_report fuzz_config_file fuzz_receive fuzz_layout fuzz_profile)
CC=clang CXX=clang++ tools/build.sh build-fuzz -DDTU_WERROR=ON -DDTU_BUILD_VIEW=OFF -DDTU_FUZZ=ON "$unity" \
    -- "${fuzzers[@]}" fuzz_seeds
rm -rf build-fuzz/seeds build-fuzz/artifacts
mkdir -p build-fuzz/artifacts
build-fuzz/fuzz/fuzz_seeds build-fuzz/seeds
# Any crash, sanitizer report, leak, time-out or violated check ends the run with a non-zero
# status. FUZZ_SECONDS changes the time per target.
fuzz() {
    local target=$1
    shift
    local log=build-fuzz/$target.log
    mkdir -p "build-fuzz/corpus/$target"
    if ! "build-fuzz/fuzz/$target" -max_total_time="${FUZZ_SECONDS:-18}" -timeout=10 \
        -artifact_prefix=build-fuzz/artifacts/ "build-fuzz/corpus/$target" "$@" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target failed: the input is in build-fuzz/artifacts/"
        return 1
    fi
    # The last status line: executions, coverage, corpus, exec/s.
    echo "$target: $(grep -E '^#[0-9]+' "$log" | tail -n 1)"
}
fuzz fuzz_report build-fuzz/seeds/report
fuzz fuzz_config_file build-fuzz/seeds/config
fuzz fuzz_receive -dict=build-fuzz/seeds/receive.dict build-fuzz/seeds/receive
# The skin's layout sources: the generated skins differ only in the texts put in.
fuzz fuzz_layout skin/layouts
fuzz fuzz_profile build-fuzz/seeds/profile
echo "all test runs passed"
