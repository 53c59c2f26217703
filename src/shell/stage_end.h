// The stage end and the four-map campaign.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// One byte per map 0..3: 1 once the map was won. Lives for the run of the
// program (cleared at the title), not for one game.
extern uint8_t campaign_maps_cleared[4];

// The stage-cleared or game-won screens.
void stage_won();
// The offer to continue a lost stage from a save: 4 accepted, 1 not.
// over_board 0: called from the board after a bankruptcy (the cheer plays
// over the board on acceptance); 1 after a computer won.
uint8_t stage_offer_continue(int over_board);

// Marks the map cleared; the number of maps cleared now.
int stage_mark_cleared(int map);
// Running frame `step` of a runner set of `count` frames in a direction
// (0 right, 1 left): blocks from frame 5 on, as many per direction as fit
// in the set; frame 0 (standing) when none fit.
int stage_running_frame(int count, int direction, int step);
// The companion's walking frame `step` in a direction.
int stage_companion_frame(int direction, int step);
// The chooser's row under a point (map 0..3), -1 outside the rows.
int stage_chooser_row(int x, int y);
// Where a stamp of w x h is put into a picture of target_w x target_h when
// its top-left corner is aimed at (x, y): moved in so the stamp lies whole
// inside the picture (at 0 on a side the stamp is larger than).
struct StampOrigin {
    int left, top;
};
StampOrigin stage_stamp_origin(int target_w, int target_h, int w, int h, int x, int y);

// The windows (stage_end_screen.cpp): the celebration, which may set
// game_map to the chosen map; the ten-second countdown, 1 when accepted;
// the cheer over the board.
void stage_won_screen();
// The celebration's parts, which stage_won_screen puts around its modal loop
// and the benchmarks drive by hand: its pictures read (the cleared maps
// stamped), the window procedure (a timer message is one frame drawn into
// the back surface), and everything freed.
void stage_won_window_open();
int32_t stage_won_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
void stage_won_window_close();
int stage_countdown_screen(int over_board);
void stage_cheer_over_board();
