#!/usr/bin/env bash
# Checks that two builds of the headless runner print the same, byte for
# byte, and end with the same exit status: seeds 1-20 on the four maps with
# 2 to 4 players, each under a set of option variants (messages, animations,
# set-up choices). Meant for changes that must not change what the game does.
# Usage: scripts/runner_compare.sh BASE_RUNNER NEW_RUNNER [DAYS] [SEEDS]
#   DAYS the day limit of every game (default 1095), SEEDS the last seed (default 20).
# KARVO_COMPARE_CACHE=DIR keeps the base runner's results there (by the
# binary's hash, the days and the seeds), so that a base is played only once.
set -uo pipefail
base=${1:?usage: runner_compare.sh BASE_RUNNER NEW_RUNNER [DAYS] [SEEDS]}
new=${2:?usage: runner_compare.sh BASE_RUNNER NEW_RUNNER [DAYS] [SEEDS]}
days=${3:-1095}
seeds=${4:-20}
jobs=${KARVO_JOBS:-$(nproc 2>/dev/null || echo 4)}
variants=(
  ""
  "--messages"
  "--animations --messages"
  "--money 0 --messages"
  "--travel 2 --messages"
  "--land-term 3 --messages"
  "--animations --money 0 --travel 2 --land-term 3"
)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cases="$work/cases"
for seed in $(seq 1 "$seeds"); do
  for map in 0 1 2 3; do
    for players in 2 3 4; do
      for v in "${!variants[@]}"; do
        echo "$seed $map $players $v"
      done
    done
  done
done >"$cases"
export work days
run_one() { # RUNNER TAG SEED MAP PLAYERS VARIANT_INDEX VARIANT_ARGS...
  local runner=$1 tag=$2 seed=$3 map=$4 players=$5 vi=$6
  shift 6
  local out
  out=$(SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$runner" "$seed" "$map" "$players" "$days" "$@" 2>/dev/null)
  local status=$?
  printf '%s %s\n' "$(printf '%s\nstatus=%d\n' "$out" "$status" | sha256sum | cut -c1-32)" \
    "$seed/$map/$players/$vi" >"$work/$tag.$seed.$map.$players.$vi"
}
export -f run_one
cache=""
if [ -n "${KARVO_COMPARE_CACHE:-}" ]; then
  cache="$KARVO_COMPARE_CACHE/$(sha256sum "$base" | cut -c1-16).$days.$seeds"
  if [ -d "$cache" ]; then cp "$cache"/base.* "$work"/; fi
fi
for side in base new; do
  runner=$base
  [ "$side" = new ] && runner=$new
  if [ "$side" = base ] && [ -n "$cache" ] && [ -d "$cache" ]; then continue; fi
  while read -r seed map players v; do
    echo "run_one '$runner' $side $seed $map $players $v ${variants[$v]}"
  done <"$cases" | xargs -P "$jobs" -I{} bash -c '{}'
  if [ "$side" = base ] && [ -n "$cache" ]; then
    mkdir -p "$cache" && cp "$work"/base.* "$cache"/
  fi
done
total=0
differ=0
while read -r seed map players v; do
  total=$((total + 1))
  b=$(cut -d' ' -f1 "$work/base.$seed.$map.$players.$v")
  n=$(cut -d' ' -f1 "$work/new.$seed.$map.$players.$v")
  if [ "$b" != "$n" ]; then
    differ=$((differ + 1))
    echo "DIFFERS: seed $seed map $map players $players options '${variants[$v]}'"
  fi
done <"$cases"
echo "$total runs compared, $differ differ"
[ "$differ" -eq 0 ]
