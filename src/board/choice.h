// Choice dialogs over the board.
#pragma once

#include <cstdint>

// The facility-kind dialog: 0..4 (FacilityKind), -1 only when may_cancel is non-zero.
int choose_facility_kind(int may_cancel);
// The player picker: one of the count listed players, -1 when cancelled.
int choose_player(int count, const int* players, const char* prompt);
// The research choice of an owned research institute (sets its item and days).
void choose_research_item(int facility);
