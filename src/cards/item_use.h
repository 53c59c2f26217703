// Using an item: the item command of a human (the item menu) and the item try
// of a computer player, and the effects of the 13 items and of leaving a
// ridden vehicle.
//
// Every effect routine refuses (returns 0) before it changes anything, so a
// refused or cancelled item stays in the hand. How an item leaves:
// - back to stock: item_remove (items 1..8 return to item_stock);
// - consumed: only the count drops (the copy lives on as a placed object or
//   as the vehicle being ridden);
// - a ridden motorbike or car given back goes straight into the counts
//   (never through item_add, which would draw from the shop); a copy that
//   would make a tenth goes to the shop stock instead.
#pragma once

#include <array>

#include "data/card_defs.h"
#include "data/item_speech_lines.h"

// Item number of leaving the ridden motorbike or car (the menu's cell 15).
inline constexpr int ITEM_DISMOUNT = ITEM_KIND_COUNT + 1;
inline constexpr int ITEM_HANDLER_ROWS = ITEM_DISMOUNT + 1; // row 0 refuses

// The toolbar's item command and the computer's item try.
void item_use();

// The effect routine of item n (1..14) for the current player; non-zero when
// the item was used. A human is asked for targets through board/decisions; a
// computer's target is ai_choice entry 3.
using ItemHandler = int (*)();
extern const std::array<ItemHandler, ITEM_HANDLER_ROWS> item_handler_table;

// The face chosen with the remote dice (1..6), 0 none.
extern int item_remote_dice_value;
// Takes the remote-dice face set for this turn (0 none) and clears it.
int item_remote_dice_take();
// The end of a turn: a remote-dice face nobody threw is dropped, and the next
// mover may try an item again.
void item_turn_end();

// 1 when player p (0..3) may pick item n from the menu: a kind held, or
// ITEM_DISMOUNT while riding the motorbike or the car.
int item_menu_offers(int p, int n);

// The time machine gives a day back to a holiday tune's countdown
// (music_day_countdown: low four bits the days left, high four bits its
// length); once more days are left than it ever had, the tune ends and the
// background music comes back.
void item_time_machine_tune();

// An observer of the item routines (the runner's checks): called with result
// -1 just before item n's routine runs for player p, and with the routine's
// result just after. nullptr removes it; a world reset keeps it.
using ItemObserver = void (*)(int p, int n, int result);
void item_set_observer(ItemObserver observer);

// The construction vehicle's arrival check on the square player p reached.
void item_construction_vehicle_arrive(int p, int square);

// Clears the items' turn state (the remote-dice face, the computer's try).
void item_use_reset();
