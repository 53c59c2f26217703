// The magic house: the house draws one of twelve conditions until somebody
// meets it, and the visitor decides the fate that falls on everybody chosen
// (himself perhaps included). Its pick-a-player screen also lets a player
// who gives up the game name whom the death god haunts.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int MAGIC_CONDITION_COUNT = 12;
inline constexpr int MAGIC_FATE_COUNT = 12;

// Player + 1 of each chosen player in seat order, ended by 0.
extern std::array<uint8_t, 5> magic_chosen;

// The conditions' voiced lines ("#00NN" and the words).
extern const std::array<const char*, MAGIC_CONDITION_COUNT> magic_condition_texts;

// A fate: its button on the house panel (its top-left corner) and its words.
struct MagicFate {
    int16_t x, y;
    const char* text;
};
extern const std::array<MagicFate, MAGIC_FATE_COUNT> magic_fate_table;
inline constexpr int MAGIC_FATE_W = 120, MAGIC_FATE_H = 36; // a fate button's size

enum MagicFateNumber : int {
    FATE_SELL_CARDS = 0,
    FATE_THREE_FATES = 1,
    FATE_JAIL = 2,
    FATE_STAY = 3,
    FATE_DEPOSIT_CASH = 4,
    FATE_BUILD = 5,
    FATE_GIVE_CARD = 6,
    FATE_TURN_ROUND = 7,
    FATE_SELL_ITEMS = 8,
    FATE_DEMOLISH = 9,
    FATE_HOSPITAL = 10,
    FATE_AUCTION = 11,
};

// Fills magic_chosen for condition k (0..11); the number chosen.
int magic_select_players(int k);
// Draws conditions (rand() % 12) until one chooses somebody; -1, with nothing
// drawn, when no condition could choose anybody.
int magic_draw_condition();
// The computer visitor's fate for the chosen players.
int magic_ai_fate(int visitor);

// Landing on the magic house, for the current mover.
void magic_visit();
// Applies fate f to every chosen player in turn; the current mover is the
// visitor again at the end. Stops when the game ends; a chosen player who
// has left the game is passed over.
void magic_apply_fate(int f);

// The players who may be named by leaver (in the game, not leaver), into
// list; their number.
int magic_revenge_candidates(int leaver, int list[4]);
// The pick-a-player screen of a player giving up: player + 1 of the chosen
// one, 0 when declined or with fewer than two others in the game.
int magic_pick_revenge_target(int leaver);

// What a visit drew and decided, before the fate is applied (the runner's
// checks).
struct MagicReport {
    int visitor;
    int condition;
    int fate;
    std::array<uint8_t, 5> chosen;
};
using MagicObserver = void (*)(const MagicReport& report);
// nullptr removes it; a world reset keeps it.
void magic_set_observer(MagicObserver observer);

// Clears the chosen list.
void magic_reset();
