// The street-name signs painted on a stand-in map's ground.
#pragma once

#include <cstdint>

#include "board_paint.h"
#include "maps_layout.h"

// Terrain indices of a sign: its light plate and its dark letters and rim.
struct SignInks {
    uint8_t plate;
    uint8_t ink;
};

// Paints each street's name once near its plots, on bare ground (terrain
// indices up to last_ground) where, in the view turned to rotation 0,
// nothing of the board stands over it: no building of any plot, facility,
// company or place, no square's marker or a figure standing on it, no road
// and no other sign.
void paint_street_names(Canvas8& c, const StandinMap& map, uint8_t last_ground, SignInks inks);
