#!/usr/bin/env bash
# Present CPU per frame under a virtual X display (Xvfb, 24-bit, so OpenGL is Mesa's software
# rasteriser): bench_present's texture and window-surface cases in one run of this script,
# medians of REPEATS repetitions. Usage: bench/present.sh BUILD_DIR [REPEATS [BENCHMARK OPTIONS]]
set -eu
build=$(cd "$1" && pwd)
repeats=${2:-21}
source "$(dirname "$0")/../tests/sdl/virtual_display.sh"
start_display || { rc=$?; echo "no virtual display (Xvfb missing or not starting)"; exit $rc; }
# Each case in a process of its own: every case opens the machine afresh, and SDL is happiest
# starting once per process.
for case in Present/texture Present/window_surface Convert; do
  SDL_AUDIODRIVER=dummy "$build/bench_present" --benchmark_filter="^$case/" \
    --benchmark_repetitions="$repeats" --benchmark_report_aggregates_only=true "${@:3}"
done
