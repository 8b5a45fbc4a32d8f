# Shared by the scripts that run the game's window under a virtual X display (sourced, not run).
# game_folder DATA: a throw-away working folder whose Data/Res and Data/Music link to DATA, made
#   the current folder and removed at exit (with the display). Skips when DATA has no game data.
# start_display: starts Xvfb (1024 x 768, 24 bits) and exports its DISPLAY; fails with 77 when
#   Xvfb is not installed (the scripts' "skipped"), 1 when it does not start.
# median: the middle one of the numbers on standard input, one a line.
# It brings in skip and need_tools (tests/support/skip.sh) for the scripts.

source "$(dirname "${BASH_SOURCE[0]}")/../support/skip.sh"

work=
xvfb=
cleanup_virtual_display() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  [ -n "$work" ] && rm -rf "$work"
}
trap cleanup_virtual_display EXIT

game_folder() {
  local sub
  for sub in Res Music; do
    [ -d "$1/$sub" ] || skip "this build made no game data (TRAKVOLT_ASSETS=OFF): no $1/$sub" \
      "scripts/test.sh makes it in the normal build and links it into the others"
  done
  work=$(mktemp -d)
  mkdir -p "$work/Data"
  ln -s "$1/Res" "$work/Data/Res"
  ln -s "$1/Music" "$work/Data/Music"
  cd "$work"
}

start_display() {
  local num
  command -v Xvfb >/dev/null || return 77
  exec 3<> <(:)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  read -r -t 10 num <&3 || return 1
  export DISPLAY=":$num"
}

median() { sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
