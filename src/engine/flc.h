// The FLC animation player.
//
// Decodes an animation frame by frame onto the display, into the back buffer
// only, or into the board buffer (the board view's hit-test map, shown on the
// display through a brightness table), optionally showing the back buffer
// where the colour index is 0, letting the board re-render underneath and
// playing a sound at a chosen frame. One animation at a time; main thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/flc_decode.h"
#include "engine/sound.h"

// The option word of flc_start and flc_play.
enum FlcFlags : uint32_t {
    FLC_OVER_BACKGROUND = 1u << 0, // onto the display; index 0 shows the back buffer
    FLC_SKIPPABLE = 1u << 1,       // a key-up or button-up ends flc_play
    FLC_LOOP = 1u << 2,            // start again after the last frame, for ever
    FLC_BACK_ONLY = 1u << 3,       // into the back buffer, the display untouched
    FLC_SPEED_SHIFT = 4,           // bits 4-7: x 10 ms per frame when not 0
    FLC_SPEED_MASK = 0xFu << FLC_SPEED_SHIFT,
    FLC_PLAYS_SHIFT = 8, // bits 8-15: play count (0 and 1 once)
    FLC_PLAYS_MASK = 0xFFu << FLC_PLAYS_SHIFT,
    FLC_DIFF_SHIFT = 16, // bits 16-23: board re-rendered after this frame (255 every)
    FLC_DIFF_MASK = 0xFFu << FLC_DIFF_SHIFT,
    FLC_SOUND_SHIFT = 24, // bits 24-30: the sound element plays after this frame
    FLC_SOUND_MASK = 0x7Fu << FLC_SOUND_SHIFT,
    FLC_BOARD_MODE = 1u << 31, // into the board buffer, shown at row 40
};

inline constexpr int FLC_DIFF_EVERY_FRAME = 255;
// The board area: 440 x 440 pixels at row 40 of the screen.
inline constexpr int FLC_BOARD_SIDE = 440;
inline constexpr int FLC_BOARD_TOP = 40;

enum FlcOutput : uint8_t {
    FLC_TO_DISPLAY = 0,
    FLC_TO_BACK = 1,
    FLC_TO_BOARD = 2,
};

// The player's state. data == nullptr: nothing started.
struct FlcPlayer {
    const uint8_t* data;
    size_t size;
    uint32_t chunk;       // offset of the next chunk to read
    uint32_t first_frame; // offset of the first chunk
    FlcHeader header;
    int frame; // frames shown of this pass (0 before the first)
    int x, y;
    int rect[4]; // x, y, x + width, y + height
    int pitch;   // bytes a row of the target
    uint32_t ms_per_frame;
    int play_count;
    uint8_t loop;
    uint8_t skippable;
    uint8_t over_background;
    uint8_t output; // FlcOutput
    int diff_frame; // 0 none, 255 every frame, else after that frame
    uint16_t* diff; // 440 x 440 differences (FLC_BOARD_SIDE rows)
    int diff_x;     // the animation's place in the difference buffer
    int diff_y;
    int sound_frame; // 0 none
    EffectListEntry* sound_list;
    int sound_element;
    uint16_t palette[256];
};
extern FlcPlayer flc_player;

// Called in the board difference step to draw the board view afresh into the
// back buffer without showing it; the board screen sets it while a map is
// up (nullptr: the back buffer is taken as it stands).
extern void (*flc_board_render)();
// Called after a film over the board has ended; the board registers the
// rebuild of its hit-test map, which the film's frames did not keep.
extern void (*flc_board_after)();
// Called for a music track's end notice taken while a film plays; the shell
// registers its music service.
extern void (*flc_music_notify)();

// The effect list and element played at the sound frame; set before flc_start.
void flc_set_sounds(EffectListEntry* list, int element);
// Starts an animation of size bytes at (x, y) with FlcFlags; 0 when the data
// is no animation, a board-difference frame comes with bit 3 or without
// bit 0, or board mode has no board buffer (nothing started then), else 1.
// The data must stay until the animation has ended.
int flc_start(const void* anim, size_t size, int x, int y, uint32_t flags);
// Decodes and shows the next frame: 1 while the animation goes on, 0 when it
// has ended, nothing was started, or its data is damaged.
int flc_next_frame();
// Frees the difference buffer and forgets the animation.
void flc_stop();
// Plays to the end with frame timing; the EFFECT.MKF entry effect_entry
// (-1 none) plays once after the first frame. 1 when skipped, else 0 (also
// when it did not start).
int flc_play(const void* anim, size_t size, int x, int y, uint32_t flags, int effect_entry);

// Plays data.mkf entry data_entry with flc_play; 1 when skipped.
int flc_play_entry(int data_entry, int x, int y, uint32_t flags, int effect_entry);
// The same for callers that name the effect entry the animation's speed: the
// value is the EFFECT.MKF entry played after the first frame.
int flc_play_entry_speed(int data_entry, int x, int y, uint32_t flags, int effect_entry);
