// The number pad: a small draggable modal pop-up for entering an amount.
#pragma once

#include <cstdint>

#include "engine/image.h"

inline constexpr int NUMPAD_W = 128, NUMPAD_H = 192;
inline constexpr int NUMPAD_DIGITS = 9;
// The largest maximum: nine digits.
inline constexpr int32_t NUMPAD_MAX = 999999999;
inline constexpr int NUMPAD_STEPS = 34;
// The slider's thresholds in pixels from the bar's start, step 0 to 33.
extern const uint8_t numpad_slider_steps[NUMPAD_STEPS];

// Button ids of the pad's id map.
enum NumpadButton : int {
    NUMPAD_DRAG = 1,
    NUMPAD_MAXIMUM = 2,
    NUMPAD_OK = 3,
    NUMPAD_CLEAR = 4,
    NUMPAD_DIGIT0 = 5,
    NUMPAD_BACKSPACE = 6,
    // 7, 8, 9: digits 7-9; 10, 11, 12: digits 4-6; 13, 14, 15: digits 1-3
    NUMPAD_SLIDER = 16,
};
struct NumpadRect {
    int16_t x, y, w, h;
};
// The rectangles of buttons 2..15 relative to the pad (index = id).
extern const NumpadRect numpad_button_rects[16];

struct NumpadState {
    int32_t x, y; // top-left
    char value[NUMPAD_DIGITS + 1];
    int32_t max;
    int32_t pressed; // button id held, 0 none
    uint8_t dragging, sliding;
    int32_t grab_x, grab_y;
    void* pad_set;      // PANEL.MKF 21
    uint8_t* id_map;    // PANEL.MKF 22: one button id per pad pixel
    ImageRecord* clean; // the drawn pad, for erasing
    ImageRecord* saved; // the screen under the pad
};
extern NumpadState numpad_state;
// Set while the pad is open: the keyboard hook leaves Enter alone.
extern uint8_t numpad_open;

// Shows the pad; the value entered (0..max), or 0 when cancelled.
int32_t numpad_input(int32_t max);

// The rules of the pad's value, kept apart from its drawing.
// Acts on button id 2..15 (maximum, clear, digits, backspace; OK does not
// change the value) for a value text of at most nine digits.
void numpad_apply(char* value, int id, int32_t max);
// The value the slider gives at p pixels from the bar's start, or -1 for no change.
int32_t numpad_slider_value(int p, int32_t max);
// The filled width of the bar for a value.
int numpad_bar_width(int32_t value, int32_t max);
// The button a key selects (0 none).
int numpad_key_button(uint32_t vk);
// The pad's top-left for the mouse at (mx, my) grabbed at (gx, gy), kept on the screen.
void numpad_drag_position(int mx, int my, int gx, int gy, int* x, int* y);
