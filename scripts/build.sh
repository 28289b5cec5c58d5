#!/usr/bin/env bash
# Configures and builds.
#   scripts/build.sh            the program only, into build/
#   scripts/build.sh all        the program, tests, benchmarks and tools, into build/
#   scripts/build.sh sanitize   the program and tests under AddressSanitizer and
#                               UndefinedBehaviorSanitizer, into build-sanitize/
#   scripts/build.sh tsan       the tests of the libraries that run threads, under
#                               ThreadSanitizer, into build-tsan/
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}"
if [ "${1:-}" = tsan ]; then
  if [ ! -f build-tsan/build.ninja ]; then
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" \
      -DBUILD_TESTING=ON -DPLOTTER_BENCHMARKS=OFF -DPLOTTER_TSAN=ON
  fi
  cmake --build build-tsan --target test_engine test_geometry3d test_analysis test_plot2d
  exit 0
fi
case "${1:-}" in
  all) DIR=build EXTRAS=ON SANITIZE=OFF ;;
  sanitize) DIR=build-sanitize EXTRAS=ON SANITIZE=ON ;;
  *) DIR=build EXTRAS=OFF SANITIZE=OFF ;;
esac
BENCH="$EXTRAS"
[ "$SANITIZE" = ON ] && BENCH=OFF # timings under the sanitizers tell nothing
if [ ! -f "$DIR/build.ninja" ]; then
  cmake -S . -B "$DIR" -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE" \
    -DBUILD_TESTING="$EXTRAS" -DPLOTTER_BENCHMARKS="$BENCH" -DPLOTTER_SANITIZE="$SANITIZE"
elif [ "$EXTRAS" = ON ]; then
  # Turn the extras on in an existing build; the program-only build leaves
  # them as they were.
  cmake -S . -B "$DIR" -DBUILD_TESTING=ON -DPLOTTER_BENCHMARKS="$BENCH" > /dev/null
fi
if [ "$EXTRAS" = ON ]; then
  cmake --build "$DIR"
else
  cmake --build "$DIR" --target plotter guide
fi
