#!/usr/bin/env bash
# Plays seeded computer-only games of three game years (1095 days) on each of
# the four stand-in maps and checks that every one ends by its own rules with
# exit status 0 and no broken invariant.
# Usage: tools/runner/games.sh RUNNER [GAMES]   (GAMES in all, default 200)
set -uo pipefail
runner=${1:?usage: games.sh RUNNER [GAMES]}
games=${2:-200}
per_map=$(( (games + 3) / 4 ))
failed=0
played=0
for map in 0 1 2 3; do
  for seed in $(seq 1 "$per_map"); do
    [ "$played" -ge "$games" ] && break
    players=$(( 2 + seed % 3 ))
    out=$("$runner" "$seed" "$map" "$players" 1095 2>&1)
    status=$?
    played=$((played + 1))
    if [ "$status" -ne 0 ] || grep -q "invariant broken" <<<"$out"; then
      failed=$((failed + 1))
      echo "FAILED: seed $seed map $map players $players: exit $status"
      grep -E "invariant broken|stalled|stopped" <<<"$out" | head -3
    fi
  done
done
echo "$played games played, $failed failed"
[ "$failed" -eq 0 ]
