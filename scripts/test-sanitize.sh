#!/usr/bin/env bash
# Builds the core, the command-line checker and their tests with
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs the tests. Any
# sanitizer report fails the run. The window program stays out: Qt's own
# code is not built with the sanitizers and would only add noise.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${SANITIZE_BUILD_DIR:-build/sanitize}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWERYFIKACJA_SANITIZE=ON -DWERYFIKACJA_GUI=OFF >/dev/null
cmake --build "$build" -j2

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure -j2
