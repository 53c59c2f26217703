// The rules of the new-game setup: which characters are free, taken or
// beaten, the runners chosen in order, the six settings and the map, the
// computer's picks, the count lowered when few characters are free, and the
// end of a setup (the new game on confirmation, the beaten marks kept either
// way). The window (shell/setup_screen.cpp) shows them and feeds them the
// mouse.
#pragma once

#include <cstdint>
#include <string>

// character_state values during a setup.
enum CharacterMark : uint8_t {
    CHAR_FREE = 0,
    CHAR_TAKEN = 1,        // taken in this setup
    CHAR_BEATEN = 2,       // beaten earlier in the campaign
    CHAR_BEATEN_SHOWN = 4, // beaten, and marked so on this setup's grid
};

// The screen's phases.
enum SetupPhase : int {
    SETUP_CHOOSING = 0,
    SETUP_COMPUTER_PICKS = 1,
    SETUP_SLIDE_OUT = 2,
};

struct SetupRules {
    int phase = SETUP_CHOOSING;
    int chosen = 0;     // runners chosen, 0..4, in setup_runners
    int continuing = 0; // the campaign goes on: kept settings, the human already chosen
};
extern SetupRules setup_rules;

// The choices a setup starts from. Fresh: map 0, every character free, the
// initial choices, no runner. Continuing: the choices rebuilt from the game
// that ended (a value missing from its table gives the initial choice), the
// human of seat 0 taken as runner 0. Either way the map choice is game_map.
void setup_begin(int continuing);
// Players = setup_choice[0] + 2.
int setup_player_count();
// Characters neither taken nor beaten.
int setup_free_count();
// When fewer characters are free than players - 1, the count drops to the
// number free + 1 (never below two players).
void setup_lower_player_count();
// A grid click on a character: a free one is taken as the next runner while
// fewer than the players are chosen; one taken in this setup is given back
// (the later runners move up). False when nothing changed (beaten, or the
// seats are full).
bool setup_grid_click(int character);
// A drop-down's row chosen for setting 0..5: fewer players remove the
// runners beyond them, last first. True when the travel mode changed (every
// runner's sprite must be read again).
bool setup_set_choice(int setting, int row);
// A map button: map 0..3 becomes the choice and the game's map. False when
// it already was (or there is no such map).
bool setup_choose_map(int map);
// Nobody free is left before every seat is taken: the player count drops to
// the runners chosen. False, with nothing changed, when fewer than two are.
bool setup_play_with_the_chosen();
// The number of rows of setting 0..5's list.
int setup_choice_rows(int setting);
// The computer's pick: a character drawn uniformly among the free ones
// (game_rand() % free), taken as the next runner, seated as a computer.
// -1 when none is free.
int setup_computer_pick();
// As many runners as players.
bool setup_all_chosen();
// The end of the setup. On 1 the new game is made from the choices: the
// world reset (the date, the campaign's marks and the view's turn kept),
// then the new-game routine; false with its reason when it refuses. Either
// way the beaten marks are kept and every other mark cleared.
bool setup_finish(int result, std::string* error);
