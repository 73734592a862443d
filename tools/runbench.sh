#!/bin/sh
# tools/runbench.sh EXECUTABLE [ARGUMENTS...]: runs one benchmark executable and prints its
# header and median rows (every line where ROWS=all). A benchmark that crashes or fails ends
# make bench with its status and its last lines, instead of a table that merely stops.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$@" >"$out" 2>&1
status=$?
if [ "${ROWS:-medians}" = all ]; then
    cat "$out"
else
    grep -E '^(Benchmark|-+$|.*_median)' "$out"
fi
if [ "$status" -ne 0 ]; then
    echo "--- last lines of $1:" >&2
    tail -n 5 "$out" >&2
    echo "make bench: $1 failed with status $status" >&2
    exit 1
fi
