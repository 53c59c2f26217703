// The pictures of the board view: loading the map's graphics and drawing a
// render into the back surface. Everything here is skipped without a back
// surface, and a missing picture leaves its place empty.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/sprites.h"
#include "board/status.h"
#include "board/turn.h"
#include "board/view.h"
#include "board/view_draw.h"
#include "board/view_sets.h"
#include "board/view_terrain.h"
#include "data/anim_frames.h"
#include "engine/data_report.h"
#include "engine/draw.h"
#include "engine/flc.h"
#include "engine/image.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/surfaces.h"
#include "engine/text.h"
#include "platform/surface.h"

namespace {

constexpr int BOARD_MARKS_ENTRY = 476;
constexpr int BOARD_PICTURES_ENTRY = 478;

struct Graphics {
    bool loaded = false;
    int map = 0;
    uint8_t* terrain = nullptr;
    uint32_t terrain_size = 0;
    std::vector<void*> map_sets;   // by MAP.MKF entry
    std::vector<uint16_t> colour1; // each set's own owner-colour entry, as read
    void* minimap_clean = nullptr;
    void* minimap_work = nullptr;
    void* gods[GOD_SPRITE_COUNT] = {};
    void* portraits[PLAYER_COUNT] = {};
};
Graphics g;

void complain(const char* what, int entry) {
    std::fprintf(stderr, "karvo: board picture missing or damaged: %s (entry %d)\n", what, entry);
}

// A frame set entry, or nullptr (with a message) when it is not one.
void* read_set(int slot, int entry, const char* what) {
    void* set = spr_read_set_from(slot, entry);
    if (!set) complain(what, entry);
    return set;
}

void keep_map_set(int slot, int entry, const char* what) {
    if (entry < 0 || entry >= static_cast<int>(g.map_sets.size())) {
        complain(what, entry);
        return;
    }
    if (g.map_sets[entry]) return;
    g.map_sets[entry] = read_set(slot, entry, what);
    if (uint16_t* pal = spr_palette(g.map_sets[entry]))
        g.colour1[entry] = pal[VIEW_OWNER_COLOUR_INDEX];
}

void read_terrain(int slot, int map) {
    const int entry = MAPGFX_TERRAIN_BASE + 2 * map;
    uint32_t size = 0;
    uint8_t* block = static_cast<uint8_t*>(mkf_read(slot, entry, nullptr, &size));
    if (!block || size < TERRAIN_TILES_AT) {
        std::fprintf(stderr,
                     "karvo: terrain of map %d (MAP.MKF entry %d) is missing or shorter than "
                     "its grid; the board shows blank ground\n",
                     map, entry);
        std::free(block);
        return;
    }
    g.terrain = block;
    g.terrain_size = size;
}

uint16_t rgb(uint32_t c) {
    return gfx_rgb_to_pixel(c);
}

// ---------------------------------------------------------------------------
// Terrain: each cell a quad, split into two triangles that share their edges
// exactly with the neighbours' (a pixel on a shared edge goes to one side).

struct Vertex {
    int x, y; // screen
    int u, v; // texel
};

struct Target {
    uint16_t* pixels;
    int pitch; // pixels
};

int64_t edge(const Vertex& a, const Vertex& b, int64_t px, int64_t py) {
    return static_cast<int64_t>(b.x - a.x) * 2 * (py - 2 * a.y) -
           static_cast<int64_t>(b.y - a.y) * 2 * (px - 2 * a.x);
}

bool owns_edge(const Vertex& a, const Vertex& b) {
    const int dx = b.x - a.x, dy = b.y - a.y;
    return dy > 0 || (dy == 0 && dx > 0);
}

void fill_triangle(const Target& t, Vertex v0, Vertex v1, Vertex v2, const uint8_t* tile,
                   const uint16_t* palette, uint16_t blank) {
    int64_t area = edge(v0, v1, 2 * v2.x, 2 * v2.y);
    if (area == 0) return;
    if (area < 0) {
        std::swap(v1, v2);
        area = -area;
    }
    const int x0 = std::max(0, std::min({v0.x, v1.x, v2.x}));
    const int x1 = std::min(VIEW_HITMAP_SIDE - 1, std::max({v0.x, v1.x, v2.x}));
    const int y0 = std::max(VIEW_TOP, std::min({v0.y, v1.y, v2.y}));
    const int y1 = std::min(VIEW_TOP + VIEW_HITMAP_SIDE - 1, std::max({v0.y, v1.y, v2.y}));
    if (x0 > x1 || y0 > y1) return;
    // Edge values at the first pixel centre of the box, stepped along rows
    // and columns; a pixel on an edge belongs to the triangle owning it.
    const int64_t b0 = owns_edge(v1, v2) ? 0 : 1, b1 = owns_edge(v2, v0) ? 0 : 1,
                  b2 = owns_edge(v0, v1) ? 0 : 1;
    const int64_t px0 = 2 * x0 + 1, py0 = 2 * y0 + 1;
    int64_t r0 = edge(v1, v2, px0, py0), r1 = edge(v2, v0, px0, py0), r2 = edge(v0, v1, px0, py0);
    const int64_t dx0 = -4 * int64_t(v2.y - v1.y), dx1 = -4 * int64_t(v0.y - v2.y),
                  dx2 = -4 * int64_t(v1.y - v0.y);
    const int64_t dy0 = 4 * int64_t(v2.x - v1.x), dy1 = 4 * int64_t(v0.x - v2.x),
                  dy2 = 4 * int64_t(v1.x - v0.x);
    // Texel coordinates are affine in the edge values: 16.16 fixed point.
    const double inv = 65536.0 / static_cast<double>(area);
    auto tex = [&](int64_t w0, int64_t w1, int64_t w2, int Vertex::*c) {
        return static_cast<int64_t>((static_cast<double>(w0) * (v0.*c) +
                                     static_cast<double>(w1) * (v1.*c) +
                                     static_cast<double>(w2) * (v2.*c)) *
                                    inv);
    };
    const int64_t du = tex(dx0, dx1, dx2, &Vertex::u), dv = tex(dx0, dx1, dx2, &Vertex::v);
    for (int y = y0; y <= y1; ++y, r0 += dy0, r1 += dy1, r2 += dy2) {
        uint16_t* row = t.pixels + static_cast<ptrdiff_t>(y) * t.pitch;
        // The run of this row inside all three edges.
        int64_t k0 = 0, k1 = x1 - x0;
        const int64_t w[3] = {r0, r1, r2}, d[3] = {dx0, dx1, dx2}, lim[3] = {b0, b1, b2};
        for (int i = 0; i < 3 && k0 <= k1; ++i) {
            if (d[i] > 0) {
                const int64_t need = lim[i] - w[i];
                if (need > 0) k0 = std::max(k0, (need + d[i] - 1) / d[i]);
            } else if (d[i] < 0) {
                const int64_t room = w[i] - lim[i];
                if (room < 0)
                    k1 = -1;
                else
                    k1 = std::min(k1, room / -d[i]);
            } else if (w[i] < lim[i]) {
                k1 = -1;
            }
        }
        if (k0 > k1) continue;
        if (!tile) {
            std::fill(row + x0 + k0, row + x0 + k1 + 1, blank);
            continue;
        }
        int64_t u = tex(r0 + k0 * dx0, r1 + k0 * dx1, r2 + k0 * dx2, &Vertex::u);
        int64_t v = tex(r0 + k0 * dx0, r1 + k0 * dx1, r2 + k0 * dx2, &Vertex::v);
        for (int64_t k = k0; k <= k1; ++k, u += du, v += dv) {
            const int tu = std::clamp(static_cast<int>(u >> 16), 0, TERRAIN_TILE_SIDE - 1);
            const int tv = std::clamp(static_cast<int>(v >> 16), 0, TERRAIN_TILE_SIDE - 1);
            row[x0 + k] = palette[tile[tv * TERRAIN_TILE_SIDE + tu]];
        }
    }
}

const uint8_t* tile_of_cell(int cx, int cy) {
    return view_terrain_tile(g.terrain, g.terrain_size, cx, cy);
}

int floor_cell(int v) {
    return v >= 0 ? v / VIEW_CELL : -((-v + VIEW_CELL - 1) / VIEW_CELL);
}

void paint_terrain(const Target& t) {
    const int r = view_rotation & 7;
    const auto* corners = view_corner_table(r);
    const int8_t* order = view_draw_order(r);
    int ox, oy;
    map_view_offset(view_camera_x, view_camera_y, &ox, &oy);
    const int camx = floor_cell(view_camera_x), camy = floor_cell(view_camera_y);
    uint16_t palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = view_terrain_colour(g.terrain, g.terrain_size, i);
    const uint16_t blank = rgb(0x202820);
    for (int i = 0; order[2 * i] != VIEW_ORDER_END; ++i) {
        const int dy = order[2 * i], dx = order[2 * i + 1];
        auto corner = [&](int ddy, int ddx, int u, int v) {
            const int16_t* c = corners[dy + ddy + VIEW_REACH][dx + ddx + VIEW_REACH];
            return Vertex{c[1] + ox + VIEW_CENTRE_X, c[0] + oy + VIEW_CENTRE_Y, u, v};
        };
        const Vertex c00 = corner(0, 0, 0, 0), c10 = corner(0, 1, 32, 0);
        const Vertex c11 = corner(1, 1, 32, 32), c01 = corner(1, 0, 0, 32);
        const uint8_t* tile = tile_of_cell(camx + dx, camy + dy);
        fill_triangle(t, c00, c10, c11, tile, palette, blank);
        fill_triangle(t, c00, c11, c01, tile, palette, blank);
    }
}

void paint_markers(const Target& t) {
    void* set = view_map_set(MAPGFX_MARKERS);
    if (!set) return;
    for (int s = 1; s <= map_square_count; ++s) {
        const MapSquare& sq = map_square_table[s];
        if (sq.marker == 0) continue;
        int sx, sy;
        if (!view_point_to_screen(sq.x, sq.y, &sx, &sy)) continue;
        view_blit_frame(t.pixels, t.pitch, set, sq.marker, sx, sy, 0, VIEW_TOP, VIEW_HITMAP_SIDE,
                        VIEW_TOP + VIEW_HITMAP_SIDE);
    }
}

// A frame named that its set does not hold is reported once.
void report_missing_frame(const void* set, int frame) {
    static std::set<std::pair<const void*, int>> told;
    if (told.size() > 256 || !told.insert({set, frame}).second) return;
    std::fprintf(stderr, "karvo: board sprite frame %d is past its set's end (%d frames)\n", frame,
                 spr_frame_count(set));
}

void paint_entry(const Target& t, const ViewDrawEntry& e) {
    void* set = view_entry_set(e);
    if (!set) return;
    if (!spr_frame(set, e.frame)) {
        report_missing_frame(set, e.frame);
        return;
    }
    uint16_t fill = 0;
    if (e.kind == VS_MARK_SHAPE) fill = rgb((e.flags & VDE_SEIZED) ? 0x3050E0 : 0xE03030);
    if (e.owner != 255) {
        if (uint16_t* pal = spr_palette(set)) {
            uint16_t own = 0;
            for (size_t i = 0; i < g.map_sets.size(); ++i)
                if (g.map_sets[i] == set) own = g.colour1[i];
            pal[VIEW_OWNER_COLOUR_INDEX] = (e.owner >= 1 && e.owner <= PLAYER_COUNT)
                                               ? rgb(player_table[e.owner - 1].colour)
                                               : own;
        }
    }
    view_blit_frame(t.pixels, t.pitch, set, e.frame, e.x, e.y, 0, VIEW_TOP, VIEW_HITMAP_SIDE,
                    VIEW_TOP + VIEW_HITMAP_SIDE, fill);
}

void paint_steps_left(const Target& t) {
    const int m = game_active_mover;
    if (!turn_running || move_steps_left <= 0 || m < 0 || m >= MOVER_COUNT) return;
    const ActorAnim& a = actor_anim_table[m];
    if (a.phase != PHASE_MOVING) return;
    if (m < PLAYER_COUNT) {
        const PlayerRecord& r = player_table[m];
        if (a.indoor || r.hotel_days || r.away_days || r.jail_days || r.hospital_days) return;
    }
    void* digits = view_map_set(MAPGFX_DIGITS);
    if (!digits) return;
    char text[12];
    const int n = std::snprintf(text, sizeof text, "%d", move_steps_left);
    constexpr int DIGIT_STEP = 50, CENTRE = 245, DIGITS_Y = 120;
    int x = CENTRE - (n - 1) * DIGIT_STEP / 2;
    for (int i = 0; i < n; ++i, x += DIGIT_STEP)
        view_blit_frame(t.pixels, t.pitch, digits, text[i] - '0', x, DIGITS_Y, 0, VIEW_TOP,
                        VIEW_HITMAP_SIDE, VIEW_TOP + VIEW_HITMAP_SIDE);
}

} // namespace

