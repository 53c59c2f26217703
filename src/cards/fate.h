// The fate deck's events: the current mover meets the next slot of the deck
// that fits him (the vehicle slots swapped for the one of his vehicle, the
// last four slots the jail rows of the map). Each row runs in two phases like
// a news event; in phase 1 most rows first ask the player's god whether the
// outcome is waived or doubled.
#pragma once

#include <array>
#include <cstdint>

#include "cards/news.h"
#include "cards/news_deck.h"

// Draws and runs a fate event for the current mover.
void fate_show();
// 1 when slot (0..36) can happen to the current mover now; a vehicle slot may
// be replaced by the one that fits his vehicle.
int fate_applicable(int& slot);
// The row of a slot: itself below 33, else slot + 4 x game_map.
int fate_row_of_slot(int slot);

extern const std::array<EventHandler, FATE_ROW_COUNT> fate_handler_table;
// The row texts, each with its voice "#dddd" (%d the amount).
extern const std::array<const char*, FATE_ROW_COUNT> fate_text_table;
// The data.mkf entry of each row's picture.
extern const std::array<uint16_t, FATE_ROW_COUNT> fate_picture_table;

// Chosen in phase 0, used in phase 1 (not saved): the amount (yuan, days or
// percent) and the plot index of rows 0 and 1.
extern int32_t fate_amount;
extern int32_t fate_choice;
extern int32_t fate_god_result;

inline constexpr int FATE_FIRST_JAIL_SLOT = 33;
