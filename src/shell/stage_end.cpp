#include "shell/stage_end.h"

// The stage end is not built yet: it returns at once while nothing is shown.
uint8_t campaign_maps_cleared[4] = {};

void stage_won() {}
uint8_t stage_offer_continue(int) {
    return 1;
}
