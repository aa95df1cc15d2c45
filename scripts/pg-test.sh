#!/usr/bin/env bash
# A private PostgreSQL cluster for the tests, never the system's:
#   pg-test.sh start DIR PORT   cluster in DIR/data, on 127.0.0.1:PORT and a socket in DIR,
#                               superuser "pennock" with the password "pennock"
#   pg-test.sh stop DIR PORT    stops it and removes DIR
# The server refuses to run as root, so as root it runs as the user "postgres" (or "nobody").
set -euo pipefail

action=${1:-}
dir=${2:-}
port=${3:-}
if [[ -z $action || -z $dir || -z $port ]]; then
  echo "usage: $0 start|stop DIR PORT" >&2
  exit 2
fi
# Stop removes DIR: only a folder of our own name is accepted.
if [[ $dir != /* || $(basename "$dir") != pennock-pg-* ]]; then
  echo "$0: DIR must be an absolute path named pennock-pg-*: $dir" >&2
  exit 2
fi
if [[ ! $port =~ ^[0-9]+$ ]]; then
  echo "$0: PORT must be a number: $port" >&2
  exit 2
fi

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[[ -x $bin/pg_ctl ]] || { echo "$0: pg_ctl missing (package postgresql)" >&2; exit 1; }

as_owner() {
  if [[ $(id -u) -eq 0 ]]; then
    local user=postgres
    id "$user" >/dev/null 2>&1 || user=nobody
    runuser -u "$user" -- "$@"
  else
    "$@"
  fi
}

stop() {
  if [[ -f $dir/data/postmaster.pid ]]; then
    as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
}

start() {
  stop
  mkdir -p "$dir"
  if [[ $(id -u) -eq 0 ]]; then
    local user=postgres
    id "$user" >/dev/null 2>&1 || user=nobody
    chown "$user" "$dir"
  fi
  printf 'pennock\n' >"$dir/pw"
  chmod 644 "$dir/pw"
  as_owner "$bin/initdb" -D "$dir/data" -U pennock --pwfile="$dir/pw" -A scram-sha-256 \
    -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; exit 1; }
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" \
    start >/dev/null ||
    { cat "$dir/server.log" >&2; exit 1; }
}

case $action in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop DIR PORT" >&2; exit 2 ;;
esac
