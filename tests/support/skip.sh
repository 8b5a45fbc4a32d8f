# Shared by the test scripts (sourced, not run): how a test says it cannot run here.
# skip WHY [REMEDY]: prints "SKIP: WHY" and exits 77 (ctest's SKIP_RETURN_CODE). Under CI=true
#   everything the tests need is there (scripts/setup.sh installs it), so a skip would only hide
#   a test that never ran: it prints "FAIL: WHY (CI=true: REMEDY)" and exits 1 instead.
# need_tools WHY TOOL...: skips with WHY when any of the tools is not on the PATH.

skip() {
  if [ "${CI:-}" = true ]; then
    echo "FAIL: $1 (CI=true: ${2:-scripts/setup.sh installs it})"
    exit 1
  fi
  echo "SKIP: $1"
  exit 77
}

need_tools() {
  local why=$1 tool
  shift
  for tool in "$@"; do
    command -v "$tool" >/dev/null || skip "$why: no $tool"
  done
}
