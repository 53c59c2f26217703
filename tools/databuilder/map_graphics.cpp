// MAP.MKF: the pictures of the four stand-in maps. Per map its terrain
// (roads along every link of the path on a ground of its own), its map
// block, its minimap and five building sets; shared by all maps the square
// markers, owner marks, base shapes, digits and the view pictures; each
// company building and decoration its own sprite.
#include <cmath>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>

#include "board/view_sets.h"
#include "board_paint.h"
#include "builder.h"
#include "data/characters.h"
#include "maps_layout.h"
#include "platform/text.h"
#include "street_signs.h"

namespace {

constexpr int WORLD = TERRAIN_CELLS * TERRAIN_TILE_SIDE;

// Terrain palette indices.
enum : uint8_t {
    T_GROUND = 1, // 1..3 three shades
    T_ROAD = 5,
    T_ROAD_EDGE = 6,
    T_STRIPE = 7,
    T_PLOT = 8,
    T_PLAZA = 9,
    T_INDOOR = 10,
    T_LABEL = 11,      // street names
    T_LABEL_EDGE = 12, // their outline
};

// Each city's ground.
constexpr uint32_t GROUND[STANDIN_MAP_COUNT] = {0x5C8C3C, 0x8C9C5C, 0x6C8C6C, 0x9C8C5C};

std::vector<uint16_t> terrain_palette(int m) {
    std::vector<uint16_t> pal(256, 0);
    const uint32_t g = GROUND[m];
    auto shade = [](uint32_t c, int d) {
        auto ch = [&](int s) { return std::clamp(int(c >> s & 0xFF) + d, 0, 255); };
        return uint32_t(ch(16)) << 16 | uint32_t(ch(8)) << 8 | uint32_t(ch(0));
    };
    pal[T_GROUND] = rgb555_of(g);
    pal[T_GROUND + 1] = rgb555_of(shade(g, 12));
    pal[T_GROUND + 2] = rgb555_of(shade(g, -12));
    pal[T_ROAD] = rgb555_of(0x707078);
    pal[T_ROAD_EDGE] = rgb555_of(0xC8C8C0);
    pal[T_STRIPE] = rgb555_of(0xF0E060);
    pal[T_PLOT] = rgb555_of(shade(g, 40));
    pal[T_PLAZA] = rgb555_of(0xC0A888);
    pal[T_INDOOR] = rgb555_of(0xA08870);
    pal[T_LABEL] = rgb555_of(0xF0E8D0);
    pal[T_LABEL_EDGE] = rgb555_of(0x202018);
    return pal;
}

Canvas8 terrain_canvas(const StandinMap& map) {
    Canvas8 c(WORLD, WORLD);
    for (int y = 0; y < WORLD; ++y)
        for (int x = 0; x < WORLD; ++x) {
            // A pattern that repeats every tile, so plain ground shares tiles.
            const int fx = x % 32, fy = y % 32;
            const int h = (fx * 7 + fy * 13 + (fx * fy) % 5) % 11;
            c.px[size_t(y) * WORLD + x] =
                static_cast<uint8_t>(T_GROUND + (h < 7 ? 0 : (h < 9 ? 1 : 2)));
        }
    for (size_t i = 1; i < map.lots.size(); ++i)
        c.diamond(map.lots[i].x, map.lots[i].y, 26, 16, T_PLOT);
    for (size_t i = 1; i < map.facilities.size(); ++i)
        c.diamond(map.facilities[i].x, map.facilities[i].y, 34, 20, T_PLOT);
    for (size_t i = 1; i < map.companies.size(); ++i)
        c.diamond(map.companies[i].x, map.companies[i].y, 34, 20, T_PLAZA);
    for (size_t i = 1; i < map.decorations.size(); ++i)
        c.disc(map.decorations[i].x, map.decorations[i].y, 30, 30, T_PLAZA);
    const auto& sq = map.squares;
    for (int pass = 0; pass < 3; ++pass)
        for (size_t i = 1; i < sq.size(); ++i)
            for (uint16_t l : sq[i].links) {
                if (l == 0 || l >= sq.size() || l < i) continue;
                const bool indoor = (sq[i].flags & SQF_INDOOR) && (sq[l].flags & SQF_INDOOR);
                if (pass == 0) c.line(sq[i].x, sq[i].y, sq[l].x, sq[l].y, 14, T_ROAD_EDGE);
                if (pass == 1)
                    c.line(sq[i].x, sq[i].y, sq[l].x, sq[l].y, 11, indoor ? T_INDOOR : T_ROAD);
                if (pass == 2 && !indoor) {
                    // A dashed centre line.
                    const int dx = sq[l].x - sq[i].x, dy = sq[l].y - sq[i].y;
                    const int len = std::max(std::abs(dx), std::abs(dy));
                    for (int t = 0; t + 8 <= len; t += 24)
                        c.line(sq[i].x + dx * t / len, sq[i].y + dy * t / len,
                               sq[i].x + dx * (t + 8) / len, sq[i].y + dy * (t + 8) / len, 1,
                               T_STRIPE);
                }
            }
    return c;
}

void put16(Bytes& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

Bytes terrain_entry(const Canvas8& c, const std::vector<uint16_t>& pal) {
    std::map<std::string, uint16_t> tiles; // a tile's bytes as its key
    std::vector<const std::string*> order;
    std::vector<uint16_t> grid(TERRAIN_CELLS * TERRAIN_CELLS);
    for (int cy = 0; cy < TERRAIN_CELLS; ++cy)
        for (int cx = 0; cx < TERRAIN_CELLS; ++cx) {
            std::string t(TERRAIN_TILE_BYTES, '\0');
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    t[y * 32 + x] = static_cast<char>(c.get(cx * 32 + x, cy * 32 + y));
            auto [it, fresh] = tiles.emplace(std::move(t), static_cast<uint16_t>(tiles.size()));
            if (fresh) order.push_back(&it->first);
            grid[cy * TERRAIN_CELLS + cx] = it->second;
        }
    Bytes b(TERRAIN_TILES_AT + order.size() * TERRAIN_TILE_BYTES, 0);
    put16(b, 0, static_cast<uint16_t>(order.size()));
    for (int i = 0; i < 256; ++i)
        put16(b, TERRAIN_PALETTE_AT + 2 * i, pal[i]);
    for (size_t i = 0; i < grid.size(); ++i)
        put16(b, TERRAIN_GRID_AT + 2 * i, grid[i]);
    for (size_t i = 0; i < order.size(); ++i)
        std::copy(order[i]->begin(), order[i]->end(),
                  b.begin() + TERRAIN_TILES_AT + i * TERRAIN_TILE_BYTES);
    return b;
}

FrameSetBytes minimap_set(const Canvas8& c, const std::vector<uint16_t>& pal) {
    std::vector<FrameImage> frames;
    for (int side : {200, 400}) {
        Canvas16 m(side, side);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const int wx = x * WORLD / side, wy = y * WORLD / side;
                uint16_t p = pal[c.get(wx, wy)];
                m.set(x, y, p ? p : rgb555_of(0x202020));
            }
        m.frame(0, 0, side, side, rgb555_of(0x303030));
        frames.push_back(frame_of(m, 0, 0));
    }
    return frameset_smp(frames);
}

// ---------------------------------------------------------------------------
// Buildings: indexed pictures, palette index 1 the owner's colour.

enum : uint8_t {
    B_OWNER = 1,
    B_WALL = 2,
    B_WALL_DARK = 3,
    B_ROOF = 4,
    B_WINDOW = 5,
    B_OUTLINE = 6,
    B_DOOR = 7,
    B_GREEN = 8,
    B_TRUNK = 9,
    B_YELLOW = 10,
    B_RED = 11,
    B_WHITE = 12,
    B_GLASS = 13,
    B_STONE = 14,
    B_BLUE = 15,
    B_BRONZE = 16,
    B_EXTRA = 17, // a colour of the picture's own
};

std::vector<uint16_t> building_palette(uint32_t extra = 0x8080C0) {
    std::vector<uint16_t> p(256, 0);
    p[B_OWNER] = rgb555_of(0xB0B0B0);
    p[B_WALL] = rgb555_of(0xE8E0D0);
    p[B_WALL_DARK] = rgb555_of(0xA8A090);
    p[B_ROOF] = rgb555_of(0x904030);
    p[B_WINDOW] = rgb555_of(0x405878);
    p[B_OUTLINE] = rgb555_of(0x282020);
    p[B_DOOR] = rgb555_of(0x604020);
    p[B_GREEN] = rgb555_of(0x30A040);
    p[B_TRUNK] = rgb555_of(0x704820);
    p[B_YELLOW] = rgb555_of(0xF0D040);
    p[B_RED] = rgb555_of(0xD03030);
    p[B_WHITE] = rgb555_of(0xF8F8F8);
    p[B_GLASS] = rgb555_of(0x80C0E0);
    p[B_STONE] = rgb555_of(0x808080);
    p[B_BLUE] = rgb555_of(0x3060D0);
    p[B_BRONZE] = rgb555_of(0xA07030);
    p[B_EXTRA] = rgb555_of(extra);
    return p;
}

constexpr int BW = 72, BH = 100, HOT_X = 36, HOT_Y = 88;

// A box standing on the anchor: front face, a side face toward the
// direction's side and a roof band; a door on the front marks the facing.
void block(Canvas8& c, int w, int h, int dir, uint8_t wall, uint8_t roof, int window_rows,
           uint8_t window = B_WINDOW) {
    const int side = 8;
    const bool right = FACING_DX[dir] >= 0;
    const int x0 = HOT_X - w / 2, x1 = x0 + w, y1 = HOT_Y, y0 = HOT_Y - h;
    // Side face, slanted up.
    for (int i = 0; i < side; ++i) {
        const int sx = right ? x1 + i : x0 - 1 - i;
        c.rect(sx, y0 - i / 2, sx + 1, y1 - i / 2, B_WALL_DARK);
    }
    c.rect(x0, y0, x1, y1, wall);
    c.frame(x0, y0, x1, y1, B_OUTLINE);
    // Roof band in the owner's colour, with the roof's top.
    c.rect(x0 - 1, y0 - 5, x1 + 1, y0 + 1, roof);
    for (int i = 0; i < side; ++i) {
        const int sx = right ? x1 + i : x0 - 1 - i;
        c.rect(sx, y0 - 5 - i / 2, sx + 1, y0 + 1 - i / 2, roof);
    }
    for (int r = 0; r < window_rows; ++r) {
        const int wy = y1 - 14 - r * 10;
        if (wy < y0 + 3) break;
        for (int wx = x0 + 3; wx + 4 <= x1 - 2; wx += 7)
            c.rect(wx, wy, wx + 4, wy + 5, window);
    }
    const int door_x = HOT_X + FACING_DX[dir] * (w / 4) - 2;
    if (FACING_DY[dir] >= 0) c.rect(door_x, y1 - 8, door_x + 5, y1, B_DOOR);
}

Canvas8 house(int level, int dir) {
    Canvas8 c(BW, BH);
    // Level 1 a cottage, level 5 a block of flats.
    block(c, 16 + 4 * level, 8 + 11 * level, dir, B_WALL, B_OWNER, level);
    if (level <= 2) {
        // A pitched roof on the small houses.
        const int w = 16 + 4 * level, top = HOT_Y - (8 + 11 * level) - 5;
        for (int i = 0; i < 8; ++i)
            c.rect(HOT_X - w / 2 + i, top - i, HOT_X + w / 2 - i, top - i + 1, B_ROOF);
    }
    return c;
}

Canvas8 chain_store(int dir) {
    Canvas8 c(BW, BH);
    block(c, 44, 26, dir, B_WALL, B_OWNER, 1, B_GLASS);
    c.rect(HOT_X - 20, HOT_Y - 22, HOT_X + 20, HOT_Y - 15, B_YELLOW); // the chain's sign
    c.rect(HOT_X - 14, HOT_Y - 20, HOT_X + 14, HOT_Y - 17, B_RED);
    return c;
}

Canvas8 hotel(int level, int dir) {
    Canvas8 c(BW, BH);
    block(c, 22, 20 + 13 * level, dir, B_WALL, B_OWNER, level + 1);
    c.rect(HOT_X - 6, HOT_Y - 20 - 13 * level - 12, HOT_X + 6, HOT_Y - 20 - 13 * level - 6,
           B_YELLOW);
    return c;
}

Canvas8 shopping(int level, int dir) {
    Canvas8 c(BW, BH);
    block(c, 30 + 5 * level, 14 + 8 * level, dir, B_GLASS, B_OWNER, level, B_BLUE);
    return c;
}

Canvas8 research(int level, int dir) {
    Canvas8 c(BW, BH);
    const int h = 12 + 6 * level;
    block(c, 26 + 3 * level, h, dir, B_WHITE, B_OWNER, level);
    c.disc(HOT_X, HOT_Y - h - 5, 6 + 2 * level, 4 + 2 * level, B_STONE); // the dome
    c.rect(HOT_X - 1, HOT_Y - h - 14 - 2 * level, HOT_X + 1, HOT_Y - h - 5, B_OUTLINE);
    return c;
}

Canvas8 park(int dir) {
    Canvas8 c(BW, BH);
    c.diamond(HOT_X, HOT_Y - 6, 30, 12, B_GREEN);
    for (int i = 0; i < 3; ++i) {
        const int tx = HOT_X - 16 + i * 16 + FACING_DX[dir] * 2, ty = HOT_Y - 8 - (i % 2) * 4;
        c.rect(tx - 1, ty - 10, tx + 2, ty, B_TRUNK);
        c.disc(tx, ty - 16, 8, 9, B_GREEN);
    }
    c.rect(HOT_X - 30, HOT_Y - 2, HOT_X + 30, HOT_Y, B_OWNER); // the fence
    return c;
}

Canvas8 petrol(int dir) {
    Canvas8 c(BW, BH);
    c.rect(HOT_X - 26, HOT_Y - 34, HOT_X + 26, HOT_Y - 28, B_OWNER); // canopy
    c.rect(HOT_X - 22, HOT_Y - 28, HOT_X - 19, HOT_Y, B_STONE);
    c.rect(HOT_X + 19, HOT_Y - 28, HOT_X + 22, HOT_Y, B_STONE);
    c.rect(HOT_X - 6 + FACING_DX[dir] * 6, HOT_Y - 14, HOT_X + 2 + FACING_DX[dir] * 6, HOT_Y,
           B_RED); // pump
    return c;
}

FrameSetBytes building_set(int set) {
    std::vector<FrameImage> frames;
    for (int group = 0; group < VIEW_SET_GROUPS[set]; ++group)
        for (int dir = 0; dir < VIEW_DIRECTIONS; ++dir) {
            Canvas8 c(BW, BH);
            switch (set) {
            case VIEW_SET_HOUSES:
                c = group == VIEW_CHAIN_STORE_GROUP ? chain_store(dir) : house(group + 1, dir);
                break;
            case VIEW_SET_HOTEL:
                c = hotel(group + 1, dir);
                break;
            case VIEW_SET_SHOPPING:
                c = shopping(group + 1, dir);
                break;
            case VIEW_SET_RESEARCH:
                c = research(group + 1, dir);
                break;
            default:
                c = group == VIEW_PARK_GROUP ? park(dir) : petrol(dir);
                break;
            }
            frames.push_back(frame_of(c, HOT_X, HOT_Y));
        }
    return frameset_spr(building_palette(), frames);
}

FrameSetBytes company_set(int m, int i, int kind) {
    // Each company its own height, colour and sign.
    const uint32_t colours[] = {0x4868A8, 0xA85848, 0x48A868, 0xA89848,
                                0x8848A8, 0x48A8A8, 0xC07830, 0x707070};
    std::vector<FrameImage> frames;
    for (int dir = 0; dir < VIEW_DIRECTIONS; ++dir) {
        Canvas8 c(BW, BH);
        const int h = 44 + ((i * 13 + m * 7 + kind * 5) % 30);
        block(c, 30 + (i % 3) * 4, h, dir, B_EXTRA, B_OWNER, h / 10, B_GLASS);
        c.rect(HOT_X - 12, HOT_Y - h + 4, HOT_X + 12, HOT_Y - h + 11, B_WHITE); // the sign
        c.rect(HOT_X - 9, HOT_Y - h + 6, HOT_X - 9 + 3 + (i * 5 % 16), HOT_Y - h + 9, B_EXTRA);
        frames.push_back(frame_of(c, HOT_X, HOT_Y));
    }
    return frameset_spr(building_palette(colours[(i + m) % 8]), frames);
}

FrameSetBytes decoration_set(int d) {
    std::vector<FrameImage> frames;
    for (int dir = 0; dir < VIEW_DIRECTIONS; ++dir) {
        Canvas8 c(BW, BH);
        if (d == 1) { // hospital
            block(c, 40, 40, dir, B_WHITE, B_WHITE, 3);
            c.rect(HOT_X - 3, HOT_Y - 36, HOT_X + 3, HOT_Y - 22, B_RED);
            c.rect(HOT_X - 8, HOT_Y - 32, HOT_X + 8, HOT_Y - 26, B_RED);
        } else if (d == 2) { // jail
            block(c, 40, 34, dir, B_STONE, B_OUTLINE, 0);
            for (int x = HOT_X - 16; x < HOT_X + 16; x += 5)
                c.rect(x, HOT_Y - 28, x + 2, HOT_Y - 4, B_OUTLINE);
        } else {
            switch ((d - 3) % 5) {
            case 0: // fountain
                c.disc(HOT_X, HOT_Y - 6, 22, 9, B_STONE);
                c.disc(HOT_X, HOT_Y - 7, 18, 7, B_BLUE);
                c.rect(HOT_X - 2, HOT_Y - 26, HOT_X + 2, HOT_Y - 7, B_GLASS);
                break;
            case 1: // a big tree
                c.rect(HOT_X - 3, HOT_Y - 24, HOT_X + 3, HOT_Y, B_TRUNK);
                c.disc(HOT_X, HOT_Y - 38, 24, 18, B_GREEN);
                break;
            case 2: // clock tower
                block(c, 14, 70, dir, B_WALL, B_ROOF, 0);
                c.disc(HOT_X, HOT_Y - 58, 5, 5, B_WHITE);
                break;
            case 3: // statue
                c.rect(HOT_X - 8, HOT_Y - 10, HOT_X + 8, HOT_Y, B_STONE);
                c.rect(HOT_X - 3, HOT_Y - 30, HOT_X + 3, HOT_Y - 10, B_BRONZE);
                c.disc(HOT_X, HOT_Y - 34, 4, 4, B_BRONZE);
                break;
            default: // garden
                c.diamond(HOT_X, HOT_Y - 6, 28, 11, B_GREEN);
                for (int k = 0; k < 6; ++k)
                    c.disc(HOT_X - 18 + k * 7, HOT_Y - 6 + (k % 2) * 3, 2, 2,
                           k % 2 ? B_RED : B_YELLOW);
                break;
            }
        }
        frames.push_back(frame_of(c, HOT_X, HOT_Y));
    }
    return frameset_spr(building_palette(), frames);
}

// ---------------------------------------------------------------------------
// Shared sets

FrameSetBytes marker_set() {
    // One look per square type: a flat plate in the type's colour with a
    // contrasting centre.
    const uint32_t colours[MARKER_FRAMES] = {
        0x000000, 0xC0C0C0, 0x3090E0, 0xE07030, 0x404040, 0xF0F0F0, 0x90E040, 0x40E090, 0xE0E040,
        0xF050A0, 0xF0C020, 0xD0A030, 0xB08040, 0x9050E0, 0x30B060, 0xE04040, 0x8040C0, 0xE8D8B0};
    std::vector<FrameImage> frames;
    for (int t = 0; t < MARKER_FRAMES; ++t) {
        Canvas16 c(34, 18);
        if (t != 0) {
            c.diamond(17, 9, 16, 8, rgb555_of(0x303030));
            c.diamond(17, 9, 14, 7, rgb555_of(colours[t]));
            c.diamond(17, 9, 5, 2,
                      t == SQ_HOSPITAL ? rgb555_of(0xE02020) : rgb555_of(0xFFFFFF ^ colours[t]));
        }
        frames.push_back(frame_of(c, 17, 9));
    }
    return frameset_smp(frames);
}

FrameSetBytes owner_mark_set() {
    std::vector<FrameImage> frames;
    for (int k = 0; k < OWNER_MARK_FRAMES; ++k) {
        const int ch = k % CHARACTER_COUNT;
        const uint16_t colour = rgb555_of(character_table[ch].colour);
        if (k < OWNER_MARK_ALLY_BASE) {
            Canvas16 c(18, 30);
            c.rect(1, 2, 3, 30, rgb555_of(0x303030)); // the pole
            c.rect(3, 2, 17, 12, colour);
            c.frame(3, 2, 17, 12, rgb555_of(0x202020));
            frames.push_back(frame_of(c, 2, 29));
        } else if (k < OWNER_MARK_PATRON_BASE) {
            Canvas16 c(12, 12);
            c.disc(6, 6, 5, 5, rgb555_of(0xFFFFFF));
            c.disc(6, 6, 3, 3, colour);
            frames.push_back(frame_of(c, 6, 6));
        } else {
            Canvas16 c(12, 12);
            c.diamond(6, 6, 5, 5, rgb555_of(0x202020));
            c.diamond(6, 6, 4, 4, colour);
            frames.push_back(frame_of(c, 6, 6));
        }
    }
    return frameset_smp(frames);
}

FrameSetBytes base_shape_set() {
    std::vector<FrameImage> frames;
    for (int k = 0; k < 4; ++k) {
        const bool big = k >= BASE_SHAPE_FACILITY;
        Canvas16 c(big ? 70 : 54, big ? 36 : 28);
        const uint16_t white = rgb555_of(0xFFFFFF);
        if (k % 2 == 0)
            c.diamond(c.w / 2, c.h / 2, c.w / 2 - 1, c.h / 2 - 1, white);
        else
            c.rect(6, 4, c.w - 6, c.h - 4, white);
        frames.push_back(frame_of(c, c.w / 2, c.h / 2));
    }
    return frameset_smp(frames);
}

// Seven-segment digits.
FrameSetBytes digit_set() {
    static const uint8_t SEG[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    std::vector<FrameImage> frames;
    for (int d = 0; d < 10; ++d) {
        Canvas16 c(34, 52);
        for (int pass = 0; pass < 2; ++pass) {
            const uint16_t col = pass ? rgb555_of(0xF8E040) : rgb555_of(0x302010);
            const int g = pass ? 0 : 2;
            auto seg = [&](int x0, int y0, int x1, int y1) {
                c.rect(x0 - g, y0 - g, x1 + g, y1 + g, col);
            };
            if (SEG[d] & 1) seg(7, 3, 27, 8);
            if (SEG[d] & 2) seg(26, 5, 31, 25);
            if (SEG[d] & 4) seg(26, 27, 31, 47);
            if (SEG[d] & 8) seg(7, 44, 27, 49);
            if (SEG[d] & 16) seg(3, 27, 8, 47);
            if (SEG[d] & 32) seg(3, 5, 8, 25);
            if (SEG[d] & 64) seg(7, 23, 27, 28);
        }
        frames.push_back(frame_of(c, 17, 26));
    }
    return frameset_smp(frames);
}

void build_map_graphics(DataBuilder& b) {
    ArchiveWriter& a = builder_archive(b, "MAP.MKF");
    for (int m = 0; m < STANDIN_MAP_COUNT; ++m) {
        const StandinMap map = standin_map_build(m);
        const std::vector<uint16_t> pal = terrain_palette(m);
        const Canvas8 ground = terrain_canvas(map);
        Canvas8 named = ground; // the minimap keeps the plain ground
        paint_street_names(named, map, T_GROUND + 2, SignInks{T_LABEL, T_LABEL_EDGE});
        const Bytes terrain = terrain_entry(named, pal);
        mkf_writer_add(a, MAPGFX_TERRAIN_BASE + 2 * m, terrain, TERRAIN_PALETTE_AT, 512);
        mkf_writer_add(a, MAPGFX_TERRAIN_BASE + 2 * m + 1, standin_map_pack(map));
        mkf_writer_add_frameset(a, MAPGFX_MINIMAP_BASE + m, minimap_set(ground, pal));
        for (int i = 0; i < VIEW_BUILDING_SETS; ++i)
            mkf_writer_add_frameset(a, MAPGFX_BUILDING_BASE + 5 * m + i, building_set(i));
        if (map.companies.size() > 9 || map.decorations.size() > 9)
            throw std::runtime_error("stand-in map graphics: more sprites than their entries hold");
        for (size_t i = 1; i < map.companies.size(); ++i) {
            if (map.companies[i].sprite !=
                MAPGFX_COMPANY_BASE + MAPGFX_PER_MAP_SPRITES * m + int(i) - 1)
                throw std::runtime_error("stand-in map graphics: a company names another sprite");
            mkf_writer_add_frameset(a, map.companies[i].sprite,
                                    company_set(m, int(i), map.companies[i].kind));
        }
        for (size_t i = 1; i < map.decorations.size(); ++i) {
            if (map.decorations[i].sprite !=
                MAPGFX_DECORATION_BASE + MAPGFX_PER_MAP_SPRITES * m + int(i) - 1)
                throw std::runtime_error(
                    "stand-in map graphics: a decoration names another sprite");
            mkf_writer_add_frameset(a, map.decorations[i].sprite, decoration_set(int(i)));
        }
    }
    plat_font_release_all(); // the street names are painted; the fonts are not kept open
    mkf_writer_add_frameset(a, MAPGFX_MARKERS, marker_set());
    mkf_writer_add_frameset(a, MAPGFX_OWNER_MARKS, owner_mark_set());
    mkf_writer_add_frameset(a, MAPGFX_BASE_SHAPES, base_shape_set());
    mkf_writer_add_frameset(a, MAPGFX_DIGITS, digit_set());
    for (int i = 0; i < MAPGFX_PLACEHOLDER_COUNT; ++i) {
        Canvas16 c(8, 8, rgb555_of(0x808080 + i * 0x040404));
        mkf_writer_add_frameset(a, MAPGFX_PLACEHOLDER_FIRST + i, frameset_smp({frame_of(c, 4, 4)}));
    }
}

} // namespace

KARVO_DATA_GENERATOR(build_map_graphics);
