#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it (from build/, its working directory).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target trakvolt
cd "$root/build"
exec ./trakvolt
