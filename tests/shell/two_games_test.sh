#!/bin/bash
# Two real games started on one save folder at random moments, in either order: one of them
# changes the settings (Alt+Enter) while the other only plays. Whatever the overlap, the change
# of a game that saved is never written over by a game that loaded the folder before it:
# a game that finds the folder in use says so and writes nothing.
# usage: two_games_test.sh TRAKVOLT_REPLAY DATA_DIR
set -u
. "$(dirname "$0")/../support/skip.sh"
replay=$1
data=$2
[ -f "$data/Res/Res1.dxg" ] || skip "no built game data in $data" "build with TRAKVOLT_ASSETS=ON"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Data"
ln -s "$data/Res" "$work/Data/Res"
ln -s "$data/Music" "$work/Data/Music"
printf 'seed 1\nrun 5\ndown Alt\ndown Enter\nup Enter\nup Alt\nrun 1500\n' >"$work/toggle.txt"
printf 'seed 2\nrun 1500\n' >"$work/idle.txt"
cd "$work" || exit 1
"$replay" idle.txt >/dev/null || { echo "FAIL: a first game did not run"; exit 1; }

failed=0 overlaps=0
for round in $(seq 1 12); do
  before=$(head -c1 Data/Save/options)
  pause=0.$((RANDOM % 2))$((RANDOM % 10))
  if [ $((round % 2)) = 0 ]; then
    "$replay" toggle.txt >toggle.out & first=$!
    sleep "$pause"; "$replay" idle.txt >idle.out & second=$!
  else
    "$replay" idle.txt >idle.out & first=$!
    sleep "$pause"; "$replay" toggle.txt >toggle.out & second=$!
  fi
  wait $first; status1=$?
  wait $second; status2=$?
  if [ $status1 -gt 1 ] || [ $status2 -gt 1 ]; then
    echo "FAIL: round $round: a game ended with status $status1 / $status2"
    failed=1
    continue
  fi
  after=$(head -c1 Data/Save/options)
  # The toggling game's change stands unless it found the folder in use.
  if grep -q "in use by another game" toggle.out; then
    expected=$before
    overlaps=$((overlaps + 1))
  else
    expected=$((1 - before))
    grep -q "in use by another game" idle.out && overlaps=$((overlaps + 1))
  fi
  if [ "$after" != "$expected" ]; then
    echo "FAIL: round $round: full screen $before -> $after, expected $expected"
    cat toggle.out idle.out
    failed=1
  fi
  leftovers=$(find Data/Save -name '*.tmp.*' | wc -l)
  [ "$leftovers" = 0 ] || { echo "FAIL: round $round: $leftovers temporary files left"; failed=1; }
done
echo "12 rounds, $overlaps with both games running at once"
[ $overlaps -gt 0 ] || { echo "FAIL: the games never ran at the same time"; failed=1; }
exit $failed
