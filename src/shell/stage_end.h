// The stage end and the four-map campaign.
#pragma once

#include <cstdint>

// One byte per map 0..3: 1 once the map was won.
extern uint8_t campaign_maps_cleared[4];

// The stage-cleared or game-won screens.
void stage_won();
// The offer to continue a lost stage from a save: 4 accepted, 1 not.
uint8_t stage_offer_continue(int over_board);
