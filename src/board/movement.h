// Movers walking the board one square at a time: choosing the next square,
// the speed by travel mode, the interpolated position, the squares'
// occupancy marks, and stepping into and out of a building.
#pragma once

#include <array>
#include <cstdint>

#include "board/game_state.h"

// World units per frame by TravelMode.
inline constexpr std::array<int, 4> move_speed_table = {8, 12, 16, 8};

// One frame of the active mover's step; 1 when this frame completed it.
int move_step_frame();
// 1 while a step of the active mover is under way.
int move_step_running();
// Reverses mover m: it faces the other way and its next step goes back.
void move_turn_around(int m);
// Moves player p to a random empty property square far from where it stands.
void player_relocate_random(int p);
// Puts the player's attached god and carried bomb on the player's square.
void god_follow_holder(int p);

// Forgets the running step.
void movement_reset();

// Square and world position of any mover 0..8.
uint16_t mover_square(int m);
void mover_position(int m, int& x, int& y);
