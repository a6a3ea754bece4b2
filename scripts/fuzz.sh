#!/usr/bin/env bash
# Usage: fuzz.sh BUILD_DIR SECONDS
# Runs every libFuzzer target of BUILD_DIR one after the other for SECONDS
# each, starting from its committed seed corpus. New inputs and crash files
# stay in BUILD_DIR/fuzz-work/<target>/, never in the source tree. Prints one
# line per target (executions, findings) and fails when any target found a
# fault.
set -uo pipefail
build=$1
seconds=$2
root="$(cd "$(dirname "$0")/.." && pwd)"
status=0
for binary in "$build"/fuzz_*; do
  [ -x "$binary" ] || continue
  name=$(basename "$binary")
  name=${name#fuzz_}
  work="$build/fuzz-work/$name"
  mkdir -p "$work/corpus" "$work/findings"
  log="$work/fuzz.log"
  ASAN_OPTIONS=detect_leaks=1 \
  LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0:use_tls=0" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$work/findings/" "$work/corpus" "$root/tests/fuzz/corpus/$name" \
      >"$log" 2>&1
  code=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  findings=$(find "$work/findings" -type f | wc -l)
  echo "fuzz $name: ${runs:-?} executions in ${seconds} s, $findings findings (exit $code, log $log)"
  if [ "$code" -ne 0 ] || [ "$findings" -ne 0 ]; then status=1; fi
done
exit $status
