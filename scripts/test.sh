#!/usr/bin/env bash
# Sets up, builds (with AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs every test.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh"
"$here/scripts/check-format.sh"
"$here/scripts/check-deps.py"
build="${RENDO_TEST_BUILD_DIR:-$here/build-test}"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRENDO_SANITIZE=ON -DRENDO_TESTS=ON
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
# Firebird's engine keeps process-lifetime allocations; leaks are checked in
# our own code by the tests that own their objects, not at process exit.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:${UBSAN_OPTIONS:-}"
# Fixture templates are shared by the test processes of this run only.
export RENDO_FIXTURE_CACHE="$build/fixture-cache"
rm -rf "$RENDO_FIXTURE_CACHE"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
