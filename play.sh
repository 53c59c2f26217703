#!/usr/bin/env bash
# Sets up, builds the game and its stand-in data in Release, and starts it.
# KARVO_WINDOWED=1 runs in a window; KARVO_HEADLESS=1 runs on SDL's dummy drivers.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build="$here/build"
"$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release
cd "$build"
exec ./karvo "$@"
