// The headless test fixture: the platform layer on SDL's dummy drivers with
// the virtual clock, a scripted input sequence, and every service the shell
// calls replaced by a recorder, so tests can assert on what screens
// returned, the start-up and shutdown order and when timers arrived.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/script.h"

// Names of the services called, in order ("snd_init", "title_run", ...).
extern std::vector<std::string> headless_calls;
// What the recorded title, setup and load screens return, first to last;
// when a list runs out: title 2 (none of its choices), setup 0, load -1.
extern std::deque<int> headless_title_results;
extern std::deque<int> headless_setup_results;
extern std::deque<int> headless_load_results;

class HeadlessTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Script events at a virtual time in milliseconds.
    void at(uint32_t ms, PlatScriptKind kind, int32_t a = -1, int32_t b = -1);
    void key_down(uint32_t ms, uint32_t vk) { at(ms, SCRIPT_KEY_DOWN, static_cast<int32_t>(vk)); }
    void key_up(uint32_t ms, uint32_t vk) { at(ms, SCRIPT_KEY_UP, static_cast<int32_t>(vk)); }
    void move(uint32_t ms, int x, int y) { at(ms, SCRIPT_MOUSE_MOVE, x, y); }
    void activate(uint32_t ms, bool on) { at(ms, SCRIPT_ACTIVATE, on ? 1 : 0); }
    void close_window(uint32_t ms) { at(ms, SCRIPT_CLOSE); }

    // The time the click helpers count from; a test sets it as its screen opens.
    uint32_t t0 = 0;
    // A left click at (x, y) ms after t0: the press, the release 5 ms later.
    void click(uint32_t ms, int x, int y);
    // The same with the pointer moved there first and the press 5 ms later.
    void point_and_click(uint32_t ms, int x, int y);
    // A right click ms after t0 at (x, y), by default wherever the pointer is.
    void right_click(uint32_t ms, int x = -1, int y = -1);

    // Runs the whole program entry (window, start-up, title cycle, main loop).
    int run_app();
    // Only the main window with its procedure, shown and active, for tests
    // that drive screens directly.
    void open_window();

    // The recorded calls that are in `names`, in order.
    std::vector<std::string> calls_among(const std::vector<std::string>& names) const;
    int count_calls(const std::string& name) const;
};
