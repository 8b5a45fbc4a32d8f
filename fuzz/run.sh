#!/usr/bin/env bash
# Builds the archive reader fuzzer with clang and runs it for SECONDS (default 60) on a copy of
# the seed corpus. Fails on any crash, hang, sanitizer report or rewrite mismatch.
# TRAKVOLT_FUZZ_BUILD overrides the build folder (default build-fuzz/).
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TRAKVOLT_FUZZ_BUILD:-$root/build-fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DTRAKVOLT_FUZZ=ON \
  -DTRAKVOLT_ASSETS=OFF -DTRAKVOLT_TESTS=OFF -DTRAKVOLT_BENCH=OFF >/dev/null
ninja -C "$build" -j2 fuzz_archive_reader
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root"/fuzz/corpus/archive/* "$work"/
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1
"$build"/fuzz_archive_reader -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$build/" "$work"
