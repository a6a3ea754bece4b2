#!/bin/bash
# Usage: quarn_bench_run.sh BINARY BENCH EXPECTED_LINE
# Starts quarn-bench with one bench on the offscreen video driver, waits until
# the bench has printed its help (it does so when it is entered, after the
# window exists), then ends it as a desktop session would (SIGTERM) and
# expects a clean exit with code 0.
set -u
binary=$1
bench=$2
expected=$3
out=$(mktemp)
trap 'rm -f "$out"' EXIT

SDL_VIDEODRIVER=offscreen "$binary" "$bench" >"$out" 2>&1 &
pid=$!
for _ in $(seq 1 300); do
  grep -qF -- "$expected" "$out" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if ! grep -qF -- "$expected" "$out"; then
  echo "quarn-bench $bench did not print: $expected"
  cat "$out"
  kill -KILL "$pid" 2>/dev/null
  exit 1
fi
kill -TERM "$pid"
wait "$pid"
code=$?
if [ "$code" -ne 0 ]; then
  echo "quarn-bench $bench ended with code $code"
  cat "$out"
  exit 1
fi
echo "quarn-bench $bench opened and closed"
