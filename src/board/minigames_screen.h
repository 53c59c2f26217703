// The mini-games' windows: full-screen modal screens on their own timers.
#pragma once

#include <cstdint>

#include "board/minigame_catch.h"
#include "board/minigame_grid.h"
#include "board/minigame_target.h"
#include "board/minigames.h"
#include "platform/messages.h"

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
