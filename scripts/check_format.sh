#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it (.clang-format holds
# the style). Run `git ls-files '*.cpp' '*.h' | xargs clang-format -i` to apply it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
command -v clang-format >/dev/null || { echo "clang-format is missing (scripts/setup.sh installs it)"; exit 1; }
mapfile -t files < <(git ls-files '*.cpp' '*.h')
[ ${#files[@]} -gt 0 ] || { echo "no C++ files found: not a git checkout?"; exit 1; }
report=$(mktemp)
trap 'rm -f "$report"' EXIT
if ! clang-format --dry-run -Werror "${files[@]}" 2>"$report"; then
  grep -o '^[^:]*:[0-9]*' "$report" | sort -u | head -20
  echo "these files are not formatted; apply clang-format to them"
  exit 1
fi
echo "format: ${#files[@]} files as clang-format makes them"
