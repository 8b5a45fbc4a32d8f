#!/usr/bin/env bash
# The installed game: `cmake --install` into a temporary prefix, then the installed trakvolt is
# started under a virtual X display from / with a temporary XDG data home. It must find its
# data, keep its saves only in the data home (nothing under the prefix, nothing in HOME), and a
# second start must read them back. Skips (77; under CI=true fails) when Xvfb is not installed.
set -u
build=$1
source "$(dirname "$0")/../sdl/virtual_display.sh"
need_tools "the installed game is started under a virtual X display" Xvfb xwininfo
work=$(mktemp -d)  # removed at exit with the display
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
  cleanup_virtual_display
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; [ -f "$work/game.log" ] && cat "$work/game.log"; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
for f in bin/trakvolt bin/trakvolt-scores share/trakvolt/Data/Res/Res1.dxg \
         share/trakvolt/Data/Music/Menu.xm share/trakvolt/website.url \
         share/man/man6/trakvolt.6.gz share/man/man6/trakvolt-scores.6.gz \
         share/icons/hicolor/48x48/apps/trakvolt.png share/icons/hicolor/scalable/apps/trakvolt.svg; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
ls "$prefix"/share/applications/*.desktop "$prefix"/share/metainfo/*.metainfo.xml >/dev/null ||
  fail "no desktop entry or metainfo"
snapshot() { (cd "$prefix" && find . -printf '%p %s %T@ %m\n' | sort); }
before=$(snapshot)

export XDG_DATA_HOME=$work/xdg HOME=$work/home SDL_AUDIODRIVER=dummy
mkdir -p "$HOME"
start_display || fail "Xvfb did not start"

# play: starts the installed game from /, waits for its window, closes it as the window system
# does, and expects a clean exit.
play() {
  (cd / && exec "$prefix/bin/trakvolt") >"$work/game.log" 2>&1 &
  pid=$!
  local info=""
  for _ in $(seq 300); do  # up to a minute: start-up is slow on a busy machine
    info=$(xwininfo -name "Гонкострель" 2>/dev/null) && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  [ -n "$info" ] || fail "the installed game opened no window"
  sleep 1
  kill -TERM "$pid"
  wait "$pid"
  local rc=$?
  pid=""
  [ $rc -eq 0 ] || fail "exit code $rc after closing"
}

save=$XDG_DATA_HOME/trakvolt/Data/Save
play
[ -f "$save/options" ] && [ -f "$save/hs" ] || fail "no saves in the data home"
for entry in Data/Res Data/Music website.url; do
  [ "$(readlink "$XDG_DATA_HOME/trakvolt/$entry")" = "$prefix/share/trakvolt/$entry" ] ||
    fail "$entry does not lead to the installed data"
done
[ -z "$(ls -A "$HOME")" ] || fail "wrote into HOME: $(ls -A "$HOME")"
[ -e /Data ] && fail "wrote Data/ into /"
[ "$(snapshot)" = "$before" ] || fail "the prefix changed: $(diff <(echo "$before") <(snapshot))"

# The second start reads the saves back: a country put into the options survives its exit.
sed -i '4s/.*/LATVIA\r/' "$save/options"
hs=$(cat "$save/hs")
play
[ "$(sed -n 4p "$save/options" | tr -d '\r')" = LATVIA ] || fail "the saved options were not read back"
[ "$(cat "$save/hs")" = "$hs" ] || fail "the score table changed"
[ "$(snapshot)" = "$before" ] || fail "the prefix changed on the second start"
echo "1 passed, 0 failed"
