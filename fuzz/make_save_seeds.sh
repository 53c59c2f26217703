#!/bin/sh
# Seeds of the save and settings fuzz targets: the runner's autosaves of two
# to four players on each map, and two settings files (all zero, and the
# defaults with a Ctrl chord).
# Usage: make_save_seeds.sh RUNNER SEED_DIR
set -eu
runner=$1
seeds=$2
mkdir -p "$seeds/save" "$seeds/cfg"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for map in 0 1 2 3; do
  for players in 2 3 4; do
    dir="$work/$map-$players"
    mkdir -p "$dir"
    "$runner" $((map * 10 + players)) $map $players 4 --autosave --save-dir "$dir" > /dev/null
    cp "$dir/SAVE0.DAT" "$seeds/save/map$map-players$players.dat"
  done
done
head -c 72 /dev/zero > "$seeds/cfg/zero.cfg"
# speed 1, animations 1, music 4, sound 4, autosave 1, layout 1, the date, then 28 hot keys
printf '\001\001\004\004\001\001\000\000\001\001\316\007\000\000\000\000' > "$seeds/cfg/defaults.cfg"
printf '\046\000\047\000\050\000\045\000\015\000\033\000\011\000\011\000\131\000\116\000' >> "$seeds/cfg/defaults.cfg"
printf '\040\000\104\000\127\000\130\000\103\000\105\000\106\000\115\000\274\000\276\000' >> "$seeds/cfg/defaults.cfg"
printf '\101\000\126\000\123\000\114\000\110\000\041\000\042\000\121\021' >> "$seeds/cfg/defaults.cfg"
