#!/usr/bin/env bash
# Two programs save cheques into one installation at the same time: every save must succeed and
# every cheque must be there once, with its own values.
# With PENNOCK_TEST_DATABASE (the test server) the installation's database is a fresh one there.
# Usage: concurrent_saves.sh PENNOCK_CLI [SAVES_PER_PROGRAM]
set -euo pipefail
cli="$1"
runs="${2:-100}"
home="$(mktemp -d)"
admin="${PENNOCK_TEST_DATABASE:-}"
server_db="pennock_saves_$$"
cleanup() {
  rm -rf "$home"
  if [ -n "$admin" ]; then psql -q "$admin" -c "drop database if exists $server_db with (force)"; fi
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen
if [ -n "$admin" ]; then
  psql -q "$admin" -c "create database $server_db"
  export PENNOCK_DATABASE="${admin%/*}/$server_db"
  q() { psql -Atq "$PENNOCK_DATABASE" -c "$1"; }
else
  q() { sqlite3 "$home/Data/EPData.ini" "$1"; }
fi
"$cli" init --home "$home" >/dev/null 2>&1

saver() {
  local who="$1" i
  for i in $(seq 1 "$runs"); do
    if ! "$cli" print --home "$home" --kind 支票 --set "zdInComp=$who-$i" --amount "$i.25" --save \
        --pdf "$home/$who.pdf" >>"$home/$who.log" 2>>"$home/$who.err"; then
      echo "$who $i" >>"$home/failures"
    fi
  done
}
saver A &
saver B &
wait

status=0
if [ -s "$home/failures" ]; then
  echo "saves refused:"; cat "$home/failures"; cat "$home"/*.err | grep -v XDG_RUNTIME_DIR | sort | uniq -c | head
  status=1
fi
total=$(q 'select count(*) from DataZPTable')
distinct=$(q 'select count(distinct "收款人全称") from DataZPTable')
wrong=$(q "select count(*) from DataZPTable where \"金额\" <> substr(\"收款人全称\", 3) || '.25'")
if [ "$total" -ne $((2 * runs)) ] || [ "$distinct" -ne $((2 * runs)) ] || [ "$wrong" -ne 0 ]; then
  echo "expected $((2 * runs)) cheques, found $total ($distinct payees, $wrong with another's amount)"
  status=1
fi
[ "$status" -eq 0 ] && echo "$((2 * runs)) concurrent saves, none refused, none lost"
exit "$status"
