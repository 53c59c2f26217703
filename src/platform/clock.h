// The millisecond clock that every timed thing in the game reads, and the
// 20 ms periodic tick.
//
// The clock is either real (milliseconds since the layer started) or virtual:
// a counter that moves only when the program would otherwise wait, jumping
// straight to the next thing that is due. A headless run therefore never
// sleeps and replays exactly.
#pragma once

#include <cstdint>

inline constexpr uint32_t PLAT_TICK_PERIOD_MS = 20;

// Milliseconds since the layer started (the tick count of the game).
uint32_t plat_tick_count();

// Resets the clock module: stops the periodic tick, chooses the real or the
// virtual clock and starts counting from 0.
void plat_clock_reset(bool use_virtual);
bool plat_clock_is_virtual();

// Virtual clock only: moves the time forward to t (never back), raising the
// periodic tick once for every 20 ms boundary crossed, at that boundary's time.
void plat_clock_advance_to(uint32_t t);

// The periodic tick: fn runs every 20 ms. With the real clock it runs on a
// thread of its own and must only set atomic flags (or do work that shares
// nothing but such flags with the main thread); with the virtual clock it runs
// on the thread that advances the time, at exact multiples of 20 ms after the
// start. Starting again replaces the function.
using PlatTickFn = void (*)();
void plat_tick_start(PlatTickFn fn);
void plat_tick_stop();
bool plat_tick_running();
// Virtual clock: the time of the next tick (only meaningful while running).
uint32_t plat_tick_next_due();
