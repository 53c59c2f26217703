// The record of what the game was asked to show or play.
//
// Every feedback service of the engine and the board screen (message panels,
// questions, speech, effect sounds, voices, music, films, FLC animations,
// waits, board refreshes and flashes) appends one event here before it does
// anything else. With no display open (rule tests, the runner) the service
// then returns at once, so tests and the runner read what a player would have
// seen and heard; with a display it draws and plays as well.
//
// Main thread only. The log keeps the most recent SHOWN_LOG_CAPACITY events.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class Shown : uint8_t {
    Message,      // msg_show: text, ms
    Question,     // msg_ask_yes_no / confirm_ask: text
    Speech,       // speech_bubble: number = player, text
    Balloon,      // balloon_show: text
    Effect,       // a screen list's sound effect: number = EFFECT.MKF entry
    BoardEffect,  // board_effects element: number = element
    Voice,        // a speaking.mkf clip: number = clip
    Music,        // an event tune or background piece: number
    Film,         // an AVI film: text = file name
    Flc,          // an FLC animation: number = data.mkf entry
    Wait,         // a wait: ms
    BoardRefresh, // board_view_refresh / board_repaint_all: number = flags
    Flash,        // gfx_flash_board
    Panel,        // any other panel or window: number = its entry, text = what it shows
};

struct ShownEvent {
    Shown kind;
    int32_t number;
    uint32_t ms;
    std::string text;
};

inline constexpr size_t SHOWN_LOG_CAPACITY = 4096;

// Appends one event (text may be nullptr).
void shown_record(Shown kind, int32_t number, uint32_t ms = 0, const char* text = nullptr);
// The events recorded since the last clear, oldest first.
const std::vector<ShownEvent>& shown_log();
void shown_clear();
// The number of events of a kind in the log (number -1: any number).
size_t shown_count(Shown kind, int32_t number = -1);
// The first event of a kind whose text contains needle, or nullptr.
const ShownEvent* shown_find_text(Shown kind, const char* needle);
