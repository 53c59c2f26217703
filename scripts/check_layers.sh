#!/usr/bin/env bash
# Fails when a layer includes one above it: the engine includes nothing from
# the shell, the board, finance or the cards, and the rule files of the board,
# finance and the cards include neither the board screen nor the drawing
# headers nor the platform layer (their windows, the view, the sprites, the
# minimap and the panel may).
set -uo pipefail
cd "$(dirname "$0")/.."
status=0

if hits=$(grep -rnE '#include "(shell|board|finance|cards)/' src/engine); then
    echo "src/engine includes a layer above it:"
    echo "$hits"
    status=1
fi

for f in src/board/*.cpp src/finance/*.cpp src/cards/*.cpp; do
    case "$f" in
    *_screen.cpp | src/board/view*.cpp | src/board/sprites.cpp | src/board/minimap.cpp | \
        src/board/board_panel.cpp) continue ;;
    esac
    if hits=$(grep -nE '#include "(board/board_screen|engine/draw|platform/[a-z_]+)\.h"' "$f"); then
        echo "rule file $f includes the screen, drawing or platform layer:"
        echo "$hits"
        status=1
    fi
done
exit $status
