#!/usr/bin/env bash
# Configures and builds into build/.
#   scripts/build.sh          the program only
#   scripts/build.sh all      the program, tests, benchmarks and tools
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
if [ "${1:-}" = "all" ]; then EXTRAS=ON; else EXTRAS=OFF; fi
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" \
    -DBUILD_TESTING="$EXTRAS" -DPLOTTER_BENCHMARKS="$EXTRAS"
elif [ "$EXTRAS" = ON ]; then
  # Turn the extras on in an existing build; the program-only build leaves
  # them as they were.
  cmake -S . -B build -DBUILD_TESTING=ON -DPLOTTER_BENCHMARKS=ON > /dev/null
fi
if [ "$EXTRAS" = ON ]; then
  cmake --build build
else
  cmake --build build --target plotter
fi
