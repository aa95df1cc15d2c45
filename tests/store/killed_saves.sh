#!/usr/bin/env bash
# Saves cheques through the command line and kills the program at random moments (SIGKILL):
# the database must stay sound, every save the program reported must be there with its values,
# and no cheque may be half written.
# Usage: killed_saves.sh PENNOCK_CLI [RUNS] [SEED]
set -euo pipefail
cli="$1"
runs="${2:-200}"
RANDOM="${3:-20261210}"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
export QT_QPA_PLATFORM=offscreen
"$cli" init --home "$home" >/dev/null 2>&1
db="$home/Data/EPData.ini"

reported=0
for i in $(seq 1 "$runs"); do
  out="$home/run.out"
  "$cli" print --home "$home" --kind 支票 --set "zdInComp=P-$i" --set "zdYT=用途$i" --amount "$i.25" \
    --save --pdf "$home/run.pdf" >"$out" 2>/dev/null &
  pid=$!
  # Somewhere between start-up and well after the save.
  sleep "0.$(printf %03d $((RANDOM % 160 + 20)))"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  serial=$(sed -n 's/^saved as 流水号 \([0-9]*\)$/\1/p' "$out")
  if [ -n "$serial" ]; then
    reported=$((reported + 1))
    row=$(sqlite3 "$db" "select 收款人全称 || '|' || 金额 || '|' || 用途 from DataZPTable where 流水号=$serial")
    if [ "$row" != "P-$i|$i.25|用途$i" ]; then
      echo "run $i: reported 流水号 $serial but the row says '$row'"
      exit 1
    fi
  fi
done

check=$(sqlite3 "$db" "PRAGMA integrity_check")
if [ "$check" != "ok" ]; then
  echo "integrity_check: $check"
  exit 1
fi
# A row written in part would lack one of the values saved together, or mix two runs.
half=$(sqlite3 "$db" "select count(*) from DataZPTable where 收款人全称 is null or 金额 is null or 用途 is null
  or 金额 <> substr(收款人全称, 3) || '.25' or 用途 <> '用途' || substr(收款人全称, 3)")
if [ "$half" -ne 0 ]; then
  echo "$half cheques half written"
  exit 1
fi
total=$(sqlite3 "$db" "select count(*) from DataZPTable")
echo "$runs runs killed at random: $reported saves reported, $total cheques stored, database sound"
