#!/usr/bin/env bash
# Starts or stops a throw-away PostgreSQL cluster on a loopback port for the tests.
#   tests/pg-cluster.sh start DIR   prints the URL of a fresh database on stdout
#   tests/pg-cluster.sh stop DIR
set -euo pipefail
action=${1:?start or stop}
dir=${2:?cluster folder}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bindir/initdb" ] || { echo "PostgreSQL server binaries not found (package postgresql)" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "$action" in
start)
  rm -rf "$dir"; mkdir -p "$dir"
  [ "$(id -u)" = 0 ] && chown postgres "$dir"
  as_owner "$bindir/initdb" -D "$dir/data" -A trust -E UTF8 --locale=C.UTF-8 -U velmora >"$dir/initdb.log" 2>&1 \
    || { cat "$dir/initdb.log" >&2; exit 1; }
  # The superuser of the tests comes in without a password; every other login
  # (the users of the program on a server set up for roles) gives its own.
  cat >"$dir/data/pg_hba.conf" <<'HBA'
local all all trust
host all velmora 127.0.0.1/32 trust
host all all 127.0.0.1/32 scram-sha-256
HBA
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
  as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" \
    -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" -w start >/dev/null \
    || { cat "$dir/server.log" >&2; exit 1; }
  as_owner "$bindir/createdb" -h 127.0.0.1 -p "$port" -U velmora velmora_test
  echo "postgresql://velmora@127.0.0.1:$port/velmora_test"
  ;;
stop)
  [ -d "$dir/data" ] && as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
  ;;
*) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
