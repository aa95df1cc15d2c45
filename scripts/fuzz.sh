#!/usr/bin/env bash
# Runs one libFuzzer target under ASan/UBSan: scripts/fuzz.sh TARGET SECONDS
# TARGET: amount, ini, sheet, package or address. Crashes land in build-fuzz/crashes/TARGET/;
# add each as a case to the normal tests once fixed (a sheet: `base64 -w 76` of the file without
# its first byte, as tests/import/fuzz-findings/NAME.EXT.b64).
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:?target: amount, ini, sheet, package or address}"
seconds="${2:-600}"
if ! command -v clang++ >/dev/null; then
  echo "fuzzing needs clang (apt-get install clang)" >&2
  exit 1
fi
if [ ! -f build-fuzz/CMakeCache.txt ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPENNOCK_FUZZ=ON -DPENNOCK_WERROR=OFF -DPENNOCK_BUILD_TESTS=OFF -DPENNOCK_BUILD_BENCH=OFF
fi
flock /tmp/pennock-build.lock cmake --build build-fuzz --parallel 2 --target "fuzz_$target"
corpus="build-fuzz/corpus/$target"
if [ ! -d "$corpus" ]; then
  scripts/fuzz-seeds.sh "$target" "$corpus"
fi
mkdir -p "build-fuzz/crashes/$target"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"build-fuzz/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -print_final_stats=1 \
  -rss_limit_mb=4096 -artifact_prefix="build-fuzz/crashes/$target/"