int view_frames_per_direction(int slot) {
    switch (slot & ~1) {
    case 4:
        return ANIM_THROW_FRAMES;
    case 6:
        return ANIM_WORK_FRAMES;
    default:
        return ANIM_WALK_FRAMES;
    }
}

void view_tint_mover(int m) {
    if (m < 0 || m >= MOVER_COUNT) return;
    for (FrameSet* set : actor_anim_table[m].sprites)
        if (set && spr_palette(set)) gfx_tint_palette(set);
}

void* view_entry_set(const ViewDrawEntry& e) {
    switch (e.kind) {
    case VS_MOVER: {
        const int m = e.index / 8, slot = e.index % 8;
        return m < MOVER_COUNT ? actor_anim_table[m].sprites[slot] : nullptr;
    }
    case VS_GOD:
        return view_god_sprite(e.index);
    case VS_OWNER_MARK:
        return view_map_set(MAPGFX_OWNER_MARKS);
    case VS_MARK_SHAPE:
        return view_map_set(MAPGFX_BASE_SHAPES);
    case VS_BUILDING:
        return view_map_set(MAPGFX_BUILDING_BASE + 5 * g.map + e.index);
    case VS_COMPANY:
        if (map_company_table && e.index >= 1 && e.index <= map_company_count)
            return view_map_set(map_company_table[e.index].sprite);
        return nullptr;
    case VS_DECORATION:
        if (map_decoration_table && e.index >= 1 && e.index <= map_decoration_count)
            return view_map_set(map_decoration_table[e.index].sprite);
        return nullptr;
    default:
        return nullptr;
    }
}

