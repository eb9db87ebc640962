#!/usr/bin/env bash
# The conversion benchmark onto a throwaway local PostgreSQL server over its Unix socket,
# directly or through delay_proxy.py, which holds back what the client sends by DELAY_MS so
# each round trip costs that much more (0: the relay's own cost alone). The server is made in a
# temporary folder (initdb as the postgres user, trust authentication: it listens only on its
# private socket, no TCP) with the server's default settings, and removed at the end.
# Needs root (initdb refuses root, so the server runs as postgres) and the postgresql package.
# Usage: server_bench.sh BENCH [DELAY_MS] [benchmark arguments...]
#   e.g. server_bench.sh build-rel/bench/ktvedaz-bench-convert 1 100000 --reps 3
#        server_bench.sh build-rel/bench/ktvedaz-bench-convert - 1000000   (no relay)
set -euo pipefail
BENCH=$(realpath "$1") DELAY=${2:--}
shift 2 || shift $#
HERE=$(cd "$(dirname "$0")" && pwd)
bindir=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
dir=$(mktemp -d /tmp/ktvbenchpg.XXXXXX) port=5432 relay=""
cleanup() {
  [ -n "$relay" ] && kill "$relay" 2>/dev/null
  runuser -u postgres -- "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap cleanup EXIT
chown postgres: "$dir"
runuser -u postgres -- "$bindir/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >/dev/null
runuser -u postgres -- "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
  -o "-c listen_addresses='' -c unix_socket_directories='$dir' -p $port" start >/dev/null
chmod 755 "$dir"
host=$dir
if [ "$DELAY" != - ]; then
  mkdir "$dir/relay"
  /usr/bin/python3 "$HERE/delay_proxy.py" "$dir/.s.PGSQL.$port" "$dir/relay/.s.PGSQL.$port" "$DELAY" &
  relay=$!
  for _ in $(seq 50); do [ -S "$dir/relay/.s.PGSQL.$port" ] && break; sleep 0.1; done
  host=$dir/relay
  echo "through delay_proxy.py, $DELAY ms added to each round trip"
fi
"$BENCH" --server "host=$host port=$port user=postgres dbname=postgres" "$@"
