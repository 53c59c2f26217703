// The mini-games' windows: full-screen modal screens on their own timers.
#pragma once

#include <cstdint>

#include "board/minigame_catch.h"
#include "board/minigame_grid.h"
#include "board/minigame_target.h"
#include "board/minigames.h"
#include "platform/messages.h"

// The pointer's shapes (frames of the cursor set): the plain arrow once a
// game is over, the grid game's crosshair, the target game's turning sight.
inline constexpr int MG_CURSOR_ARROW = 41;
inline constexpr int GRID_CURSOR_CROSSHAIR = 42;
inline constexpr int TARGET_CURSOR_AIM_FIRST = 9, TARGET_CURSOR_AIM_FRAMES = 3,
                     TARGET_CURSOR_AIM_TICKS = 5;

// Frames of the grid game's board set (GRID_BOARD_ENTRY): the board, the
// figure's two bombed looks, and a piece at GRID_F_PIECE + kind.
enum GridBoardFrame : int { GRID_F_BOARD = 0, GRID_F_BOMBED = 1, GRID_F_PIECE = 3 };
// The figure's walking frames: four a facing, the step's sub-position within.
inline constexpr int GRID_WALK_FRAMES = 4;
// Frames of the target game's set (TARGET_SET_ENTRY): the background, and a
// target at TARGET_F_TARGET + kind (the kind's low four bits).
enum TargetFrame : int { TARGET_F_BACKGROUND = 0, TARGET_F_TARGET = 1 };
inline constexpr int TARGET_KIND_MASK = 15;

// A panel place of a game's counts: its icon centred on (MG_COUNT_X0 +
// MG_COUNT_DX place + MG_COUNT_ICON_CX, MG_COUNT_ICON_CY), then two digits
// from MG_COUNT_DIGITS_DX right of the place, MG_COUNT_DIGIT_DX apart.
inline constexpr int MG_COUNT_ICON_CX = 14, MG_COUNT_ICON_CY = 435;
inline constexpr int MG_COUNT_DIGITS_DX = 32, MG_COUNT_DIGIT_DX = 20;
// The big digits' width when their pictures are missing.
inline constexpr int MG_BIG_DIGIT_W = 60;

// Loads the game's pictures and sounds and resets its state for the player;
// false without a display (recorded as the game's panel, nothing loaded).
bool minigame_window_open(MinigameKind kind, int player);
// Runs the game's window until it ends.
void minigame_window_run(MinigameKind kind);
// Frees what minigame_window_open loaded.
void minigame_window_close(MinigameKind kind);

int32_t minigame_grid_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
int32_t minigame_targets_wndproc(PlatWindow window, uint32_t message, uint32_t wparam,
                                 int32_t lparam);
int32_t minigame_steer_wndproc(PlatWindow window, uint32_t message, uint32_t wparam,
                               int32_t lparam);

// The games' states while their windows are open (tests and benchmarks
// look at them and drive them).
GridGame& minigame_grid_state();
TargetGame& minigame_targets_state();
CatchGame& minigame_steer_state();

// Draws the game's current scene with its panel into the back buffer
// (nothing shown yet); nothing without a display.
void minigame_draw_scene(MinigameKind kind);
