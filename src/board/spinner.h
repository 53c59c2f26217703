// The two chance devices drawn over the board: the 12-position wheel that
// decides trips, hotel nights, shopping multiples and insurance days, and the
// money slot machine of three or four reels that decides what a wealth or
// poverty god makes its holder collect, receive, pay or lose.
//
// Both run a loop of their own ticks. The current player stops them: a human
// playing by hand (and not sleepwalking) through the decision interface,
// anyone else by itself after SPIN_AUTO_STOP_TICKS ticks.
#pragma once

#include <cstdint>
#include <string>

#include "engine/presenter.h"

enum WheelKind : int {
    WHEEL_TRAVEL = 0,
    WHEEL_HOTEL_DAYS = 1,
    WHEEL_SHOPPING_MULTIPLE = 2,
    WHEEL_INSURANCE_DAYS = 3,
};
inline constexpr int WHEEL_KIND_COUNT = 4;
inline constexpr int WHEEL_POSITIONS = 12;
inline constexpr int REEL_POSITIONS = 20;
inline constexpr int SPIN_AUTO_STOP_TICKS = 40;
inline constexpr int WHEEL_TICK_MS = 36;
inline constexpr int REELS_TICK_MS = 30;

// Value of each wheel position by kind; -1: the wheel cannot stop there.
extern const int8_t spin_wheel_table[WHEEL_KIND_COUNT][WHEEL_POSITIONS];

// Prompt of each wheel kind; %s is a name (the owner's or the company's).
extern const char* const spin_wheel_prompts[WHEEL_KIND_COUNT];

// Shows the kind's prompt with the name and runs the wheel; the value (never -1).
int spin_building_prompt(int kind, const char* name);
// Runs the wheel from a random position; the value it stops on.
int spin_wheel_run(int kind);
// Draws the wheel at its position, with the pointer when show_pointer is 1.
void spin_wheel_draw(int show_pointer);

// God types of the slot machine (the god kind minus one).
enum SpinGodType : int {
    SPIN_SMALL_WEALTH = 0,  // three reels: collected from every opponent
    SPIN_BIG_WEALTH = 1,    // four reels: received
    SPIN_SMALL_POVERTY = 4, // three reels: paid to every other player
    SPIN_BIG_POVERTY = 5,   // four reels: lost
};
// Text of the slot machine for a god type (%s: the god's name), nullptr for
// a type without reels.
const char* spin_god_text(int type);

// Runs the slot machine for a god type; yuan 0..999 (three reels) or 0..9999
// (four reels). Any other type gives 0 without running.
int spin_god_amount(int type);
// Runs the reels; the number they show.
int spin_reels_run(int three_reels);
// One tick of the reels: every reel in mask (bit r - 1 for reel r) other than
// braking_reel advances one position, braking_reel brakes. Returns 1 when the
// braked reel has come to rest.
int spin_reels_draw(int first_reel, int mask, int braking_reel);

// Positions after (or during) a run, for the board drawing and for tests.
int spin_wheel_position();
int spin_reel_position(int reel); // reel 1 (units) .. 4 (thousands)
// The text the message panel shows now (prompt, then the amount won).
const std::string& spin_panel_text();
// Ticks the last run spent spinning before its stop request.
int spin_last_spin_ticks();
// 1 when the current player stops the spinners himself (a human playing by
// hand who is not sleepwalking), 0 when the stop comes by itself.
int spin_stopped_by_hand();

// Forgets positions and braking state.
void spinner_reset();

// What the spinners' window shows (spinner_screen.h tells how); without the
// window nothing is drawn and a tick passes at once.
struct SpinnerPresenter {
    void (*wheel_open)(int kind, const char* text);
    void (*wheel_draw)(int position, int show_pointer);
    void (*reels_open)(int three_reels, const char* text);
    void (*reels_draw)(int lever_down);
    void (*panel_text)(const char* text);
    void (*show_board)();
    void (*close)();
    void (*tick)(uint32_t ms);
};
extern PresenterSlot<SpinnerPresenter> spinner_presenter;
