#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it (from build/, its working directory).
# When the game's score server is on this machine and nothing answers on its port yet, the local
# score server runs beside the game (its database in build/scores.db) and stops when the game
# ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target trakvolt trakvolt-scores
cd "$root/build"

server=$(sed -n 's/^TRAKVOLT_SCORE_SERVER:STRING=//p' CMakeCache.txt)
host=${server%:*}
port=${server##*:}
scores_pid=""
if [[ $host == 127.0.0.1 || $host == localhost ]] &&
   ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
  ./trakvolt-scores --listen "127.0.0.1:$port" --db "$root/build/scores.db" \
    >>"$root/build/scores.log" 2>&1 &
  scores_pid=$!
  trap 'kill "$scores_pid" 2>/dev/null; wait "$scores_pid" 2>/dev/null || true' EXIT
fi
./trakvolt
