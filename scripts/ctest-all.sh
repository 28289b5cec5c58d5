#!/usr/bin/env bash
# Runs the whole ctest suite in the normal build and then in the sanitizer
# build (the arguments go to both ctest runs), then the thread sanitizer's
# tests. Needs a display for the OpenGL
# tests (./test starts Xvfb when there is none).
set -uo pipefail
cd "$(dirname "$0")/.."
JOBS="$(nproc)"
status=0
for dir in build build-sanitize; do
  echo "== ctest in $dir"
  start=$SECONDS
  (cd "$dir" && ctest --output-on-failure -j "$JOBS" "$@") || status=1
  echo "== $dir: $((SECONDS - start)) s"
done
# The libraries that run builds on several threads, under ThreadSanitizer:
# their test executables, which the thread sanitizer build alone holds. The
# 2D pictures run threads too, but beside Qt's own thread pool, which is not
# built for the sanitizer and so looks to it like a race of its own: of
# test_plot2d only the relations' prover and the walks, which paint nothing.
echo "== ThreadSanitizer in build-tsan"
start=$SECONDS
for t in test_engine test_geometry3d test_analysis "test_plot2d --gtest_filter=Prover.*:Sampling.*"; do
  # shellcheck disable=SC2086
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" PLOTTER_THREADS=3 QT_QPA_PLATFORM=offscreen \
    build-tsan/tests/$t --gtest_brief=1 || status=1
done
echo "== build-tsan: $((SECONDS - start)) s"
exit $status
