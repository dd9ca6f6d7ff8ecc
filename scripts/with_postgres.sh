#!/usr/bin/env bash
# Runs a command beside a throw-away PostgreSQL server: initdb into a temporary
# folder, start on a free local port, export SLOWNIK_TEST_PG_URL, run, stop.
# As root the server runs as the postgres user (or nobody), since it refuses root.
set -euo pipefail
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [ -z "$bindir" ]; then
  echo "with_postgres: PostgreSQL server not installed" >&2; exit 1
fi
dir=$(mktemp -d /tmp/slownik-pg.XXXXXX)
port=$(( 20000 + RANDOM % 20000 ))
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  user=postgres; id "$user" >/dev/null 2>&1 || user=nobody
  chown "$user" "$dir"
  run_as=(runuser -u "$user" --)
else
  user=$(id -un)
fi
stop() {
  "${run_as[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap stop EXIT
"${run_as[@]}" "$bindir/initdb" -D "$dir/data" -U slownik -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 \
  || { cat "$dir/initdb.log"; exit 1; }
"${run_as[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
  -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c max_connections=200" start >/dev/null \
  || { cat "$dir/server.log"; exit 1; }
"$bindir/createdb" -h 127.0.0.1 -p "$port" -U slownik slownik_test
export SLOWNIK_TEST_PG_URL="postgresql://slownik@127.0.0.1:$port/slownik_test"
echo "PostgreSQL testowy: $SLOWNIK_TEST_PG_URL"
set +e
"$@"
rc=$?
exit $rc
