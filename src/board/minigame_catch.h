// The catching game: a thrower walks to and fro along the top throwing
// things; the player's character runs under them, steered by the mouse,
// for 18 seconds. A bomb caught ends the game in an explosion.
//
// The rules only: minigame_steer_frame is one 50 ms tick of the state; the
// window passes the mouse in and carries out the warps asked for.
#pragma once

#include <cstdint>

#include "board/minigame_common.h"
#include "engine/sound.h"

inline constexpr int CATCH_SLOTS = 16;
inline constexpr int CATCH_KINDS = 5; // 0..3 caught for points, 4 the bomb
inline constexpr int CATCH_BOMB = 4;
inline constexpr int CATCH_FALL[CATCH_KINDS] = {24, 18, 15, 12, 15};
inline constexpr int CATCH_POINTS[4] = {10, 5, 3, 1};
inline constexpr int CATCH_OBJECT_FRAMES = 8;
inline constexpr int CATCH_START_Y = 100, CATCH_START_SPEED = -16, CATCH_MAX_SPEED = 16;
inline constexpr int CATCH_ARC_UNTIL = 130;  // above this an object flies in its arc
inline constexpr int CATCH_GROUND_Y = 380;   // the runner's feet; past it an object is lost
inline constexpr int CATCH_SCALE_SPAN = 250; // half size at y 130, full size 250 lower
inline constexpr int CATCH_THROWER_MIN_X = 110, CATCH_THROWER_MAX_X = 530;
inline constexpr int CATCH_THROWER_STEP = 12;
inline constexpr int CATCH_THROWER_Y = 126, CATCH_BOMBER_Y = 125;
inline constexpr int CATCH_MIDDLE_X = 320;
inline constexpr int CATCH_RUNNER_START_X = 320;
inline constexpr int CATCH_RUNNER_STEP = 10;
inline constexpr int CATCH_STEER_SLACK = 8; // mouse moves and distances up to this do nothing
inline constexpr int CATCH_MOUSE_LEFT = 0, CATCH_MOUSE_RIGHT = 639;
inline constexpr int CATCH_BOMBER_THROWS_AT = 7, CATCH_BOMBER_LAST = 11;
inline constexpr int CATCH_TIME_TICKS = 360;
inline constexpr int CATCH_COUNTDOWN_TICKS = 10;
inline constexpr int CATCH_POSES = 5; // frames 0..4 of a runner's set
inline constexpr int CATCH_BOMB_POSE = 4;
inline constexpr int CATCH_RUNNER_MAX_FRAMES = 64;
inline constexpr int CATCH_EXPLOSION_DX = -55, CATCH_EXPLOSION_Y = 295;

// The thrower's states.
enum CatchThrowerState : int {
    THROWER_RIGHT = 0,
    THROWER_TURN_AT_RIGHT = 2,
    THROWER_TURN_AT_LEFT = 3,
    THROWER_LEFT = 4,
};

// The pictures: PANEL.MKF 92 background, 93 thrower, 94 bomb thrower,
// 95-99 the objects of kinds 0..4, 100 + character the runner; data.mkf
// 485 the explosion.
inline constexpr int CATCH_BACKGROUND_ENTRY = 92;
inline constexpr int CATCH_THROWER_ENTRY = 93;
inline constexpr int CATCH_BOMBER_ENTRY = 94;
inline constexpr int CATCH_OBJECT_FIRST_ENTRY = 95;
inline constexpr int CATCH_RUNNER_FIRST_ENTRY = 100;
inline constexpr int CATCH_EXPLOSION_ENTRY = 485;

enum CatchSound : int {
    CATCH_SND_THROW = 0,
    CATCH_SND_RUN = 1,  // the game's running loop
    CATCH_SND_BOMB = 2, // looped while a bomb is in the air
    CATCH_SND_BLAST = 3,
};
extern EffectListEntry catch_sounds[5];

struct CatchObject {
    int16_t x; // 0 = free
    int16_t y;
    int16_t word; // bits 0-3 kind, 4-6 animation frame, 8-15 signed drift
    int16_t speed;
};

// A runner frame's size and hot spot, for the catch box.
struct CatchFrameBox {
    int16_t width, height, hot_x, hot_y;
};

struct CatchGame {
    uint8_t phase; // MinigamePhase
    int32_t wait_ticks;
    CatchObject objects[CATCH_SLOTS];
    int32_t counts[4];
    int32_t bombs_in_air;
    int32_t thrower_x, thrower_state, thrower_counter, throw_at;
    int32_t bomber_counter; // -1 absent
    int32_t bomber_x;
    int32_t runner_x;
    int32_t runner_dir; // 0 standing, 1 running left, 2 running right
    int32_t runner_counter;
    int32_t pose;
    int32_t run_frames; // m, frames running each way
    CatchFrameBox runner_boxes[CATCH_RUNNER_MAX_FRAMES];
    int32_t runner_frame_count;
    int32_t time;
    uint8_t ended;     // the clock has run out or a bomb was caught
    uint8_t explosion; // 0 none, 1 playing, 2 over
    uint8_t bomb_caught;
    uint8_t score_changed;
    int32_t explosion_x, explosion_y;
    int32_t mouse_x;      // in: where the mouse is
    int32_t remembered_x; // the mouse x the last move was measured from
    int32_t warp_x;       // out: put the mouse here (-1 nothing)
};

// The runner's picture set has `frames` frames: the boxes of each for the
// catch, and the running frames each way (a set too small to run has none).
void catch_set_runner_frames(CatchGame& g, const CatchFrameBox* boxes, int frames);
// Where an object is drawn, and its scale in 16.16.
int catch_drawn_x(const CatchObject& o);
uint32_t catch_scale(const CatchObject& o);
int catch_kind(const CatchObject& o);
int catch_frame(const CatchObject& o);
int catch_drift(const CatchObject& o);
// The thrower's frame for its state and counter.
int catch_thrower_frame(const CatchGame& g);
// The runner's frame: a pose, or a running frame.
int catch_runner_frame(const CatchGame& g);
// The standing pose a score earns at the end.
int catch_pose_of_score(int32_t score);
int32_t catch_score(const CatchGame& g);

void minigame_steer_start(CatchGame& g, int mouse_x);
void minigame_steer_begin(CatchGame& g);
// Throws an object (a bomb when bomb) from x into the first free slot.
void minigame_steer_spawn(CatchGame& g, int x, bool bomb);
// 1 with probability 7/10.
int minigame_steer_chance();
// One timer tick.
void minigame_steer_frame(CatchGame& g);
// The explosion's animation has finished.
void minigame_steer_explosion_over(CatchGame& g);
