#!/usr/bin/env bash
# The programs under a file-size limit (ulimit -f 0): a write past it is a write error like a
# full disk ("Disk full"), never a kill by SIGXFSZ. trakvolt-pack keeps the old archive and
# leaves no temporary file; the headless runner shows the error in a message box, keeps the old
# save files and ends normally.
# Usage: file_size_limit_test.sh pack TRAKVOLT_PACK
#        file_size_limit_test.sh replay TRAKVOLT_REPLAY DATA  (skips when DATA has no game data)
set -u
source "$(dirname "$0")/../support/skip.sh"
fail() { echo "FAIL: $*"; exit 1; }
program=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# limited PROGRAM ARGS...: the program with no room to write a byte to any file; its output.
limited() { (ulimit -f 0 && exec "$@") 2>&1; }

case $1 in
  pack)
    printf 'archive sounds\nwave Quiet -\nwave Still -\n' >old.txt
    printf 'archive sounds\nwave Quiet -\n' >new.txt
    mkdir out
    "$program" old.txt out/Sounds.dxw >/dev/null || fail "packing without a limit failed"
    cp out/Sounds.dxw old.dxw
    out=$(limited "$program" new.txt out/Sounds.dxw)
    rc=$?
    [ $rc -eq 1 ] || fail "exit status $rc (SIGXFSZ kills with 153): $out"
    [[ $out == *'"out/Sounds.dxw"'*'Disk full'* ]] || fail "the message: $out"
    cmp -s old.dxw out/Sounds.dxw || fail "the old archive changed"
    [ "$(ls -A out)" = Sounds.dxw ] || fail "left beside the archive: $(ls -A out)"
    ;;
  replay)
    for sub in Res Music; do
      [ -d "$3/$sub" ] || skip "this build made no game data (TRAKVOLT_ASSETS=OFF): no $3/$sub" \
        "scripts/test.sh makes it in the normal build and links it into the others"
    done
    mkdir Data
    ln -s "$3/Res" Data/Res
    ln -s "$3/Music" Data/Music
    printf 'run 3\n' >first.txt
    "$program" first.txt >/dev/null || fail "the run without a limit failed"
    [ -f Data/Save/options ] && [ -f Data/Save/hs ] || fail "no save files to keep"
    cp -r Data/Save saved
    # Alt+Enter switches to full screen: the options change, and the game writes them at exit.
    printf 'run 3\ndown Alt\ndown Enter\nup Enter\nup Alt\nrun 2\n' >toggle.txt
    out=$(limited "$program" toggle.txt)
    rc=$?
    [ $rc -lt 128 ] || fail "ended by signal $((rc - 128)): $out"
    [[ $out == *'message boxes '[1-9]*'Disk full'* ]] || fail "no message box for the write: $out"
    diff -r saved Data/Save >/dev/null || fail "the save files changed"
    [ "$(ls -A Data/Save | tr '\n' ' ')" = "hs options " ] || fail "left in Data/Save: $(ls -A Data/Save)"
    ;;
  *) fail "unknown case $1" ;;
esac
echo "1 passed, 0 failed"
