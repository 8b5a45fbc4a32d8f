#!/usr/bin/env bash
# The two ways a test says it cannot run here: skip.sh's skip for the scripts and SkipTest for
# the GoogleTest cases (the ScriptOnlySkip cases of test_support). Each is a skip (exit 77, or
# "[  SKIPPED ]") normally and a failure under CI=true.
# Usage: skip_test.sh TEST_SUPPORT_PROGRAM
set -u
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "$1")
fail() { echo "FAIL: $*"; exit 1; }

# check CI RC OUTPUT COMMANDS: the commands, in a bash that has sourced skip.sh, with CI set
# so ("" for unset), exit with RC and print exactly OUTPUT.
check() {
  local out rc
  out=$(CI=$1 bash -c "[ -n \"\$CI\" ] || unset CI; source '$here/skip.sh'; $4; echo went on" 2>&1)
  rc=$?
  [ "$rc" -eq "$2" ] && [ "$out" = "$3" ] || fail "'$4' with CI=$1 gave $rc \"$out\", wanted $2 \"$3\""
}
check "" 77 "SKIP: no frobnicator" 'skip "no frobnicator"'
check false 77 "SKIP: no frobnicator" 'skip "no frobnicator"'
check true 1 "FAIL: no frobnicator (CI=true: scripts/setup.sh installs it)" 'skip "no frobnicator"'
check true 1 "FAIL: no game data (CI=true: the build makes it)" 'skip "no game data" "the build makes it"'
check "" 77 "SKIP: the window test: no no-such-tool" 'need_tools "the window test" bash no-such-tool'
check true 1 "FAIL: the window test: no no-such-tool (CI=true: scripts/setup.sh installs it)" \
  'need_tools "the window test" bash no-such-tool'
check true 0 "went on" 'need_tools "the window test" bash env'

# gtest_cases CI: runs the ScriptOnlySkip cases with CI set so; prints their results.
gtest_cases() {
  env CI="$1" "$program" --gtest_filter='ScriptOnlySkip*' >gtest.log 2>&1
  echo "exit $?"
  grep -E '^\[ +(SKIPPED|FAILED|OK) +\] ScriptOnly' gtest.log | sed 's/ (.*//' | sort -u
  grep -c 'went on after\|ran without' gtest.log
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
got=$(gtest_cases false)
want="exit 0
[  SKIPPED ] ScriptOnlySkip.InTheBody
[  SKIPPED ] ScriptOnlySkipInAFixture.WhileItIsBuilt
0"
[ "$got" = "$want" ] || { cat gtest.log; fail "skipped cases: $got"; }
grep -q "no game data here" gtest.log || fail "the skip does not say why"
got=$(gtest_cases true)
want="exit 1
[  FAILED  ] ScriptOnlySkip.InTheBody
[  FAILED  ] ScriptOnlySkipInAFixture.WhileItIsBuilt
0"
[ "$got" = "$want" ] || { cat gtest.log; fail "cases under CI=true: $got"; }
grep -q "FAIL: no game data here (CI=true: the normal build makes it)" gtest.log ||
  fail "the failure under CI=true does not name the remedy"
echo "1 passed, 0 failed"
