// The computer players' item and dice decisions.
//
// Each item routine answers 1 when `player` (the current mover) should use
// the item now, and leaves the item's target in ai_choice entry 3 (a square,
// an object code or a face, as the item needs). They look at the squares
// ahead (map_walk_path), at what the board view shows and at the main rival.
#pragma once

#include <array>

#include "data/card_defs.h"

int ai_item_decide_robot_doll(int player);
int ai_item_decide_roadblock(int player);
int ai_item_decide_mine(int player);
int ai_item_decide_time_bomb(int player);
int ai_item_decide_motorbike(int player);
int ai_item_decide_car(int player);
int ai_item_decide_missile(int player);
int ai_item_decide_remote_dice(int player);
int ai_item_decide_robot_worker(int player);
int ai_item_decide_time_machine(int player); // never: the time machine is not tried
int ai_item_decide_teleporter(int player);
int ai_item_decide_construction_vehicle(int player);
int ai_item_decide_nuclear_missile(int player);

// The routines of items 1..13 at index n - 1 (rows ITEM_ID_BASE + n of the
// card table).
using AiItemRoutine = int (*)(int player);
extern const std::array<AiItemRoutine, ITEM_KIND_COUNT> ai_item_rows;

// The decision gate of an item try: the item's nastiness level against the
// current player's personality, then its routine. 1 use it, 0 not.
int ai_item_gate(int item);

// 1 when object is a plot or facility owned by player (0..3).
int ai_land_owned_by(int player, int object);

// Sets how many dice the computer player whose turn it is throws: in the car
// or on the motorbike by the time bomb it carries and what lies ahead;
// walking or on the construction vehicle nothing changes.
void ai_choose_dice();
