#!/usr/bin/env bash
# Fails when a layer reaches one above it, first by its includes, then by the
# symbols its built objects use.
#
# Layers, lowest first: platform and data, engine, the rules and windows of
# the board, finance and the cards, the shell.
#
# Includes: the engine includes nothing from the shell, the board, finance or
# the cards, and the rule files of the board, finance and the cards include
# neither the board screen nor the drawing headers nor the platform layer
# (their windows, the view, the sprites, the minimap and the panel may).
#
# Symbols (from the objects of a build, read with nm): no object of platform,
# data or the engine uses a symbol defined above it; no object outside the
# shell uses a symbol defined in the shell; no rule file uses a symbol
# defined in a window (a *_screen.cpp). A use listed in the exceptions file
# (one "user-file defining-file" pair a line, the climbs not yet taken apart)
# is let through; a listed pair that no longer climbs fails too, so that the
# list only ever shrinks.
#
# Usage: scripts/check_layers.sh [BUILD_DIR]   (default build; the objects
# must have been built). KARVO_LAYERS_SRC and KARVO_LAYERS_EXCEPTIONS point
# it at another source tree and exceptions file (the check's own test does).
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
src=${KARVO_LAYERS_SRC:-src}
exceptions=${KARVO_LAYERS_EXCEPTIONS:-scripts/layer_exceptions.txt}
status=0

if hits=$(grep -rnE '#include "(shell|board|finance|cards)/' "$src/engine"); then
    echo "$src/engine includes a layer above it:"
    echo "$hits"
    status=1
fi

# The board's drawing files: windows in all but name.
is_window() {
    case "$1" in
    *_screen.cpp | board/view*.cpp | board/sprites.cpp | board/minimap.cpp | board/board_panel.cpp) return 0 ;;
    esac
    return 1
}

for f in "$src"/board/*.cpp "$src"/finance/*.cpp "$src"/cards/*.cpp; do
    [ -e "$f" ] || continue
    is_window "${f#"$src"/}" && continue
    if hits=$(grep -nE '#include "(board/board_screen|engine/draw|platform/[a-z_]+)\.h"' "$f"); then
        echo "rule file $f includes the screen, drawing or platform layer:"
        echo "$hits"
        status=1
    fi
done

objects=$(find "$build/src/CMakeFiles" -name '*.o' 2>/dev/null | sort)
if [ -z "$objects" ]; then
    echo "no objects under $build/src/CMakeFiles: build first (bash test.sh)"
    exit 1
fi
if [ ! -f "$exceptions" ]; then
    echo "$exceptions: no such file"
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One line per symbol: "D file symbol" for a strong definition, "U file symbol"
# for a use; file is the source path below src/ (generated sources count as data).
for o in $objects; do
    rel=${o#*.dir/}
    rel=${rel%.o}
    case "$rel" in
    __/generated/*) rel=data/${rel#__/generated/} ;;
    # A source removed since the last build leaves its object behind.
    *) [ -f "$src/$rel" ] || continue ;;
    esac
    nm -P "$o" 2>/dev/null | awk -v f="$rel" '
        $2 ~ /^[TDBRG]$/ { print "D", f, $1 }
        $2 == "U" { print "U", f, $1 }'
done >"$work/symbols"

# Every use of a symbol another object defines: "user definer symbol".
awk '
    $1 == "D" { def[$3] = $2; next }
    $1 == "U" { use[++n] = $2 " " $3 }
    END {
        for (i = 1; i <= n; i++) {
            split(use[i], u, " ")
            if (u[2] in def && def[u[2]] != u[1]) print u[1], def[u[2]], u[2]
        }
    }' "$work/symbols" | sort -u >"$work/uses"

rank() {
    case "${1%%/*}" in
    platform | data) echo 0 ;;
    engine) echo 1 ;;
    board | finance | cards) echo 2 ;;
    shell) echo 3 ;;
    *) echo 9 ;;
    esac
}

while read -r user definer symbol; do
    ru=$(rank "$user")
    rd=$(rank "$definer")
    why=""
    if [ "$ru" -le 1 ] && [ "$rd" -gt "$ru" ]; then
        why="a lower layer uses a symbol defined above it"
    elif [ "$rd" -eq 3 ] && [ "$ru" -ne 3 ]; then
        why="only the shell may use the shell"
    elif [ "$ru" -eq 2 ] && ! is_window "$user" && [[ $definer == *_screen.cpp ]]; then
        why="a rule file uses its window"
    fi
    [ -n "$why" ] && echo "$user $definer $symbol $why"
done <"$work/uses" >"$work/climbs"

grep -vE '^[[:space:]]*(#|$)' "$exceptions" | awk '{print $1, $2}' | sort -u >"$work/allowed"
awk '{print $1, $2}' "$work/climbs" | sort -u >"$work/climbing_pairs"

if new=$(comm -23 "$work/climbing_pairs" "$work/allowed") && [ -n "$new" ]; then
    echo "objects that climb the layers:"
    while read -r user definer; do
        awk -v u="$user" -v d="$definer" '$1 == u && $2 == d' "$work/climbs" |
            while read -r _ _ symbol why; do
                echo "  $user uses $(echo "$symbol" | c++filt) from $definer: $why"
            done
    done <<<"$new"
    status=1
fi
if stale=$(comm -13 "$work/climbing_pairs" "$work/allowed") && [ -n "$stale" ]; then
    echo "$exceptions lists pairs that no longer climb; remove them:"
    echo "$stale" | sed 's/^/  /'
    status=1
fi
exit $status
