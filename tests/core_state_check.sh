#!/bin/sh
# Fails when the core library holds writable global or static data of its
# own: such state would be shared by every design running at once. Lists
# every symbol in a writable data section (.data, .bss, thread-local ones,
# relocated data that is not read-only after start) and drops what the
# compiler, the sanitizers and the standard library put there. The one
# process-wide setting left is the assertion handler of the application and
# tools, swapped atomically; beside it each thread has its own (calls of the
# C interface set theirs).
set -eu
library=$1
found=$(objdump -t "$library" |
  awk '{ for (i = 1; i <= NF; ++i)
           if ($i ~ /^\.(data|bss|tdata|tbss)/ && $i !~ /^\.data\.rel\.ro/ && $NF !~ /^\./)
             print $NF }' |
  grep -v -E '^(_ZStL8__ioinit|DW\.ref\.__gxx_personality_v0)$' |
  grep -v -E 'asan|ubsan|^__sancov' |
  grep -v -E '^_ZN5quarn12_GLOBAL__N_1(14processHandler|13threadHandler)E$' |
  sort -u || true)
if [ -n "$found" ]; then
  echo "writable global or static data in $library:"
  echo "$found" | c++filt
  exit 1
fi
echo "no writable global or static data in $library"
