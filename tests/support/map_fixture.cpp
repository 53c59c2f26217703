#include "support/map_fixture.h"

#include <string>

#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map_block.h"
#include "board/movement.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "engine/mkf.h"
#include "engine/random.h"
#include "finance/stock.h"

int MapFixture::square(int x, int y, uint8_t type, uint16_t object, uint32_t flags) {
    MapSquare q{};
    q.x = static_cast<int16_t>(x);
    q.y = static_cast<int16_t>(y);
    q.object = object;
    q.flags = flags | type;
    squares.push_back(q);
    return static_cast<int>(squares.size()) - 1;
}

void MapFixture::link(int a, int b) {
    auto slot = [](MapSquare& q) -> uint16_t& {
        for (auto& l : q.links)
            if (l == 0) return l;
        return q.links[3];
    };
    slot(squares[a]) = static_cast<uint16_t>(b);
    slot(squares[b]) = static_cast<uint16_t>(a);
}

int MapFixture::lot(int x, int y, Owner owner, uint8_t level, uint16_t land_price) {
    LandLot l{};
    l.x = static_cast<int16_t>(x);
    l.y = static_cast<int16_t>(y);
    l.owner = owner;
    l.level = level;
    l.land_price = land_price;
    for (int k = 0; k < 6; ++k)
        l.toll[k] = static_cast<uint16_t>(land_price / 10 * (k + 1));
    lots.push_back(l);
    return OBJ_LOT_BASE + static_cast<int>(lots.size()) - 1;
}

int MapFixture::facility(int x, int y, uint8_t kind, Owner owner, uint8_t level, uint16_t price) {
    FacilityLot f{};
    f.x = static_cast<int16_t>(x);
    f.y = static_cast<int16_t>(y);
    f.kind = kind;
    f.owner = owner;
    f.level = level;
    f.price = price;
    facilities.push_back(f);
    return OBJ_FACILITY_BASE + static_cast<int>(facilities.size()) - 1;
}

int MapFixture::company(int x, int y, uint8_t listed, uint8_t kind) {
    CompanyBuilding c{};
    c.x = static_cast<int16_t>(x);
    c.y = static_cast<int16_t>(y);
    c.listed = listed;
    c.kind = kind;
    companies.push_back(c);
    return OBJ_COMPANY_BASE + static_cast<int>(companies.size()) - 1;
}

int MapFixture::decoration(int x, int y) {
    Decoration d{};
    d.x = static_cast<int16_t>(x);
    d.y = static_cast<int16_t>(y);
    decorations.push_back(d);
    return OBJ_DECORATION_BASE + static_cast<int>(decorations.size()) - 1;
}

std::vector<uint8_t> MapFixture::block() const {
    return map_block_make(squares, lots, facilities, companies, decorations);
}

bool MapFixture::load() const {
    std::vector<uint8_t> b = block();
    std::string error;
    return map_data_read(b.data(), b.size(), &error);
}

void map_fixture_reset() {
    game_world_reset();
    mkf_reset();
    game_srand(12345);
}
