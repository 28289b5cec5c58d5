#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
#   scripts/deps.sh program   what the program alone needs
#   scripts/deps.sh all       also the tests, benchmarks and their tools
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6opengl6-dev qt6-svg-dev libgl1-mesa-dev libglu1-mesa-dev
  qt6-translations-l10n qt6-l10n-tools qt6-tools-dev cmark-gfm libboost-dev
  fonts-liberation2 nlohmann-json3-dev
)
if [ "${1:-all}" = "all" ]; then
  PACKAGES+=(
    libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev libfparser-dev libmpfi-dev
    xvfb xauth fonts-dejavu-core
    desktop-file-utils appstream shared-mime-info xdg-utils xdotool
    librsvg2-bin poppler-utils admesh assimp-utils python3-jsonschema
  )
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
