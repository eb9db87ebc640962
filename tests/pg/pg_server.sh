#!/usr/bin/env bash
# A throwaway PostgreSQL server for the tests: `start STATE` makes a cluster in a new temporary
# folder (initdb, as the postgres user when run as root: initdb refuses root), listening only
# on a Unix socket in that folder, and writes STATE/conninfo (the superuser, no password: it
# comes from STATE/pgpass) and STATE/dir; `stop STATE` stops it and removes the folder;
# `pause` and `resume` stop and start it again on the same folder.
# A server that cannot be started is an error (exit 1): the tests that need it then fail.
set -uo pipefail
cmd=${1:?start|stop} state=${2:?state folder}

bindir=""
for d in /usr/lib/postgresql/15/bin /usr/lib/postgresql/*/bin; do
  [ -x "$d/initdb" ] && { bindir=$d; break; }
done
[ -n "$bindir" ] || { echo "pg_server: no initdb found (Debian package postgresql)" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

stop_server() {
  [ -f "$state/dir" ] || return 0
  local dir; dir=$(cat "$state/dir")
  [ -d "$dir/data" ] && as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1
  rm -rf "$dir"
  rm -f "$state/dir" "$state/conninfo" "$state/pgpass" "$state/port"
}

case $cmd in
start)
  mkdir -p "$state"
  stop_server # one left by an interrupted run
  dir=$(mktemp -d /tmp/ktvpg.XXXXXX) || exit 1
  echo "$dir" >"$state/dir"
  [ "$(id -u)" = 0 ] && chown postgres: "$dir"
  chmod 700 "$dir"
  password=$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n')
  printf '%s\n' "$password" >"$dir/pw"
  [ "$(id -u)" = 0 ] && chown postgres: "$dir/pw"
  user=$( [ "$(id -u)" = 0 ] && echo postgres || id -un )
  as_owner "$bindir/initdb" -D "$dir/data" -U "$user" --pwfile="$dir/pw" -A scram-sha-256 \
    -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; stop_server; exit 1; }
  # The socket lives in the private folder, so any port number is free there.
  port=$((20000 + RANDOM % 30000))
  as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses='' -c unix_socket_directories='$dir' -p $port -c fsync=off -c max_connections=60" \
    start >/dev/null || { cat "$dir/server.log" >&2; stop_server; exit 1; }
  # The tests run as root and reach the socket through the folder.
  chmod 755 "$dir"
  echo "$port" >"$state/port"
  echo "host=$dir port=$port user=$user dbname=postgres" >"$state/conninfo"
  echo "$dir:$port:*:$user:$password" >"$state/pgpass"
  chmod 600 "$state/pgpass" "$dir/pw"
  echo "server on $dir, port $port"
  ;;
stop) stop_server ;;
# The server stopped (fast: its sessions are ended) and started again on the same folder.
pause) as_owner "$bindir/pg_ctl" -D "$(cat "$state/dir")/data" -m fast -w stop >/dev/null ;;
resume)
  dir=$(cat "$state/dir")
  as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses='' -c unix_socket_directories='$dir' -p $(cat "$state/port") -c fsync=off" start >/dev/null
  ;;
*) echo "usage: pg_server.sh start|stop|pause|resume STATE" >&2; exit 2 ;;
esac
