// What the current mover meets on the square it has just stepped onto: bank
// squares passed, beggars, its carried time bomb, the gods and objects lying
// there, and what the four wandering characters do to the players they meet.
// Runs once after every finished step, with move_steps_left already lowered;
// a mover stops on the square when move_steps_left is 0 and passes it else.
#pragma once

// Works on game_active_mover; may end the move by setting move_steps_left to 0.
void land_encounter();

// Steps a carried time bomb lasts once picked up.
inline constexpr int BOMB_STEPS = 38;
