#!/usr/bin/env bash
# Runs the whole ctest suite in the normal build and then in the sanitizer
# build; the arguments go to both ctest runs. Needs a display for the OpenGL
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
exit $status
