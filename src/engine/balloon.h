// The tool-tip balloon: a picture with a centred text at a fixed place of a
// screen (a clerk's or host's words), hidden again not before 2 seconds and
// not while its voice still plays.
#pragma once

#include <cstdint>

#include "engine/image.h"

struct BalloonState {
    const ImageRecord* image;         // 0 = none set
    int32_t x, y;                     // anchor
    int32_t left, top, right, bottom; // the screen rectangle (from the hot spot)
    int32_t text_dx, text_dy;
    uint32_t colour;          // 0x00RRGGBB
    uint32_t shadow_colour;   // 0 = no shadow
    ImageRecord* saved;       // the screen under the balloon
    int32_t saved_x, saved_y; // where it was taken
    uint32_t shown_time;      // tick count when shown, 0 = not shown
};
extern BalloonState balloon_state;

inline constexpr uint32_t BALLOON_MIN_MS = 2000;
// balloon_hide flags.
inline constexpr int BALLOON_HIDE_NOW = 1;     // at once, stopping the voice
inline constexpr int BALLOON_HIDE_NO_COPY = 2; // do not copy the rectangle to the display

void balloon_set(const ImageRecord* image, int x, int y, int text_dx, int text_dy, uint32_t colour,
                 uint32_t shadow_colour);
void balloon_show(const char* text);
// 1 when hidden (or nothing was shown), 0 when it has to stay for now.
int balloon_hide(int flags);
uint32_t balloon_shown_time();
// Forgets the balloon without drawing (a screen's end, tests).
void balloon_reset();
