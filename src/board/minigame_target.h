// The target game: targets rise from the bottom of the picture and the
// player clicks them for 15 seconds; special targets double, halve or
// shake up the game.
//
// The rules only: minigame_targets_frame is one 100 ms tick of the state.
#pragma once

#include <cstdint>

#include "board/minigame_common.h"
#include "engine/sound.h"

inline constexpr int TARGET_SLOTS = 16;
inline constexpr int TARGET_KINDS = 12;
inline constexpr int TARGET_RISE[TARGET_KINDS] = {15, 15, 15, 15, 18, 18, 18, 24, 24, 24, 24, 18};
inline constexpr int TARGET_SPECIALS[10] = {9, 9, 10, 10, 10, 10, 10, 11, 11, 11};
inline constexpr int TARGET_HIT_KIND = 60; // a hit shows its picture while the kind is 16 or more
inline constexpr int TARGET_HIT_MARK = 16;
inline constexpr int TARGET_DOUBLE = 9, TARGET_HALVE = 10, TARGET_SURPRISE = 11;
inline constexpr int TARGET_COLUMNS = 8;
inline constexpr int TARGET_COLUMN_X0 = 40, TARGET_COLUMN_DX = 80;
inline constexpr int TARGET_START_Y = 420;
inline constexpr int TARGET_COLUMN_BUSY_BELOW = 300; // a target lower than this holds its column
inline constexpr int TARGET_AREA_H = 387;            // the picture area is 640 x 387
inline constexpr int TARGET_GONE_ABOVE = -30;        // a target risen this far is out of the area
inline constexpr int TARGET_TIME_TICKS = 150;
inline constexpr int TARGET_COUNTDOWN_TICKS = 5;
inline constexpr int TARGET_FREEZE_TICKS = 20;
// The hit boxes: kinds 0..5 x +-22, y +-30; kinds 6..11 x +-18, y +-26.
inline constexpr int TARGET_BOX_BIG_W = 22, TARGET_BOX_BIG_H = 30;
inline constexpr int TARGET_BOX_SMALL_W = 18, TARGET_BOX_SMALL_H = 26;

// The pictures: PANEL.MKF 91, frame 0 the background, kind + 1 a target,
// 13 the hit picture.
inline constexpr int TARGET_SET_ENTRY = 91;
inline constexpr int TARGET_HIT_FRAME = 13;

enum TargetSound : int { TARGET_SND_NEW = 0, TARGET_SND_MISS = 1, TARGET_SND_HIT = 2 };
extern EffectListEntry target_sounds[4];

// Speed modes.
inline constexpr int TARGET_SPEED_DOUBLE = -1, TARGET_SPEED_NORMAL = 0, TARGET_SPEED_HALF = 1;

struct TargetSlot {
    int16_t x; // 0 = free
    int16_t y;
    int16_t kind; // 0..11, or 16 and more while hit
};

struct TargetGame {
    uint8_t phase; // MinigamePhase
    int32_t wait_ticks;
    TargetSlot slots[TARGET_SLOTS];
    int32_t score;
    int32_t freeze; // ticks the targets stand still
    int32_t speed;  // -1 double, 0 normal, 1 half
    int32_t time;   // ticks left
    uint8_t ended;  // the clock has run out: no new targets
    uint8_t score_changed;
    int32_t last_surprise; // the last kind-11 effect drawn, -1 none
};

// The kind's hit box contains (x, y).
bool target_box_contains(const TargetSlot& t, int x, int y);

void minigame_targets_start(TargetGame& g);
void minigame_targets_begin(TargetGame& g);
// One timer tick.
void minigame_targets_frame(TargetGame& g);
// A button down at (x, y): every live target under it is hit.
void minigame_targets_click(TargetGame& g, int x, int y);
