#!/bin/sh
# Plans a minute of quarn-gen batches over random outlines: the plan dump
# (json) and binary glTF (glb), at -j 1 and -j 2, against one process per
# file over the first BEFORE_COUNT of them.
#
# usage: bench/throughput.sh QUARN_GEN [COUNT] [BEFORE_COUNT]
set -eu
gen=$1
count=${2:-10000}
before=${3:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$(dirname "$0")/make_outlines.py" "$work/in" "$count"

now() { date +%s.%N; }
rate() { echo "$1 $2 $3" | awk '{ printf "%.0f", $1 * 60 / ($3 - $2) }'; }

for format in json glb; do
  mkdir -p "$work/one"
  start=$(now)
  for file in $(ls "$work/in" | head -n "$before"); do
    "$gen" -f "$format" -o "$work/one/${file%.quarn}.$format" "$work/in/$file"
  done
  echo "$format one process per file: $(rate "$before" "$start" "$(now)") a minute"
  rm -rf "$work/one"
  for jobs in 1 2; do
    start=$(now)
    "$gen" -j "$jobs" -f "$format" -o "$work/out" "$work/in" 2>/dev/null
    echo "$format batch -j $jobs: $(rate "$count" "$start" "$(now)") a minute"
    rm -rf "$work/out"
  done
done
