// Scripted input: a timed sequence of mouse, button, key, activation and
// close events fed into the queue as the clock reaches each one's time. Used
// by headless runs and tests; with the virtual clock a script replays exactly.
//
// Script files hold one event per line, "<ms> <event> [arguments]", times in
// milliseconds since the layer started; '#' starts a comment:
//   move X Y        mouse move          ldown / lup / rdown / rup  [X Y]
//   keydown VK      key press (a second keydown repeats)
//   keyup VK        key release         activate 0|1   deactivate / activate
//   close           close the window    nothing        only lets time pass
// Numbers are decimal, or hexadecimal after "0x"; none is negative. Times
// run to 2147483647 ms, positions to 32767, key codes to 255.
// A script file must be a regular file of at most 16 MiB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr size_t PLAT_SCRIPT_MAX_BYTES = 16u << 20;

enum PlatScriptKind : uint8_t {
    SCRIPT_NOTHING,
    SCRIPT_MOUSE_MOVE,
    SCRIPT_LEFT_DOWN,
    SCRIPT_LEFT_UP,
    SCRIPT_RIGHT_DOWN,
    SCRIPT_RIGHT_UP,
    SCRIPT_KEY_DOWN,
    SCRIPT_KEY_UP,
    SCRIPT_ACTIVATE,
    SCRIPT_CLOSE,
};

struct PlatScriptEvent {
    uint32_t time = 0;
    PlatScriptKind kind = SCRIPT_NOTHING;
    int32_t a = -1; // x, key code or activation flag; -1 = none given
    int32_t b = -1; // y
};

// Resets the script module: no events, no closing at the end, the default
// time limit.
void plat_script_reset();
// Adds an event; events are kept in time order, equal times in the order added.
void plat_script_add(const PlatScriptEvent& ev);
// Parses script text (format above) and adds its events; false, with a
// message giving the line's number and text, at the first bad line (nothing
// of the text is added then).
bool plat_script_parse(const std::string& text, std::string* error);
bool plat_script_load(const char* path, std::string* error);

// When set, a program that waits after the last event has been fed gets a
// close request, so a scripted run always ends.
void plat_script_set_close_at_end(bool on);
bool plat_script_close_at_end();
// A scripted virtual run (one that closes at the end of its script) that
// would go past this time is closed instead: a guard against a script that
// never lets the program finish. The closing message is printed once.
void plat_script_set_time_limit(uint32_t ms);
bool plat_script_past_time_limit(uint32_t t);

// The time of the next event still to be fed; false when none is left.
bool plat_script_next_time(uint32_t* t);
// Feeds every event whose time has come into the queue.
void plat_script_release_due();
