#!/usr/bin/env bash
# Installs what is missing, checks the C++ formatting, builds everything and runs every test:
#  1. the normal build (game, tools, generated Data/) and all its tests, the SDL window included,
#     the game installed into a temporary prefix and the Debian package with its checks;
#  2. a clang build with AddressSanitizer and UndefinedBehaviorSanitizer running the same tests;
#  3. the archive reader, save-file and score payload fuzzers, each for a short, bounded time on
#     its seed corpus.
# TRAKVOLT_FUZZ_SECONDS sets each fuzzer's time (default 60); TRAKVOLT_KILL_SECONDS bounds the
# kill loop of the save files (default 30). The closing line counts the tests that passed and
# those skipped (a tool or the game data missing); under CI=true, where scripts/setup.sh has
# installed everything, any skip fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
bash "$root/scripts/setup.sh"

echo "== format"
bash "$root/scripts/check_format.sh"

echo "== build and test"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j "$jobs"
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
(cd "$root/build" && ctest -j "$jobs" --output-on-failure --timeout 300) | tee -a "$summary"

echo "== sanitizers"
check="$root/build-check"
CC=clang CXX=clang++ cmake -S "$root" -B "$check" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTRAKVOLT_FUZZ=ON -DTRAKVOLT_ASSETS=OFF -DTRAKVOLT_BENCH=OFF -DTRAKVOLT_TESTS=ON >/dev/null
cmake --build "$check" -j "$jobs"
# The generated data comes from the normal build.
mkdir -p "$check/Data"
ln -sfn "$root/build/Data/Res" "$check/Data/Res"
ln -sfn "$root/build/Data/Music" "$check/Data/Music"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The window tests run against the desktop's own libraries (D-Bus, X, OpenGL drivers), whose
# start-up allocations the leak checker reports as ours; they ran above.
(cd "$check" && ctest -j "$jobs" --output-on-failure --timeout 600 -E '^sdl_(window|present)$') |
  tee -a "$summary"

echo "== fuzzing"
TRAKVOLT_FUZZ_BUILD="$check" bash "$root/fuzz/run.sh" "${TRAKVOLT_FUZZ_SECONDS:-60}"
# One closing line for both test runs (the fuzzer stops the script on any finding, a failed
# test before it). ctest counts a skipped test among the passed ones and marks its line
# "***Skipped" (or "***Not Run" when its program is missing).
total=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$summary" |
  awk '{ n += $1 } END { print n + 0 }')
skipped=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*\*\*\*(Skipped|Not Run)' "$summary" || true)
echo "== summary"
echo "$((total - skipped)) passed, $skipped skipped, 0 failed"
if [ "$skipped" -gt 0 ] && [ "${CI:-}" = true ]; then
  echo "FAIL: $skipped tests skipped (CI=true: scripts/setup.sh installs what they need)"
  exit 1
fi
