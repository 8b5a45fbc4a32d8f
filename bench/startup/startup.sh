#!/usr/bin/env bash
# Exec to first presented frame under a virtual X display: the real game (which ends right
# after its first frame with TRAKVOLT_EXIT_AFTER_FIRST_FRAME=1) against the minimal SDL program
# that opens the same window and presents one frame (startup_minimal_window, with SDL's default
# renderer, and with the window's own pixels and no OpenGL at all). The runs alternate, so both see the same load;
# each time is taken by the shell around the whole process (exec to exit), medians of RUNS.
# Usage: bench/startup/startup.sh BUILD_DIR [RUNS]
set -eu
build=$(cd "$1" && pwd)
runs=${2:-21}
source "$(dirname "$0")/../../tests/sdl/virtual_display.sh"
start_display || { rc=$?; echo "no virtual display (Xvfb missing or not starting)"; exit $rc; }
export SDL_AUDIODRIVER=dummy
game_folder "$build/Data"

# ms PROGRAM ARGS...: wall time of one run in milliseconds (no extra processes in the timing).
ms() {
  local t0=$EPOCHREALTIME
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  local t1=$EPOCHREALTIME
  echo "$(( (${t1/./} - ${t0/./}) / 1000 ))"
}

# One warm-up round fills the file cache for every program.
TRAKVOLT_EXIT_AFTER_FIRST_FRAME=1 "$build/trakvolt" >/dev/null 2>&1 || true
"$build/startup_minimal_window" >/dev/null 2>&1 || true
for _ in $(seq "$runs"); do
  TRAKVOLT_EXIT_AFTER_FIRST_FRAME=1 ms "$build/trakvolt" >>game.txt
  ms "$build/startup_minimal_window" >>minimal.txt
  ms "$build/startup_minimal_window" surface >>minimal_surface.txt
done
game=$(median <game.txt)
minimal=$(median <minimal.txt)
surface=$(median <minimal_surface.txt)
echo "game to first frame: $game ms (median of $runs)"
echo "minimal SDL program, default renderer: $minimal ms; game / minimal = $(awk -v a="$game" -v b="$minimal" 'BEGIN {printf "%.2f", a / b}')"
echo "minimal SDL program, window surface without OpenGL: $surface ms; game / minimal = $(awk -v a="$game" -v b="$surface" 'BEGIN {printf "%.2f", a / b}')"
