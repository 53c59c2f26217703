#!/usr/bin/env bash
# Installs what is missing, then configures and builds the project.
# Usage: scripts/setup.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1; shift

# Debian packages the build, the program and the tests need.
packages=(
  g++ clang clang-format cmake make pkg-config git
  libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev
  libsdl2-ttf-dev fonts-arphic-uming
  zlib1g-dev
  liblunar-date-dev
  libfluidsynth-dev timgm6mb-soundfont
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev ffmpeg
  libespeak-ng-dev espeak-ng-data
  xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs=${KARVO_JOBS:-$(nproc 2>/dev/null || echo 4)}
cmake -S "$here" -B "$build_dir" "$@" >/dev/null
cmake --build "$build_dir" -j "$jobs"
