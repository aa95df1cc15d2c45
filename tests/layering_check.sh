#!/usr/bin/env bash
# Folders depend downwards only: no source folder includes from a folder above it.
# format <- store <- settings <- templates <- printing <- parties <- bills <- history <- import/online <- app;
# platform (the stand-ins for the desktop) sits at the bottom beside format.
# Usage: layering_check.sh SRC_DIR
set -euo pipefail
src="$1"
declare -A rank=([format]=0 [platform]=0 [store]=1 [settings]=2 [templates]=3 [printing]=4
  [parties]=5 [bills]=6 [history]=7 [import]=8 [online]=8 [app]=9)
status=0
for folder in "${!rank[@]}"; do
  [ -d "$src/$folder" ] || continue
  while IFS= read -r hit; do
    file="${hit%%:*}"
    used=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$hit")
    [ -n "${rank[$used]+x}" ] || continue
    if [ "${rank[$used]}" -gt "${rank[$folder]}" ]; then
      echo "$file: $folder includes from $used, which is above it"
      status=1
    fi
  done < <(grep -rHE '^#include "[a-z]+/' "$src/$folder" || true)
done
[ "$status" -eq 0 ] && echo "every folder includes only from below"
exit "$status"
