#!/usr/bin/env bash
# Sets up, builds in Release and runs every test through ctest.
# KARVO_JOBS=N limits parallel build and test jobs.
# KARVO_SANITIZE=1 builds and tests with AddressSanitizer and UndefinedBehaviorSanitizer instead.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "${KARVO_SANITIZE:-0}" = 1 ]; then
  build="$here/build-asan"
  "$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKARVO_SANITIZE=ON -DKARVO_BUILD_BENCH=OFF
else
  build="$here/build"
  "$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release
fi
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy KARVO_HEADLESS=1
ctest --test-dir "$build" --output-on-failure -j "${KARVO_JOBS:-$(nproc 2>/dev/null || echo 4)}"
