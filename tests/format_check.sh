#!/usr/bin/env bash
# Every C++ file follows .clang-format; names the files that do not and how to mend them.
# Usage: format_check.sh PROJECT_DIR
set -uo pipefail
cd "$1"
mapfile -t files < <(find src tests bench fuzz tools -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
if ! out=$(clang-format --dry-run --Werror "${files[@]}" 2>&1); then
  grep -oE '^[^:]+\.(cpp|h):' <<<"$out" | sort -u | sed -E 's/:$//; s/.*/& is not formatted: clang-format -i &/'
  exit 1
fi