void view_blit_frame(uint16_t* dst, int pitch, const void* set, int frame, int x, int y, int cx0,
                     int cy0, int cx1, int cy1, uint16_t fill) {
    const ImageRecord* fr = set ? spr_frame(set, frame) : nullptr;
    if (!fr || !dst) return;
    const uint16_t* pal = spr_palette(const_cast<void*>(set));
    const int left = x - fr->hot_x, top = y - fr->hot_y;
    const int x0 = std::max(cx0, left), x1 = std::min(cx1, left + fr->width);
    const int y0 = std::max(cy0, top), y1 = std::min(cy1, top + fr->height);
    for (int yy = y0; yy < y1; ++yy) {
        uint16_t* row = dst + static_cast<ptrdiff_t>(yy) * pitch;
        const int sr = (yy - top) * fr->width;
        if (pal) {
            const uint8_t* src = reinterpret_cast<const uint8_t*>(fr->pixels) + sr;
            for (int xx = x0; xx < x1; ++xx)
                if (uint8_t i = src[xx - left]) row[xx] = fill ? fill : pal[i];
        } else {
            const uint16_t* src = fr->pixels + sr;
            for (int xx = x0; xx < x1; ++xx)
                if (uint16_t p = src[xx - left]) row[xx] = fill ? fill : p;
        }
    }
}

