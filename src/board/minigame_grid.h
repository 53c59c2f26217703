// The grid game: the player's figure walks over an isometric board of 64
// positions picking up pieces for 15 seconds; a bomb ends it early.
//
// The rules only: the state is a plain struct, minigame_grid_frame is one
// 100 ms tick of it, and the window (minigames_screen.cpp) draws what the
// state says after each tick.
#pragma once

#include <cstdint>

#include "board/minigame_common.h"
#include "engine/sound.h"

inline constexpr int GRID_SIDE = 9;
inline constexpr int GRID_POSITIONS = 64;

// A position's screen point; x 0 = no position there.
struct GridPoint {
    int16_t x, y;
};
// By row, then column.
extern const GridPoint grid_points[GRID_SIDE][GRID_SIDE];

// A position's flags word.
inline constexpr uint16_t GRID_PIECE_MASK = 0x000F;  // the piece lying there, 0 none
inline constexpr uint16_t GRID_BEHIND_MASK = 0x00F0; // 1 behind the central obstacle
inline constexpr int GRID_BEHIND_SHIFT = 4;

// The pieces: kind 1 a bomb, kinds 2..5 scored.
inline constexpr int GRID_KINDS = 6; // index by kind 1..5
inline constexpr int GRID_PIECES_OF_KIND[GRID_KINDS] = {0, 3, 12, 3, 9, 1};
inline constexpr int GRID_POINTS_OF_KIND[GRID_KINDS] = {0, 0, 5, 12, 8, 20};
inline constexpr int GRID_BOMB = 1;

enum GridFigureState : uint8_t {
    GRID_IDLE = 0,
    GRID_BOMBED = 1,
    GRID_WALKING = 2,
    GRID_PICKING = 3,
    GRID_GOOD_END = 4,
    GRID_BAD_END = 5,
    GRID_MIDDLE_END = 6,
};

inline constexpr int GRID_START_COLUMN = 2, GRID_START_ROW = 6;
inline constexpr int GRID_TIME_TICKS = 150;
inline constexpr int GRID_COUNTDOWN_TICKS = 10;
inline constexpr int GRID_REACTION_TICKS = 14; // the bomb's and the middle ending's pictures
inline constexpr int GRID_ENDING_PLAYS = 4;    // the good and bad endings play four times
inline constexpr int GRID_FINAL_TICKS = 20;
inline constexpr int GRID_FLY_FRAMES = 6;
inline constexpr int GRID_PICK_TICKS = 4;
inline constexpr int GRID_QUARTERS = 4;
// Below this the bad ending, from GRID_GOOD_FROM the good one, between the middle one.
inline constexpr int GRID_MIDDLE_FROM = 40, GRID_GOOD_FROM = 56;

// The pictures (PANEL.MKF).
inline constexpr int GRID_BOARD_ENTRY =
    80;                                   // 0 board, 1-2 bomb reaction, 3 obstacle, 3 + kind pieces
inline constexpr int GRID_HIT_ENTRY = 81; // 640 x 480 bytes: row x 9 + column, 255 between
inline constexpr int GRID_WALK_ENTRY = 82; // frame direction x 4 + quarter step
inline constexpr int GRID_PICK_ENTRY = 83;
inline constexpr int GRID_GOOD_ENTRY = 84;
inline constexpr int GRID_BAD_ENTRY = 85;
inline constexpr int GRID_FLY_FIRST_ENTRY = 86; // + kind - 1, 6 frames each
inline constexpr int GRID_OBSTACLE_FRAME = 3;
inline constexpr int GRID_OBSTACLE_X = 320, GRID_OBSTACLE_Y = 225;
inline constexpr int GRID_HIT_W = 640, GRID_HIT_H = 480;
inline constexpr uint8_t GRID_HIT_NONE = 255;

// The sound list's elements.
enum GridSound : int {
    GRID_SND_WALK = 0, // looped while walking
    GRID_SND_ARRIVE = 1,
    GRID_SND_GOOD = 2, // looped
    GRID_SND_BAD = 3,  // looped
    GRID_SND_PIECE_SMALL = 4,
    GRID_SND_PIECE_MIDDLE = 5,
    GRID_SND_PIECE_BIG = 6,
    GRID_SND_BOMB = 7,
};
extern EffectListEntry grid_sounds[9];

struct GridGame {
    uint8_t phase;      // MinigamePhase
    int32_t wait_ticks; // countdown, reaction or final ticks left
    uint16_t cells[GRID_SIDE][GRID_SIDE];
    // The figure.
    int8_t column, row;           // its cell
    int8_t next_column, next_row; // the cell it walks into
    int8_t target_column, target_row;
    int32_t pos_x, pos_y;   // 16.16, in cells (x the column)
    int32_t step_x, step_y; // 16.16 a step
    uint8_t state;          // GridFigureState
    int32_t sub;            // quarter steps, animation frames
    int32_t facing;         // 0..7
    int32_t ending_plays;   // good and bad endings: plays done
    // Frames of the good and bad endings' pictures (the window sets them).
    int32_t good_frames, bad_frames;
    // The piece in the air: kind 0 none.
    int8_t fly_kind, fly_column, fly_row;
    int32_t fly_frame;
    int32_t counts[GRID_KINDS]; // pieces of kinds 2..5 collected
    int32_t time;               // ticks left
    uint8_t score_changed;      // the panel's score changed since the window last looked
    uint8_t close_asked;        // a click on the final score
};

// The position exists (inside the board and not the hole).
bool grid_exists(int column, int row);
// The cell a hit-image byte names: column, row; false when it names none.
bool grid_cell_of_hit(uint8_t byte, int* column, int* row);
// The hit image's byte under the mouse, GRID_HIT_NONE outside the image's bytes.
uint8_t grid_hit_at(const uint8_t* image, uint32_t size, int x, int y);

// Clears the board and lays out the 28 pieces from the game's generator.
void minigame_grid_setup(GridGame& g);
// The whole start: setup, the figure at its cell, score and time, the countdown.
void minigame_grid_start(GridGame& g);
// After the opening animation: the clock starts.
void minigame_grid_begin(GridGame& g);
// Starts a walk to the cell; 1 when it starts, 0 for the figure's own cell.
int minigame_grid_pick_cell(GridGame& g, int column, int row);
// The cell after the current one on the way to the target, round the hole.
void minigame_grid_slide(GridGame& g);
// A click on hit-image byte `hit` (button down): a walk while the figure is
// idle and the game runs; on the final score it closes the window.
void minigame_grid_click(GridGame& g, uint8_t hit);
// One timer tick.
void minigame_grid_frame(GridGame& g);
int32_t minigame_grid_score(const GridGame& g);
