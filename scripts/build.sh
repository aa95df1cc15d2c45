#!/usr/bin/env bash
# Configures and builds in build/ (shared by ./run and ./test).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPENNOCK_WERROR=ON
fi
# The machine has two cores; one build at a time.
flock /tmp/pennock-build.lock cmake --build build --parallel 2