void view_stamp(uint16_t* map, const void* set, int frame, int x, int y, uint16_t code) {
    const ImageRecord* fr = set ? spr_frame(set, frame) : nullptr;
    if (!fr || !map) return;
    const bool indexed = spr_palette(const_cast<void*>(set)) != nullptr;
    const int left = x - fr->hot_x, top = y - VIEW_TOP - fr->hot_y;
    const int x0 = std::max(0, left), x1 = std::min(VIEW_HITMAP_SIDE, left + fr->width);
    const int y0 = std::max(0, top), y1 = std::min(VIEW_HITMAP_SIDE, top + fr->height);
    for (int yy = y0; yy < y1; ++yy) {
        uint16_t* row = map + yy * VIEW_HITMAP_SIDE;
        const int sr = (yy - top) * fr->width;
        for (int xx = x0; xx < x1; ++xx) {
            const bool opaque =
                indexed ? reinterpret_cast<const uint8_t*>(fr->pixels)[sr + xx - left] != 0
                        : fr->pixels[sr + xx - left] != 0;
            if (opaque) row[xx] = code;
        }
    }
}

bool view_paint_possible() {
    return back_surface != nullptr;
}

void view_paint() {
    if (!back_surface) return;
    view_draw_list_ready();
    int32_t pitch = 0;
    uint16_t* pixels = plat_surface_lock(back_surface, &pitch);
    if (!pixels) return;
    if (back_surface->width >= VIEW_HITMAP_SIDE &&
        back_surface->height >= VIEW_TOP + VIEW_HITMAP_SIDE) {
        const Target t{pixels, pitch / 2};
        paint_terrain(t);
        paint_markers(t);
        for (int i = 0; i < view_draw_count; ++i)
            paint_entry(t, view_draw_list[view_sort_keys[i] >> 16]);
        paint_steps_left(t);
    }
    plat_surface_unlock(back_surface);
    // A time bomb shows its step counter 60 pixels above it.
    for (int i = 0; i < view_draw_count; ++i) {
        const ViewDrawEntry& e = view_draw_list[view_sort_keys[i] >> 16];
        if (!(e.flags & VDE_BOMB_COUNT)) continue;
        char count[8];
        std::snprintf(count, sizeof count, "%d", e.counter);
        text_set_font(16, 0xF8F0A0, 0x202020, TEXT_OUTLINE | TEXT_CLIP, 1);
        text_draw(nullptr, count, e.x, e.y - 60, ALIGN_CENTRE);
    }
}

