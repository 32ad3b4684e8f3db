#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a bounded time from the seed
# corpus. A crash, a sanitizer report or a failed check fails the run.
#
#   FUZZ_SECONDS    seconds per target (default 30)
#   FUZZ_BUILD_DIR  build folder (default build/fuzz)
#   FUZZ_TARGETS    targets to run (default all)
# Further arguments go to every target, e.g. -max_len=1024 or -jobs=2.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-30}
build=${FUZZ_BUILD_DIR:-build/fuzz}
targets=${FUZZ_TARGETS:-fuzz_wczytaj fuzz_log fuzz_zapisz fuzz_strumien fuzz_kodowanie fuzz_rachunki fuzz_profil}

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
for t in $targets; do
  # New inputs go to a working corpus in the build folder; the seed corpus
  # in the repository is only read.
  work="$build/corpus/$t"
  mkdir -p "$work"
  log="$build/$t.log"
  if ! "$build/tests/fuzz/$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/$t-" "$@" "$work" tests/fuzz/corpus >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "FUZZ FAILURE in $t; the input is saved as $build/$t-*" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "$t: ${runs:-?} executions in ${seconds} s, no failure"
done
