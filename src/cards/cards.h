// What each player holds of the cards and items, and the common pools they
// come from and go back to. Every copy enters a hand from a pool and returns
// to it, so the number of copies of each kind in the game never changes.
#pragma once

#include <array>
#include <cstdint>

#include "board/game_state.h"
#include "data/card_defs.h"

inline constexpr int CARD_HAND_MAX = 15; // cards a player can hold
inline constexpr int ITEM_KIND_MAX = 9;  // copies of one item kind a player can hold
inline constexpr int HOLDING_ROW = 15;   // bytes of a player's row in both tables

// Card ids held, packed at the front of each row (0 = empty slot).
extern std::array<std::array<uint8_t, HOLDING_ROW>, PLAYER_COUNT> player_cards;
// Count held of item n at index n - 1 (the last two bytes stay 0).
extern std::array<std::array<uint8_t, HOLDING_ROW>, PLAYER_COUNT> player_items;
// Copies of card id k left in the pool, at index k - 1.
extern std::array<uint8_t, CARD_KIND_COUNT> card_stock;
// Shop stock of item n = 1..8 at index n - 1.
extern std::array<uint8_t, ITEM_SHOP_KINDS> item_stock;

// Empties every hand and both pools.
void cards_reset();
// Fills the pools with the starting copies of every card and of items 1..8.
void cards_fill_pools();

int card_count(int player);
int card_has(int player, int id);
// Held card with the lowest price (the first slot on ties), 0 when none.
int card_cheapest(int player);
// Takes one copy of id from the pool into the player's hand; with a full hand
// the cheapest held card goes back to the pool first. An id outside 1..30 or
// a card with no copy left in the pool is refused: returns 0, else 1.
int card_add(int player, int id);
// Returns the first held copy of id to the pool (the row stays packed).
void card_remove(int player, int id);
// Draws a card from the pool, each copy equally likely; 0 when it is empty.
int card_give_random(int player);
// Loses a random held card to the pool; 0 when none is held.
int card_lose_random(int player);
// Loses half the held cards (those that stood in slots 0, 2, 4, ...); needs 2.
int card_lose_half(int player);
// Every held card back to the pool; the sum of their prices.
int card_sell_all(int player);

// Gives one of item n; refused (0) with 9 held or, for items 1..8, with the
// shop stock empty. Returns 1 when given.
int item_add(int player, int n);
void item_remove(int player, int n);
// Draws among the shop kinds that can still be given to the player (a copy
// in stock and fewer than 9 held), each stock copy equally likely; gives it
// and returns its number, else gives nothing and returns 0.
int item_give_random(int player);
// Ends a ridden vehicle, then every item back to the pools; the points they
// are worth (count x price).
int item_sell_all(int player);

// A pick of the thief: a card id, STEAL_ITEM_FLAG | item number, or 0 for nothing.
inline constexpr int STEAL_ITEM_FLAG = 0x8000;
// 1 when thief may take pick from victim: 0 (nothing), a card the victim
// holds, or with with_items an item it holds of which the thief has fewer
// than nine.
int card_steal_accepts(int victim, int thief, int with_items, int pick);
// The thief's pick: a computer thief takes the card its decision left in
// ai_choice entry 1 (and the theft is announced); a human picks through
// DECIDE_THIEF_PICK (object = victim, param = with_items). 0 when nothing
// can be taken.
int card_steal_pick(int victim, int thief, int with_items);
// Moves the pick from victim to thief (the pools unchanged); returns what
// moved, 0 when the pick cannot move.
int card_steal_move(int victim, int thief, int pick);
// Picks and moves one card (or, with with_items, one card or item); returns
// what moved.
int card_steal(int victim, int thief, int with_items);
