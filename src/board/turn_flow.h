// Who moves next, the new day, the status countdowns at the start of a
// mover's turn, the end of the game, and the elimination of a bankrupt
// player.
#pragma once

#include <cstdint>

// Ends the turn, picks the next mover, runs the new day on the wrap, counts
// the new mover's status days, autosaves, and asks the new mover for a step.
void turn_next_actor();
// The daily countdowns of mover m at the start of its turn.
void turn_start_countdowns(int m);
// The new-day sequence.
void turn_new_day();
// 1 when the day limit or the asset target ends the game (the end code is
// then set), else 0.
int turn_check_game_over();
// Eliminates player p (nothing when it is already out).
void player_go_bankrupt(int p);

// Set by Esc during auto-play: the computer-player panel opens at the next turn.
extern uint8_t autoplay_stop_request;
// The autosave option (settings byte 4) as the turn flow reads it.
int turn_autosave_enabled();

// An observer of the turn flow's steps (tests and the runner's log): called
// with the name of each step of the new day, of the turn change and of the
// bankruptcy as it runs, and a value (the mover, the object auctioned).
using TurnFlowTrace = void (*)(const char* step, int value);
void turn_flow_set_trace(TurnFlowTrace trace);

// Clears the turn flow's state.
void turn_flow_reset();
// Ends player p's sleepwalk by its own rule (the saved vehicle given back).
void player_end_sleepwalk(int p);
