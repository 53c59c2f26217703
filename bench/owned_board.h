// Benchmark set-up shared by the board and card benchmarks: every plot and
// facility of the loaded map owned by one of the four players and built, so
// the view draws and lists as much as a late game shows.
#pragma once

#include <cstdint>

#include "board/map.h"

inline void bench_own_and_build_everything() {
    for (int i = 1; i <= map_lot_count; ++i) {
        map_lot_table[i].owner = owner_of_seat(i % 4);
        map_lot_table[i].level = static_cast<uint8_t>(1 + i % 5);
    }
    for (int i = 1; i <= map_facility_count; ++i) {
        map_facility_table[i].owner = owner_of_seat(i % 4);
        map_facility_table[i].kind = static_cast<uint8_t>(i % 5);
        map_facility_table[i].level = 1;
    }
}
