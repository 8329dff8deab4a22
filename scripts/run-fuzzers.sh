#!/usr/bin/env bash
# Runs every fuzz program of a FUZZ build: first over its seeds alone, then for SECONDS of
# fuzzing that grows CORPUS/<program>/ from them. Stops at the first crash, leak, sanitizer
# report or input slower than $FUZZ_TIMEOUT seconds, showing its log; findings are written to
# BUILD/fuzz-crashes/. Prints each program's run time, coverage and corpus size.
# Usage: scripts/run-fuzzers.sh BUILD SECONDS CORPUS PROGRAM...
set -euo pipefail

build=${1:?usage: run-fuzzers.sh BUILD SECONDS CORPUS PROGRAM...}
seconds=${2:?} corpus=${3:?}
shift 3
timeout=${FUZZ_TIMEOUT:-60}
# Recording a stack for every allocation makes TagLib's allocation-heavy parsing five times
# slower; rerun a finding with the default options to see where its memory came from.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:malloc_context_size=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
flags=(-timeout="$timeout" -rss_limit_mb=2048 -print_final_stats=1)

mkdir -p "$build/fuzz-crashes"
for program in "$@"; do
  seeds="$build/fuzz-seeds/$program" log="$corpus/$program.log"
  mkdir -p "$corpus/$program"
  if ! "$build/bin/$program" "${flags[@]}" -runs=0 "$seeds" > "$log" 2>&1 ||
     ! "$build/bin/$program" "${flags[@]}" -max_total_time="$seconds" \
         -artifact_prefix="$build/fuzz-crashes/$program-" "$corpus/$program" "$seeds" \
         > "$log" 2>&1; then
    tail -n 60 "$log"
    echo "$program: FAILED (log: $log)"
    exit 1
  fi
  # The last status line: "#runs DONE cov: N ft: N corp: N/size ...".
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)
  echo "$program: ${seconds} s, $(sed -E 's/^#([0-9]+)[[:space:]]+DONE[[:space:]]+(cov: [0-9]+).*(corp: [^ ]+).*/\1 runs, \2, \3/' <<< "$done_line")"
done
