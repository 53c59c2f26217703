// Choice dialogs over the board: the kind of a facility raised from an empty
// plot, one player out of a list, and the item a research institute develops.
//
// The rules ask through board/decisions; the windows (board/choice_screen.h)
// are the default source of the answers.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// The facility kind a human chooses: 0..4 (FacilityKind); -1 only when
// may_cancel is non-zero and he cancelled.
int choose_facility_kind(int may_cancel);
// One of the count (2..4) listed players, -1 when cancelled; -1 at once,
// without asking, for a count outside 2..4 or no list.
int choose_player(int count, const int* players, const char* prompt);
// The research choice of an owned research institute: a human playing by
// hand chooses an offered cell, anyone else the highest offered; sets the
// facility's research item and days unless cancelled.
void choose_research_item(int facility);

// Labels of the facility kinds, by FacilityKind.
extern const char* const choice_facility_labels[5];
inline constexpr int RESEARCH_SLOTS = 5;
inline constexpr int RESEARCH_FIRST_ITEM = 9; // slot s develops item 9 + s
inline constexpr int RESEARCH_DAYS = 5;
// Slots a research institute of this level offers (0..5).
int choice_research_offered(int level);

// The cells under a point of the screen, -1 for none.
// Facility kinds: five square cells side by side from (CHOICE_KIND_X, CHOICE_KIND_Y).
inline constexpr int CHOICE_KIND_X = 50, CHOICE_KIND_Y = 286, CHOICE_KIND_CELL = 68;
inline constexpr int CHOICE_KIND_COUNT = 5;
int choice_facility_cell(int x, int y);
// Players: count cells side by side from (x0, y0).
inline constexpr int CHOICE_PLAYER_CELL_W = 80, CHOICE_PLAYER_CELL_H = 72;
int choice_player_cell(int x, int y, int x0, int y0, int count);
// Research: cells CHOICE_RESEARCH_STEP apart inside CHOICE_RESEARCH_AREA
// (whether offered or not).
inline constexpr PlatRect CHOICE_RESEARCH_AREA{35, 297, 407, 352};
inline constexpr int CHOICE_RESEARCH_STEP = 76;
int choice_research_cell(int x, int y);
