// What the three mini-games share: the stages a game goes through on its
// timer, the score limits and the bottom panel's places.
#pragma once

#include <cstdint>

// The stages of a game, in order. The window plays the opening animation
// when a game reaches MG_OPENING and then calls the game's begin routine.
enum MinigamePhase : uint8_t {
    MG_COUNTDOWN = 0, // the scene stands still for a few ticks
    MG_OPENING = 1,   // the opening animation is due
    MG_RUNNING = 2,   // the clock runs (and, once it is out, the game winds down)
    MG_ENDING = 3,    // an ending plays; the clock has stopped
    MG_FINAL = 4,     // the final score is shown
    MG_CLOSED = 5,    // the window closes
};

// The panel's three digits show at most this.
// One tick of a game outside its play: the countdown runs down to the
// opening and a final closes the game. True while the game is being played.
template <typename Game> bool mg_stage_tick(Game& g) {
    switch (g.phase) {
    case MG_COUNTDOWN:
        if (--g.wait_ticks <= 0) g.phase = MG_OPENING;
        return false;
    case MG_RUNNING:
        return true;
    case MG_FINAL:
        g.phase = MG_CLOSED;
        return false;
    default:
        return false;
    }
}

inline constexpr int32_t MG_PANEL_MAX = 999;
// Adding scored pieces stops here (the target game's small targets).
inline constexpr int32_t MG_ADD_LIMIT = 999;

// The bottom panel: the time at three digit places, the score at three.
inline constexpr int MG_TIME_DIGIT_X[3] = {49, 69, 94};
inline constexpr int MG_SCORE_DIGIT_X[3] = {549, 569, 589};
inline constexpr int MG_PANEL_DIGIT_Y = 421;
// The kinds' icons and counts, 91 pixels apart.
inline constexpr int MG_COUNT_X0 = 114, MG_COUNT_DX = 91;
// The panel's areas copied to the screen after a change of score, of time only.
inline constexpr int MG_PANEL_LEFT = 44, MG_PANEL_TOP = 415, MG_PANEL_RIGHT = 609,
                     MG_PANEL_BOTTOM = 455, MG_TIME_RIGHT = 140;
// The final score: big digits 66 pixels apart, centred on x 353, top at y 150.
inline constexpr int MG_FINAL_CENTRE_X = 353, MG_FINAL_Y = 150, MG_FINAL_DX = 66;

// The digit images (PANEL.MKF 79): 0-9 the panel's, 10-19 the big ones,
// 20 the bottom strip drawn at (0, MG_STRIP_Y).
inline constexpr int MG_DIGITS_ENTRY = 79;
inline constexpr int MG_BIG_DIGIT_FIRST = 10;
inline constexpr int MG_STRIP_FRAME = 20;
inline constexpr int MG_STRIP_Y = 387;
inline constexpr int MG_OPENING_ENTRY = 78;

// a * 2 without passing the 32-bit limit.
int32_t minigame_double(int32_t score);
// The three panel digits of a value: at most 999, never below 0.
void minigame_panel_digits(int32_t value, int digits[3]);
// The digits of a final score, most significant first; returns how many.
int minigame_score_digits(int32_t score, int digits[10]);
// The left x of each of n big digits so that all of them show on the screen:
// 66 apart centred on x 353 when they fit, closer and moved in when not.
void minigame_final_digit_x(int n, int digit_width, int xs[10]);
