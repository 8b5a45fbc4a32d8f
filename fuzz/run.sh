#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for SECONDS (default 60) on a copy of its seed
# corpus: the archive reader (corpus/archive), the save-file readers (corpus/save) and the score
# server's reading of a submission (corpus/score_payload). Fails on
# any crash, hang, sanitizer report or round-trip mismatch.
# TRAKVOLT_FUZZ_BUILD overrides the build folder (default build-fuzz/); TRAKVOLT_FUZZ_TARGETS
# picks targets (default "archive_reader save_files score_payload").
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TRAKVOLT_FUZZ_BUILD:-$root/build-fuzz}
targets=${TRAKVOLT_FUZZ_TARGETS:-archive_reader save_files score_payload}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DTRAKVOLT_FUZZ=ON \
  -DTRAKVOLT_ASSETS=OFF -DTRAKVOLT_TESTS=OFF -DTRAKVOLT_BENCH=OFF >/dev/null
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1
for target in $targets; do
  case $target in
    archive_reader) corpus=archive ;;
    save_files) corpus=save ;;
    score_payload) corpus=score_payload ;;
    *) echo "unknown fuzz target $target" >&2; exit 2 ;;
  esac
  ninja -C "$build" -j2 "fuzz_$target"
  work=$(mktemp -d)
  cp "$root/fuzz/corpus/$corpus"/* "$work"/
  echo "== fuzz_$target for $seconds s"
  "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/" "$work" || { rm -rf "$work"; exit 1; }
  rm -rf "$work"
done
