#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the normal build with warnings as
# errors, the suite again under AddressSanitizer + UBSan, and the threaded tests under
# ThreadSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tools/setup.sh

echo "== build and test (warnings are errors)"
tools/build.sh build -DDTU_WERROR=ON
ctest --test-dir build --output-on-failure

echo "== AddressSanitizer + UBSan"
tools/build.sh build-asan -DDTU_WERROR=ON -DDTU_SANITIZE=address
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure

echo "== ThreadSanitizer (threaded tests)"
threaded=(ui_test link_test sim_test app_test)
tools/build.sh build-tsan -DDTU_WERROR=ON -DDTU_SANITIZE=thread -DDTU_BUILD_VIEW=OFF -- "${threaded[@]}"
for t in "${threaded[@]}"; do
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 "build-tsan/tests/$t"
done
echo "all test runs passed"
