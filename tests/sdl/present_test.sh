#!/usr/bin/env bash
# The present paths under a virtual X display: a menu frame from the headless runner and a
# picture of every colour are shown by the SDL display and compared pixel for pixel with what
# the X server shows. Skips (77; under CI=true fails) when Xvfb or ImageMagick is not installed
# or the build made no game data.
# Usage: present_test.sh TEST_PROGRAM REPLAY_PROGRAM DATA_DIR
set -u
test_program=$1
replay=$2
data=$3
source "$(dirname "$0")/virtual_display.sh"
need_tools "the present test needs a virtual X display and ImageMagick" Xvfb import
game_folder "$data"
printf 'seed 3\nrun 90\nscreenshot menu.png\n' >menu.replay
"$replay" menu.replay >/dev/null || { echo "FAIL: the headless runner made no menu frame"; exit 1; }
start_display || { echo "FAIL: Xvfb did not start"; exit 1; }
SDL_AUDIODRIVER=dummy TRAKVOLT_TEST_FRAME="$work/menu.png" "$test_program" \
  --gtest_filter='ScriptOnlyPaths/WindowPresent.*'
