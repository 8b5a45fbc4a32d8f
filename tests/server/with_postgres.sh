#!/usr/bin/env bash
# Runs a command with TRAKVOLT_TEST_PG_HOST naming the socket folder of a private PostgreSQL
# server started for it in a temporary folder (no TCP port), stopped and removed afterwards.
# Exits 77 (skipped; under CI=true fails) when PostgreSQL is not installed.
set -euo pipefail
source "$(dirname "$0")/../support/skip.sh"
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
[ -n "$bin" ] && [ -x "$bin/initdb" ] || skip "PostgreSQL not installed (no /usr/lib/postgresql/*/bin/initdb)"
dir=$(mktemp -d /tmp/trakvolt-pg.XXXXXX)
as=()
# PostgreSQL refuses to run as root: run it as nobody then.
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$dir"
  as=(runuser -u nobody --)
fi
stop() {
  "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap stop EXIT
"${as[@]}" "$bin/initdb" -D "$dir/data" -A trust -U trakvolt --no-sync >/dev/null
"${as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/log" -w \
  -o "-k $dir -c listen_addresses='' -c fsync=off" start >/dev/null
TRAKVOLT_TEST_PG_HOST=$dir "$@"
