// Small hand-drawn boards for the map module's tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "board/map.h"

struct MapFixture {
    std::vector<MapSquare> squares{MapSquare{}};
    std::vector<LandLot> lots{LandLot{}};
    std::vector<FacilityLot> facilities{FacilityLot{}};
    std::vector<CompanyBuilding> companies{CompanyBuilding{}};
    std::vector<Decoration> decorations{Decoration{}};

    // Adds a square; returns its number.
    int square(int x, int y, uint8_t type, uint16_t object = 0, uint32_t flags = 0);
    // Links two squares both ways (first free link slot of each).
    void link(int a, int b);
    // Adds a record; returns its object code.
    int lot(int x, int y, Owner owner = OWNER_NONE, uint8_t level = 0, uint16_t land_price = 1000);
    int facility(int x, int y, uint8_t kind = 0, Owner owner = OWNER_NONE, uint8_t level = 0,
                 uint16_t price = 3000);
    int company(int x, int y, uint8_t listed, uint8_t kind = 0);
    int decoration(int x, int y);

    std::vector<uint8_t> block() const;
    // Replaces the current map with this one; false when it is refused.
    bool load() const;
};

// Resets every module the map operations touch.
void map_fixture_reset();
