#!/usr/bin/env bash
# The real SDL game under a virtual X display: the window opens at 800 x 600 with its title and
# shows the animated main menu, which answers the keyboard and the mouse; it sleeps between
# ticks, and closing it saves and exits cleanly.
# Without a display at all it must say so and fail. Skips (77; under CI=true fails) when Xvfb,
# the X tools or the X test library are not installed, or the build made no game data.
set -u
here=$(cd "$(dirname "$0")" && pwd)
game=$1
data=$2
source "$here/virtual_display.sh"
need_tools "the window test needs a virtual X display, its tools and ImageMagick" \
  Xvfb xwininfo import identify python3
python3 -c 'import ctypes; ctypes.CDLL("libX11.so.6"); ctypes.CDLL("libXtst.so.6")' 2>/dev/null ||
  skip "the window test presses keys through the X test library: no libX11 or libXtst"
game_folder "$data"

fail() { echo "FAIL: $*"; exit 1; }

# No display: a clear message and a non-zero exit, not an invisible window.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy "$game" 2>&1)
rc=$?
[ $rc -ne 0 ] || fail "started without a display"
grep -q "no display available" <<<"$out" || fail "no clear message without a display: $out"

start_display || fail "Xvfb did not start"
SDL_AUDIODRIVER=dummy "$game" >game.log 2>&1 &
pid=$!
for _ in $(seq 300); do  # up to a minute: start-up is slow on a busy machine
  info=$(xwininfo -name "Гонкострель" 2>/dev/null) && break
  sleep 0.2
done
[ -n "${info:-}" ] || fail "no window titled Гонкострель"
grep -q "Width: 800" <<<"$info" && grep -q "Height: 600" <<<"$info" || fail "window is not 800 x 600: $info"
x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
sleep 0.5
import -window root -crop "800x600+$x+$y" +repage shot.png || fail "no screenshot"
[ "$(identify -format '%wx%h' shot.png)" = "800x600" ] || fail "screenshot is not 800 x 600"

# The main menu: its intro plays, then the start button is lit. A button is lit when the pixel
# inside its left end is gold (much more red than blue), plain when it is navy.
xtool="python3 $here/xtool.py"
shot() { import -window root -crop "800x600+$x+$y" +repage -depth 8 "$1" || fail "no screenshot $1"; }
gold() {  # gold FILE X Y
  read -r r _ b < <($xtool pixel "$1" "$2" "$3")
  [ "$r" -gt $((b + 80)) ]
}
lit() { gold "$1" 610 $(($2 + 45)); }  # lit FILE BUTTON_Y: the main-menu button at that y
# until WHAT CHECK...: takes screenshots (now.ppm) until the check holds, for up to thirty
# seconds (a busy machine draws slowly).
until_shown() {
  local what=$1
  shift
  for _ in $(seq 120); do
    shot now.ppm
    "$@" && return 0
    sleep 0.25
  done
  fail "$what"
}
shot intro.ppm
! lit intro.ppm 115 || fail "a button is lit during the intro"
until_shown "the start button is not lit once the menu has come in" lit now.ppm 115
$xtool key Down
until_shown "Down did not move the highlight to the options button" lit now.ppm 175
! lit now.ppm 115 || fail "the start button stayed lit after Down"
$xtool move $((x + 640)) $((y + 330))
until_shown "the pointer did not light the help button" lit now.ppm 300
$xtool click
# The help page's "Next" arrow is lit, below where the menu's description was.
until_shown "a click on help did not open the help page" gold now.ppm 475 465
$xtool key Escape
until_shown "Escape did not close the help page" eval '! gold now.ppm 475 465'
# Waiting on the menu the game sleeps between ticks. Over three seconds its main thread wants
# the processor (running, or ready and waiting for it: /proc/PID/schedstat) well under half the
# time, and the whole game uses well under half a core; one that spins wants it all the time,
# however busy the machine is. The voluntary context switches are shown too, though a spinning
# game still makes some (each frame waits for the X server).
demand() { awk '{print int(($1 + $2) / 1e6)}' /proc/$pid/schedstat; }  # ms on or waiting for a CPU
cpu() { awk '{print $14 + $15}' /proc/$pid/stat; }
switches() { awk '/^voluntary_ctxt_switches/ {print $2}' /proc/$pid/status; }
d1=$(demand) t1=$(cpu) s1=$(switches)
sleep 3
d2=$(demand) t2=$(cpu) s2=$(switches)
wants=$(((d2 - d1) * 100 / 3000))
idle=$(((t2 - t1) * 100 / ($(getconf CLK_TCK) * 3)))
echo "waiting on the menu: the main thread wants a CPU $wants% of the time, the game uses" \
  "$idle% of one core, $(((s2 - s1) / 3)) voluntary context switches a second"
[ "$wants" -lt 50 ] && [ "$idle" -lt 50 ] || fail "the game spins while it waits"

kill -TERM "$pid"  # the window system's close request
wait "$pid"
rc=$?
[ $rc -eq 0 ] || fail "exit code $rc after closing: $(cat game.log)"
[ -f Data/Save/options ] && [ -f Data/Save/hs ] || fail "save files not written at exit"
echo "1 passed, 0 failed"
