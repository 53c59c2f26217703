// What the three mini-game windows share: their pictures, the bottom panel,
// the final score and the update of the screen after a tick.
#pragma once

#include <cstdint>

#include "board/minigames_screen.h"
#include "engine/image.h"

inline constexpr int MG_MAX_SETS = 24;

struct MinigameWindow {
    bool open = false;
    MinigameKind kind = MINIGAME_GRID;
    int player = -1;
    void* digits = nullptr;       // PANEL.MKF 79
    void* sets[MG_MAX_SETS] = {}; // by PANEL.MKF entry - the game's first entry
    int first_entry = 0;          // the entry sets[0] holds
    uint8_t* hit = nullptr;       // the grid's hit image
    uint32_t hit_size = 0;
    void* opening = nullptr; // PANEL.MKF 78
    uint32_t opening_size = 0;
    void* explosion = nullptr; // data.mkf 485 while it plays
    uint32_t explosion_size = 0;
    int32_t shown_score = -1; // the panel's score as last copied
    int32_t shown_time = -1;
    uint8_t cursor_mode = 0;      // the pointer's mode before the game
    ImageRecord* under = nullptr; // the screen the game covers, put back at its end
};
extern MinigameWindow mgw;

// A loaded frame of the game's entry, nullptr when missing.
const ImageRecord* mg_frame(int entry, int frame);
void* mg_set(int entry);
// Key and opaque draws into the locked back buffer (nothing for nullptr).
void mg_draw(uint16_t* back, const ImageRecord* img, int x, int y);
void mg_draw_opaque(uint16_t* back, const ImageRecord* img, int x, int y);
// The bottom strip with the time (tenths of a second) and the score; the
// icons and counts are the game's own.
void mg_draw_panel(uint16_t* back, int32_t time_tenths, int32_t score);
// One kind's icon and its count ("%02d") at panel place i.
void mg_draw_count(uint16_t* back, int place, const ImageRecord* icon, int32_t count);
void mg_draw_final_score(uint16_t* back, int32_t score);
// Copies the play area and as much of the panel as changed to the display.
void mg_present(int32_t time_tenths, int32_t score);
void mg_present_all();
// Plays the opening animation over the scene in the back buffer.
void mg_play_opening();
// Shared message handling: paint, and the tick gate (the top screen's timer
// while the program is active). Returns true when a tick is due.
bool mg_tick_due(uint32_t message, uint32_t wparam);

// Each game's scene and panel into the locked back buffer.
void minigame_grid_draw(uint16_t* back);
void minigame_targets_draw(uint16_t* back);
void minigame_steer_draw(uint16_t* back);
