// Playing cards: the toolbar's card command of a human and the card try of a
// computer player (card_use), the 30 card routines of card_handler_table, and
// the four cards that act by themselves when their holder is hit.
#pragma once

#include <array>
#include <cstdint>

#include "cards/cards.h"
#include "engine/presenter.h"

// One routine per card id 1..30 (row 0 unused): non-zero when the card was
// played (it has then left the user's hand), 0 when refused or cancelled (the
// card stays). The user is the current player, game_active_mover.
using CardHandler = int (*)();
extern const std::array<CardHandler, CARD_KIND_COUNT + 1> card_handler_table;

// The toolbar's card command and the computer's card try.
void card_use();
// The computer's card try for user (its decisions leave the target in
// ai_choice): the card it plays now, 0 none. Nothing is played here.
int card_ai_choose(int user);

// Who is harmed in victim's place: victim, another player, or -1 when the
// pardon card cancels the harm.
int card_resolve_victim(int victim);
// The revenge card of victim turns the effect back: always 1.
int card_revenge(int victim);
// The scapegoat card of holder: the new victim, or -1 (unchanged). Context 0
// an effect that always hits, 1 a fee on landing of amount, 2 the tax card.
int card_scapegoat(int holder, int context, int32_t amount);
// The free-pass card of holder against payee (-1 none): 1 used, 0 not.
int card_free_pass(int holder, int payee, int32_t amount);
// The pardon card of holder: always 1.
int card_pardon(int holder);
// The god slot nearest to the current player among the free visible gods
// that can attach to a player; 0 none.
int card_nearest_free_god();

// What the card rules show: the picture of card id under caption for a
// moment (nothing for id 0), when a card is played or given. The card window
// (card_screen.cpp) fills the rows; without it nothing is shown.
struct CardPresenter {
    void (*picture)(int id, const char* caption);
};
extern PresenterSlot<CardPresenter> card_presenter;

// Sets the forced move of company (0-based) by a card, rising (card 24) or
// falling (card 25), and applies it. The one place both the card routines
// and the exchange's pick click apply it, so it happens once.
void card_force_company(int company, int card);
// The exchange's pick click: applies the forced move at once and notes the
// pick, so that the card does not apply it again.
void card_pick_company(int company, int card);
// The stock + 1 that card_pick_company applied since the last call, 0 none;
// the call forgets it.
int card_take_picked_company();

// The end of every card command, for tests and the runner: the user, the
// card tried (0 when the window closed without one), whether it was played,
// and the user's hand just before the card's routine ran.
struct CardCommand {
    int user;
    int id;
    int played;
    std::array<uint8_t, HOLDING_ROW> hand_before;
};
using CardCommandObserver = void (*)(const CardCommand& command, void* context);
void card_set_observer(CardCommandObserver observer, void* context);

// Player p says his character's card line `entry` (card_speech_lines) in
// the speech bubble with mood (3 boasting, 0 neutral, 1 and 2 hurt);
// nothing for an empty entry.
void card_say(int p, int entry, int mood);
