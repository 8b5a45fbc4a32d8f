#!/usr/bin/env bash
# Renews the screen guard's reference pictures from a build of this tree: runs test_pictures with
# TRAKVOLT_GUARD_RENEW naming this tree's reference folder, which rewrites the references that
# differ or are missing, and the art fingerprint art.txt beside them. Look at the renewed
# pictures before committing them.
# Usage: scripts/renew_screen_guard.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build=$(cd "$1" && pwd)
cache="$build/CMakeCache.txt"
[ -f "$cache" ] || { echo "$build is not a configured build folder" >&2; exit 1; }
source=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$cache")
if [ "$(cd "$source" && pwd -P)" != "$(cd "$root" && pwd -P)" ]; then
  echo "$build is a build of $source, not of $root" >&2
  exit 1
fi
# The pictures are taken with the build's current code and generated art.
cmake --build "$build" --target test_pictures
references="$root/tests/pictures/reference"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! (cd "$build" && TRAKVOLT_GUARD_RENEW="$references" "$build/test_pictures" \
  '--gtest_filter=-PictureCheckTest.*') >"$log" 2>&1; then
  cat "$log"
  echo "test_pictures failed while renewing" >&2
  exit 1
fi
grep '^renewed ' "$log" || echo "every reference was already up to date"
git -C "$root" status --short -- "$references"