namespace {

// An animation in board mode redraws the board under its difference frame
// from the view's own state.
void render_board_under_animation() {
    view_draw_board(-1, 0);
}

} // namespace

void view_load_map_graphics(int map) {
    view_free_map_graphics();
    g.map = map & 3;
    g.loaded = true;
    flc_board_render = render_board_under_animation;
    // Pictures are only read for a display; the view's state needs none.
    if (!back_surface) return;
    const int slot = mkf_open("MAP.MKF");
    if (slot < 0) {
        data_report("MAP.MKF",
                    std::string(mkf_last_open_error()) + "; the board is drawn without pictures");
    } else {
        const int count = mkf_entry_count(slot);
        g.map_sets.assign(count > 0 ? count : 0, nullptr);
        g.colour1.assign(g.map_sets.size(), 0);
        read_terrain(slot, g.map);
        g.minimap_clean = read_set(slot, MAPGFX_MINIMAP_BASE + g.map, "minimap");
        g.minimap_work = read_set(slot, MAPGFX_MINIMAP_BASE + g.map, "minimap");
        keep_map_set(slot, MAPGFX_MARKERS, "square markers");
        keep_map_set(slot, MAPGFX_BASE_SHAPES, "base shapes");
        for (int i = 0; i < VIEW_BUILDING_SETS; ++i)
            keep_map_set(slot, MAPGFX_BUILDING_BASE + 5 * g.map + i, "building set");
        keep_map_set(slot, MAPGFX_DIGITS, "digits");
        for (int i = 0; i < MAPGFX_PLACEHOLDER_COUNT; ++i)
            keep_map_set(slot, MAPGFX_PLACEHOLDER_FIRST + i, "view picture");
        for (int i = 1; i <= map_company_count; ++i)
            if (map_company_table[i].sprite)
                keep_map_set(slot, map_company_table[i].sprite, "company sprite");
        for (int i = 1; i <= map_decoration_count; ++i)
            if (map_decoration_table[i].sprite)
                keep_map_set(slot, map_decoration_table[i].sprite, "decoration sprite");
        keep_map_set(slot, MAPGFX_OWNER_MARKS, "owner marks");
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            const PlayerRecord& r = player_table[p];
            if (p >= game_player_count) continue;
            g.portraits[p] =
                read_set(slot, MAPGFX_PORTRAIT_BASE + r.character % CHARACTER_COUNT, "portrait");
            if (g.portraits[p] && r.control == 0 && r.setup_control == 0) {
                for (int f = 0; f < spr_frame_count(g.portraits[p]); ++f) {
                    const ImageRecord* fr = spr_frame(g.portraits[p], f);
                    if (fr && !spr_palette(g.portraits[p]))
                        gfx_grey_run(fr->pixels, fr->pixels, 2u * fr->width * fr->height);
                }
            }
            // The speech bubble finds the player's faces through the mover's record.
            actor_anim_table[p].portrait = static_cast<FrameSet*>(g.portraits[p]);
        }
        mkf_close(slot);
    }
    // The board's panel and small pictures are read once, here, for the view,
    // the minimap, the message panel and the speech bubble alike.
    board_panels_load();
    if (!board_panel_set) complain("board marks", BOARD_MARKS_ENTRY);
    if (!board_picture_set) complain("board pictures", BOARD_PICTURES_ENTRY);
    for (int i = 0; i < GOD_SPRITE_COUNT; ++i)
        g.gods[i] = read_set(data_archive, GOD_SPRITE_BASE + i, "god sprite");
    // Movers whose families were chosen before the display opened.
    for (int m = 0; m < MOVER_COUNT; ++m)
        sprites_load(m);
}

