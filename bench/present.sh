#!/usr/bin/env bash
# Present CPU per frame under a virtual X display (Xvfb, 24-bit, so OpenGL is Mesa's software
# rasteriser): bench_present's texture and window-surface cases (and the conversion alone) in
# one run of this script, medians of REPEATS repetitions.
# Usage: bench/present.sh BUILD_DIR [REPEATS [BENCHMARK OPTIONS]]
set -eu
build=$(cd "$1" && pwd)
repeats=${2:-21}
source "$(dirname "$0")/../tests/sdl/virtual_display.sh"
start_display || { rc=$?; echo "no virtual display (Xvfb missing or not starting)"; exit $rc; }
work=$(mktemp -d)  # removed at exit with the display
# Each repetition is a process of its own (every run opens the machine afresh, and SDL is
# happiest starting once per process); the medians are taken here.
for case in Present/texture Present/window_surface Convert/800/600 Convert/1920/1080; do
  for _ in $(seq "$repeats"); do
    SDL_AUDIODRIVER=dummy "$build/bench_present" --benchmark_filter="^$case/" \
      --benchmark_format=csv "${@:3}" 2>/dev/null | awk -F, '/^"/ {print $4}'
  done >"$work/$(tr / _ <<<"$case")"
  echo "$case: CPU per frame median $(median <"$work/$(tr / _ <<<"$case")") ms of $repeats runs"
done
