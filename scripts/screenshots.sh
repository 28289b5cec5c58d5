#!/usr/bin/env bash
# Remakes the pictures of the user's guide in docs/ from the real program:
# docs/*.png at 100 % and docs/200/*.png at 200 % desktop scaling. Starts an
# Xvfb display of its own for the OpenGL pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh all
scripts/build.sh all > /dev/null
tool=build/tools/plotter_screenshots
shoot() { # <folder> [environment]
  rm -rf "$1"
  mkdir -p "$1"
  env "${@:2}" xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" "$tool" "$1"
}
shoot docs/shots.tmp
shoot docs/shots200.tmp QT_SCALE_FACTOR=2
# Keep the pictures the guide shows.
for name in start start_en formula_marks colours function_list mode_yx mode_yx_polar mode_yx_list analysis mode_plane \
    mode_surface mode_implicit_fields mode_implicit implicit_progress mode_curve mode_patch \
    surface_turned surface_stereo animation_1 animation_2 camera_1 camera_2; do
  mv "docs/shots.tmp/$name.png" docs/
done
mkdir -p docs/200
for name in mode_yx mode_surface; do mv "docs/shots200.tmp/$name.png" docs/200/; done
rm -rf docs/shots.tmp docs/shots200.tmp
ls docs docs/200
