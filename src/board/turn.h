// The turn driver: what the active mover does when it is asked for a step
// (enter the board, sit out a status, wait for a human's go, or let a
// computer act and throw), and the animation ticks of its phase (waiting,
// throwing the dice, stepping square by square, razing a building).
#pragma once

#include <cstdint>

// Steps still to walk is move_steps_left and the dice total dice_total
// (board/game_state.h).
extern uint8_t
    move_step_done; // a step completed on this tick; its square's encounters run next tick
extern int32_t move_sound_slot;    // the looping travel sound, 0 none
extern int32_t turn_pending_entry; // player + 1 whose first placement is still to be shown, 0 none
extern int32_t raze_delay;         // ticks before the razing film advances

// One decision step of the active mover.
void turn_take_step();
// One animation tick of the active mover's phase.
void turn_tick();
// Starts the move: dice, one step, or staying.
void turn_begin_move();
// Runs the landing rules for the active mover; their result is its wait.
void turn_land();
// What the active mover may do now: 0 land at once (it cannot act), 1 a
// human waits for its go, 2 or 5 a computer acts, -1 it is already moving.
int turn_check_status(int at_landing);
// 1 when a toolbar command may run now.
int turn_can_act();
// Throws the active player's dice (one die showing face when face is not 0).
int dice_roll(int face);

// Places player p on the board for the first time: a random free square,
// arriving from one of its links, with the control chosen at setup.
void turn_enter_board(int p);
// Starts the travel sound slot looping (0 stops it).
void turn_set_travel_sound(int slot);

// Clears the driver's state.
void turn_reset();
