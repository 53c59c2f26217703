// The news deck's events: a player who stops on a news square is shown the
// next event of the deck that applies; each event runs in two phases, phase 0
// choosing its targets and drawing the panel, phase 1 (after the panel and
// its voice) showing and applying the consequences on the board.
#pragma once

#include <array>
#include <cstdint>

#include "cards/news_deck.h"

// Draws and runs a news event for the current mover.
void news_show();
// 1 when event e (0..35) can happen now, else 0.
int news_applicable(int e);

using EventHandler = void (*)(int phase);
extern const std::array<EventHandler, NEWS_EVENT_COUNT> news_handler_table;
extern const std::array<uint8_t, NEWS_EVENT_COUNT> news_category_table;
extern const std::array<const char*, 6> news_category_names;
// The event texts, each with its voice "#dddd" (%s a name, %d a number).
extern const std::array<const char*, NEWS_EVENT_COUNT> news_text_table;

// Chosen in phase 0, used in phase 1 (not saved): the object code or player,
// a second value (the property's owner as player + 1, or an award), and one
// tax per player.
extern int32_t news_target;
extern int32_t news_value;
extern std::array<int32_t, 4> news_amounts;

// The news picture of event e is data.mkf entry NEWS_PICTURE_BASE + e.
inline constexpr int NEWS_PICTURE_BASE = 400;

// Shared with the fate events.
// The name of a plot (its street) or facility, for the texts.
const char* news_property_name(int code);
// Scrolls the board view to an object or a player's position.
void news_scroll_to_object(int code);
void news_scroll_to_player(int p);
// Rebuilds the hit-test map and marks an object's pixels for the flash.
void news_mark_begin();
void news_mark_object(int code);
// The owner (player + 1, 0 none) of a property complains in a speech bubble.
void news_owner_complaint(int owner);
// Owner byte of a plot or facility code, 0 for anything else.
int news_owner_of(int code);