void view_free_map_graphics() {
    flc_board_render = nullptr;
    for (void*& s : g.map_sets)
        spr_free_set(s);
    g.map_sets.clear();
    g.colour1.clear();
    std::free(g.terrain);
    g.terrain = nullptr;
    g.terrain_size = 0;
    spr_free_set(g.minimap_clean);
    spr_free_set(g.minimap_work);
    board_panels_free();
    for (void*& s : g.gods)
        spr_free_set(s);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        if (actor_anim_table[p].portrait == g.portraits[p]) actor_anim_table[p].portrait = nullptr;
        spr_free_set(g.portraits[p]);
    }
    for (int m = 0; m < MOVER_COUNT; ++m) {
        sprites_release(m, 0);
        sprites_release(m, 1);
    }
    g.loaded = false;
    view_reset_state();
    board_clear_scroll_target();
}

int view_graphics_loaded() {
    return g.loaded ? 1 : 0;
}

void* view_map_set(int entry) {
    if (entry < 0 || entry >= static_cast<int>(g.map_sets.size())) return nullptr;
    return g.map_sets[entry];
}

void* view_god_sprite(int n) {
    return (n >= 0 && n < GOD_SPRITE_COUNT) ? g.gods[n] : nullptr;
}

void* view_board_marks() {
    return board_panel_set;
}

uint8_t* view_terrain(uint32_t* size) {
    if (size) *size = g.terrain_size;
    return g.terrain;
}

void* view_portrait_set(int p) {
    return (p >= 0 && p < PLAYER_COUNT) ? g.portraits[p] : nullptr;
}

void* view_minimap_clean() {
    return g.minimap_clean;
}

void* view_minimap_work() {
    return g.minimap_work;
}
