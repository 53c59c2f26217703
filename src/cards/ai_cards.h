// The computer's card decisions: for each card a computer player may play,
// one routine answers 1 (play it now, its target left in ai_choice) or 0.
// They run behind the gate of cards/ai_settings.h for the current player.
//
// What a computer "sees" is the board view's list of visible objects; one
// seam in front of it lets tests give the list instead.
#pragma once

#include <cstdint>

// Gives the decisions this list in place of the board view's (nullptr: the
// board view's list again). The list is copied.
void ai_view_set_list(const uint16_t* codes, int count);
// Holds the board view's lists for a computer's whole card or item try: its
// decisions change nothing the view shows, so each list is read once, when
// first asked for, and shared. Reading the owned things near a point draws
// the board centred there: the view's other lists are read again after it,
// as they would be without the hold. ai_view_release goes back to reading
// the view each time.
void ai_view_hold();
void ai_view_release();
// The visible objects for a decision; their count is also stored in
// ai_choice entry 2.
int ai_view_list(const uint16_t** codes);
// The free squares in view (view_list_free_squares).
int ai_view_free_squares(const uint16_t** codes);
// The current player and the owned plots and facilities within radius of a
// point, the whole view for -1 (view_list_owned_near).
int ai_view_owned_near(int x, int y, int radius, const uint16_t** codes);

// The occupant code a card's effect turns back into player p.
constexpr int ai_player_code(int p) {
    return 0x8000 | (1 << p);
}

// 1 when object is land worth taking from rival (see the rules in ai_cards.cpp).
int ai_is_rival_land(int rival, int object);

int ai_card_share_wealth();
int ai_card_share_poverty();
int ai_card_buy_land();
int ai_card_swap_land();
int ai_card_rebuild();
int ai_card_auction();
int ai_card_angel();
int ai_card_demon();
int ai_card_monster();
int ai_card_demolish();
int ai_card_rob();
int ai_card_stay();
int ai_card_hibernate();
int ai_card_sleepwalk(); // cards 16 and 17
int ai_card_dismiss_god();
int ai_card_invite_god();
int ai_card_red();
int ai_card_black();
int ai_card_tax_audit();
int ai_card_raise_toll();
int ai_card_seize();
int ai_card_alliance();
int ai_card_turtle();

// Forgets a list given by a test.
void ai_cards_reset();
