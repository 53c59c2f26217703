#!/usr/bin/env bash
# Compares the pictures the tests wrote (BMP shots in the test directory)
# with a copy kept from an earlier build: every shot of the copy must be there
# and identical, byte for byte.
# Usage: scripts/shots_compare.sh KEPT_DIR [TEST_DIR]   (TEST_DIR default build/tests)
set -uo pipefail
kept=${1:?usage: shots_compare.sh KEPT_DIR [TEST_DIR]}
here=$(cd "$(dirname "$0")/.." && pwd)
dir=${2:-$here/build/tests}
total=0
differ=0
for f in "$kept"/*.bmp; do
  total=$((total + 1))
  name=$(basename "$f")
  if ! cmp -s "$f" "$dir/$name"; then
    differ=$((differ + 1))
    echo "DIFFERS: $name"
  fi
done
echo "$total shots compared, $differ differ"
[ "$differ" -eq 0 ]
