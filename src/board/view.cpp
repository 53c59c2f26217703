#include "board/view.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "board/game_state.h"
#include "board/map.h"
#include "board/view_draw.h"
#include "board/view_sets.h"
#include "board/world_reset.h"
#include "engine/draw.h"
#include "engine/flc.h"

int32_t hitmap_view_pos[2] = {-1, -1};
int32_t view_camera_x = 0;
int32_t view_camera_y = 0;
ViewDrawEntry view_draw_list[VIEW_DRAW_LIST_SIZE] = {};
int32_t view_draw_count = 0;
uint32_t view_sort_keys[VIEW_DRAW_LIST_SIZE] = {};
uint16_t view_pick_list[VIEW_PICK_LIST_SIZE] = {};

namespace {

// In-cell offsets per rotation: (a, b, c, d).
constexpr int8_t ROTATION_MATRIX[8][4] = {
    {-34, 11, -14, -25}, {-34, -9, 16, -25}, {-13, -25, 37, -9}, {16, -25, 36, 11},
    {37, -9, 16, 26},    {36, 11, -14, 26},  {16, 26, -35, 11},  {-14, 26, -35, -9},
};

constexpr int HITMAP_CELLS = VIEW_HITMAP_SIDE * VIEW_HITMAP_SIDE;
constexpr int PICK_FIRST = 8;

// Layers of equal screen y: higher draws later.
constexpr uint8_t LAYER_GROUND = 0;
constexpr uint8_t LAYER_WALKER = 8;
constexpr uint8_t LAYER_PLAYER = 12;
constexpr uint8_t LAYER_ACTIVE = 13;
constexpr uint8_t LAYER_MARK = 14;
constexpr uint8_t LAYER_MARK_ACTIVE = 15;
constexpr uint16_t FLYING_SORT_KEY = 0x7FF0;

// Where a held god stands beside its holder, by the holder's facing on
// screen (screen pixels); a carried time bomb has a place of its own.
constexpr int8_t HELD_OFFSET[8][2] = {{-18, -6}, {-20, 2}, {-12, 10}, {0, 14},
                                      {18, 6},   {20, -2}, {12, -10}, {0, -14}};
constexpr int8_t BOMB_OFFSET[8][2] = {{12, -4}, {10, 4},   {4, 8},   {-6, 8},
                                      {-12, 4}, {-10, -4}, {-4, -8}, {6, -8}};

// The projection the corner tables come from: the ground (u, v) in cells,
// turned 45 degrees per rotation step from world x toward world y, then one
// plane projection sx = (A u + B v) / w, sy = (C u + D v) / w with
// w = 1 + G u + H v, fixed by three corners of rotation 0: one cell in x,
// one cell in y and the far corner (-14, -14).
struct Projection {
    double a, b, c, d, g, h;
};

Projection make_projection() {
    constexpr double X1 = 34, Y1 = -11;    // cell (+1, 0)
    constexpr double X2 = 14, Y2 = 25;     // cell (0, +1)
    constexpr double X3 = -714, Y3 = -211; // cell (-14, -14)
    constexpr double U3 = -14, V3 = -14;
    // A = X1 (1 + G), B = X2 (1 + H), C = Y1 (1 + G), D = Y2 (1 + H); the far
    // corner gives two linear equations in G and H.
    //   X1 U3 (1 + G) + X2 V3 (1 + H) = X3 (1 + G U3 + H V3)
    //   Y1 U3 (1 + G) + Y2 V3 (1 + H) = Y3 (1 + G U3 + H V3)
    const double p1 = X1 * U3 - X3 * U3, q1 = X2 * V3 - X3 * V3, r1 = X3 - X1 * U3 - X2 * V3;
    const double p2 = Y1 * U3 - Y3 * U3, q2 = Y2 * V3 - Y3 * V3, r2 = Y3 - Y1 * U3 - Y2 * V3;
    const double det = p1 * q2 - p2 * q1;
    Projection pr{};
    pr.g = (r1 * q2 - r2 * q1) / det;
    pr.h = (p1 * r2 - p2 * r1) / det;
    pr.a = X1 * (1 + pr.g);
    pr.b = X2 * (1 + pr.h);
    pr.c = Y1 * (1 + pr.g);
    pr.d = Y2 * (1 + pr.h);
    return pr;
}

void project(const Projection& pr, int rotation, double dx, double dy, double* sx, double* sy) {
    // Exact eighth turns: cos and sin of 45-degree steps.
    static const double COS[8] = {1, M_SQRT1_2, 0, -M_SQRT1_2, -1, -M_SQRT1_2, 0, M_SQRT1_2};
    static const double SIN[8] = {0, M_SQRT1_2, 1, M_SQRT1_2, 0, -M_SQRT1_2, -1, -M_SQRT1_2};
    const double u = dx * COS[rotation] - dy * SIN[rotation];
    const double v = dx * SIN[rotation] + dy * COS[rotation];
    const double w = 1 + pr.g * u + pr.h * v;
    *sx = (pr.a * u + pr.b * v) / w;
    *sy = (pr.c * u + pr.d * v) / w;
}

struct Tables {
    int16_t corners[8][VIEW_GRID][VIEW_GRID][2];
    int8_t order[8][VIEW_ORDER_CAPACITY * 2];
};

// The range of the camera's in-cell offset under a rotation.
void offset_range(int rotation, int* x0, int* x1, int* y0, int* y1) {
    const int8_t* m = ROTATION_MATRIX[rotation];
    *x0 = std::min(0, int{m[0]}) + std::min(0, int{m[2]});
    *x1 = std::max(0, int{m[0]}) + std::max(0, int{m[2]});
    *y0 = std::min(0, int{m[1]}) + std::min(0, int{m[3]});
    *y1 = std::max(0, int{m[1]}) + std::max(0, int{m[3]});
}

Tables make_tables() {
    Tables t{};
    const Projection pr = make_projection();
    for (int r = 0; r < 8; ++r) {
        for (int dy = -VIEW_REACH; dy <= VIEW_REACH; ++dy)
            for (int dx = -VIEW_REACH; dx <= VIEW_REACH; ++dx) {
                double sx, sy;
                project(pr, r, dx, dy, &sx, &sy);
                t.corners[r][dy + VIEW_REACH][dx + VIEW_REACH][0] =
                    static_cast<int16_t>(std::lround(sy));
                t.corners[r][dy + VIEW_REACH][dx + VIEW_REACH][1] =
                    static_cast<int16_t>(std::lround(sx));
            }
        // Every cell whose quad can meet the view for some camera point inside
        // the camera cell, back (top of the screen) to front.
        int ox0, ox1, oy0, oy1;
        offset_range(r, &ox0, &ox1, &oy0, &oy1);
        struct Cell {
            int dy, dx, key_y, key_x;
        };
        std::vector<Cell> cells;
        for (int dy = -VIEW_REACH; dy < VIEW_REACH; ++dy)
            for (int dx = -VIEW_REACH; dx < VIEW_REACH; ++dx) {
                int minx = 1 << 30, maxx = -(1 << 30), miny = 1 << 30, maxy = -(1 << 30);
                int sumx = 0, sumy = 0;
                for (int k = 0; k < 4; ++k) {
                    int cy = dy + (k >> 1) + VIEW_REACH,
                        cx = dx + ((k ^ (k >> 1)) & 1) + VIEW_REACH;
                    int sy = t.corners[r][cy][cx][0] + VIEW_CENTRE_Y;
                    int sx = t.corners[r][cy][cx][1] + VIEW_CENTRE_X;
                    minx = std::min(minx, sx), maxx = std::max(maxx, sx);
                    miny = std::min(miny, sy), maxy = std::max(maxy, sy);
                    sumx += sx, sumy += sy;
                }
                if (maxx + ox1 < 0 || minx + ox0 >= VIEW_HITMAP_SIDE) continue;
                if (maxy + oy1 < VIEW_TOP || miny + oy0 >= VIEW_TOP + VIEW_HITMAP_SIDE) continue;
                cells.push_back({dy, dx, sumy, sumx});
            }
        std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
            return a.key_y != b.key_y ? a.key_y < b.key_y : a.key_x < b.key_x;
        });
        size_t n = std::min(cells.size(), static_cast<size_t>(VIEW_ORDER_CAPACITY - 1));
        for (size_t i = 0; i < n; ++i) {
            t.order[r][2 * i] = static_cast<int8_t>(cells[i].dy);
            t.order[r][2 * i + 1] = static_cast<int8_t>(cells[i].dx);
        }
        t.order[r][2 * n] = VIEW_ORDER_END;
        t.order[r][2 * n + 1] = VIEW_ORDER_END;
    }
    return t;
}

const Tables& tables() {
    static const Tables t = make_tables();
    return t;
}

int rotation() {
    return view_rotation & 7;
}

int floor_div(int v, int d) {
    return v >= 0 ? v / d : -((-v + d - 1) / d);
}

// The hit map, or a buffer of the view's own while start-up has not made one
// (the runner and rule tests list objects without a display).
uint16_t* hitmap() {
    if (view_hitmap) return view_hitmap;
    static std::vector<uint16_t> own(HITMAP_CELLS);
    return own.data();
}

void hitmap_clear() {
    std::memset(hitmap(), 0, sizeof(uint16_t) * HITMAP_CELLS);
}

// Puts an entry on the draw list; a full list takes no more.
void add_entry(const ViewDrawEntry& e) {
    if (view_draw_count >= VIEW_DRAW_LIST_SIZE) return;
    view_draw_list[view_draw_count++] = e;
}

ViewDrawEntry entry_at(int wx, int wy, ViewSpriteKind kind, int index, int code, int owner,
                       int frame, uint8_t layer) {
    ViewDrawEntry e{};
    int sx, sy;
    view_point_to_screen(wx, wy, &sx, &sy);
    e.kind = kind;
    e.index = static_cast<uint16_t>(index);
    e.code = static_cast<uint16_t>(code);
    e.owner = static_cast<uint8_t>(owner);
    e.frame = static_cast<uint16_t>(frame);
    e.x = static_cast<int16_t>(sx);
    e.y = static_cast<int16_t>(sy);
    e.layer = layer;
    return e;
}

int dir8(int v) {
    return ((v % 8) + 8) % 8;
}

// Which slot a mover is drawn from: waiting 0, moving 2, throwing 4, razing
// 6; the odd twin indoors.
int mover_slot(const ActorAnim& a) {
    int slot = 0;
    switch (a.phase) {
    case PHASE_MOVING:
        slot = 2;
        break;
    case PHASE_DICE:
        slot = 4;
        break;
    case PHASE_RAZE:
        slot = 6;
        break;
    default:
        slot = 0;
        break;
    }
    return slot + (a.indoor ? 1 : 0);
}

// A hibernating mover in the window is drawn tinted: once per loaded
// family, as the tint changes the pictures in place.
void tint_if_hibernating(int m, bool hibernating) {
    ActorAnim& a = actor_anim_table[m];
    if (hibernating && !(a.flags & ANIM_TINTED)) {
        a.flags |= ANIM_TINTED;
        view_tint_mover(m);
    }
}

void add_mover(int m, int wx, int wy, int facing, int code, uint8_t layer, uint8_t mark_layer,
               bool hibernating, bool sleepwalking) {
    ActorAnim& a = actor_anim_table[m];
    const int slot = mover_slot(a);
    const int fpd = view_frames_per_direction(slot);
    const int frame = dir8(facing - rotation()) * fpd + a.frame % fpd;
    tint_if_hibernating(m, hibernating);
    add_entry(entry_at(wx, wy, VS_MOVER, m * 8 + slot, code, 255, frame, layer));
    if (sleepwalking)
        add_entry(entry_at(wx, wy, VS_GOD, GOD_SPRITE_SLEEP_MARK, code, 255,
                           a.walk_frame % GOD_SLEEP_MARK_FRAMES, mark_layer));
}

bool player_hidden_by_status(const PlayerRecord& r) {
    if (r.control & CTRL_INSIDE) return false;
    return r.hotel_days || r.away_days || r.jail_days || r.hospital_days;
}

void list_players() {
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const PlayerRecord& r = player_table[p];
        if (r.x == 0 || player_hidden_by_status(r)) continue;
        if (!view_in_window(r.x, r.y)) continue;
        const bool active = p == game_active_mover;
        add_mover(p, r.x, r.y, r.facing, OBJ_OCCUPANTS | (1 << p),
                  active ? LAYER_ACTIVE : LAYER_PLAYER, active ? LAYER_MARK_ACTIVE : LAYER_MARK,
                  r.hibernation_days != 0, r.sleepwalk_days != 0);
    }
}

void list_walkers() {
    for (int m = MOVER_THIEF; m <= MOVER_ROBOT_DOLL; ++m) {
        const WalkerRecord& w = walker_of_mover(m);
        if (w.place != WALKER_FREE || w.x == 0) continue;
        if (!view_in_window(w.x, w.y)) continue;
        const bool active = m == game_active_mover;
        const int code = m == MOVER_ROBOT_DOLL ? 0 : (OBJ_OCCUPANTS | (16 << (m - MOVER_THIEF)));
        add_mover(m, w.x, w.y, w.facing, code, active ? LAYER_ACTIVE : LAYER_WALKER,
                  active ? LAYER_MARK_ACTIVE : LAYER_MARK, w.hibernation_days != 0,
                  w.sleepwalk_days != 0);
    }
}

bool square_ok(int s) {
    return map_square_table && s >= 1 && s <= map_square_count;
}

void list_gods() {
    for (int s = GOD_FIRST_SLOT; s <= GOD_LAST_SLOT; ++s) {
        const GodObject& g = god_table[s];
        if (g.kind == GK_NONE || g.kind >= GOD_KIND_COUNT) continue;
        if (g.flight != 0) {
            const int wx = static_cast<int>(g.fx), wy = static_cast<int>(g.fy);
            if (!view_in_window(wx, wy)) continue;
            ViewDrawEntry e = entry_at(wx, wy, VS_GOD, g.kind - 1, 0, 255,
                                       dir8(g.flight_facing - rotation()), LAYER_GROUND);
            e.flags |= VDE_FLYING;
            add_entry(e);
            continue;
        }
        if (g.holder >= 1 && g.holder <= PLAYER_COUNT) {
            const PlayerRecord& h = player_table[g.holder - 1];
            if (h.x == 0 || h.hotel_days || h.away_days || h.jail_days || h.hospital_days) continue;
            if (!view_in_window(h.x, h.y)) continue;
            const bool bomb = g.kind == GK_TIME_BOMB;
            const int d = dir8(h.facing - rotation());
            ViewDrawEntry e =
                entry_at(h.x, h.y, VS_GOD, bomb ? GOD_SPRITE_CARRIED_BOMB : g.kind - 1,
                         OBJ_OCCUPANTS | (s << 8), 255, dir8(d + 4), LAYER_GROUND);
            const int8_t* off = bomb ? BOMB_OFFSET[d] : HELD_OFFSET[d];
            e.x = static_cast<int16_t>(e.x + off[0]);
            e.y = static_cast<int16_t>(e.y + off[1]);
            if (bomb) {
                e.flags |= VDE_BOMB_COUNT;
                e.counter = g.days;
            }
            add_entry(e);
            continue;
        }
        if (!square_ok(g.square)) continue;
        const MapSquare& sq = map_square_table[g.square];
        if (!view_in_window(sq.x, sq.y)) continue;
        ViewDrawEntry e = entry_at(sq.x, sq.y, VS_GOD, g.kind - 1, OBJ_OCCUPANTS | (s << 8), 255,
                                   dir8(g.facing - rotation()), LAYER_GROUND);
        if (g.kind == GK_TIME_BOMB) {
            e.flags |= VDE_BOMB_COUNT;
            e.counter = g.days;
        }
        add_entry(e);
    }
}

// An owned property without buildings shows its owner's flag; one with a
// mark shows its ground shape in the mark's colour under it.
void list_property_marks(int wx, int wy, int code, int owner, int facing, int mark, bool facility) {
    if (mark != 0) {
        ViewDrawEntry e =
            entry_at(wx, wy, VS_MARK_SHAPE, 0, code, 255,
                     (facing & 1) + (facility ? BASE_SHAPE_FACILITY : 0), LAYER_GROUND);
        if (mark & 1) e.flags |= VDE_SEIZED;
        add_entry(e);
    }
    if (owner != 0)
        add_entry(
            entry_at(wx, wy, VS_OWNER_MARK, 0, code, 255, owner_character(owner), LAYER_GROUND));
}

void list_lots() {
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& l = map_lot_table[i];
        if (!view_in_window(l.x, l.y)) continue;
        const int code = OBJ_LOT_BASE + i;
        const int dir = dir8(-rotation() - l.facing);
        if (l.level > 0) {
            if (l.mark != 0) list_property_marks(l.x, l.y, code, 0, l.facing, l.mark, false);
            const int group =
                l.chain_store ? VIEW_CHAIN_STORE_GROUP : std::min<int>(l.level, 5) - 1;
            add_entry(entry_at(l.x, l.y, VS_BUILDING, VIEW_SET_HOUSES, code, l.owner,
                               group * VIEW_DIRECTIONS + dir, LAYER_GROUND));
        } else {
            list_property_marks(l.x, l.y, code, l.owner, l.facing, l.mark, false);
        }
    }
}

void list_facilities() {
    for (int i = 1; i <= map_facility_count; ++i) {
        const FacilityLot& f = map_facility_table[i];
        if (!view_in_window(f.x, f.y)) continue;
        const int code = OBJ_FACILITY_BASE + i;
        const int dir = dir8(-rotation() - f.facing);
        if (f.level > 0) {
            if (f.mark != 0) list_property_marks(f.x, f.y, code, 0, f.facing, f.mark, true);
            int set = VIEW_SET_SMALL, group = VIEW_PARK_GROUP;
            const int lv = std::min<int>(f.level, 5) - 1;
            switch (f.kind) {
            case FK_HOTEL:
                set = VIEW_SET_HOTEL, group = lv;
                break;
            case FK_SHOPPING_CENTRE:
                set = VIEW_SET_SHOPPING, group = lv;
                break;
            case FK_RESEARCH_INSTITUTE:
                set = VIEW_SET_RESEARCH, group = lv;
                break;
            case FK_PETROL_STATION:
                group = VIEW_PETROL_GROUP;
                break;
            default:
                break;
            }
            add_entry(entry_at(f.x, f.y, VS_BUILDING, set, code, f.owner,
                               group * VIEW_DIRECTIONS + dir, LAYER_GROUND));
        } else {
            list_property_marks(f.x, f.y, code, f.owner, f.facing, f.mark, true);
        }
    }
}

void list_places() {
    for (int i = 1; i <= map_company_count; ++i) {
        const CompanyBuilding& c = map_company_table[i];
        if (c.sprite == 0 || !view_in_window(c.x, c.y)) continue;
        add_entry(entry_at(c.x, c.y, VS_COMPANY, i, OBJ_COMPANY_BASE + i, c.chairman,
                           dir8(-rotation() - c.facing), LAYER_GROUND));
    }
    for (int i = 1; i <= map_decoration_count; ++i) {
        const Decoration& d = map_decoration_table[i];
        if (d.sprite == 0 || !view_in_window(d.x, d.y)) continue;
        add_entry(entry_at(d.x, d.y, VS_DECORATION, i, OBJ_DECORATION_BASE + i, 255,
                           dir8(-rotation() - d.facing), LAYER_GROUND));
    }
}

// The draw list is made when something reads it: with no back surface to
// paint, the camera may move many times between two reads.
bool draw_list_stale = false;

void build_draw_list() {
    draw_list_stale = false;
    view_draw_count = 0;
    // The standing things first: should the list fill up, the movers and
    // gods of a crowded window are what a player looks for.
    list_players();
    list_walkers();
    list_gods();
    list_lots();
    list_facilities();
    list_places();
    for (int i = 0; i < view_draw_count; ++i) {
        const ViewDrawEntry& e = view_draw_list[i];
        const uint16_t low =
            (e.flags & VDE_FLYING) ? FLYING_SORT_KEY : static_cast<uint16_t>(e.y * 16 + e.layer);
        view_sort_keys[i] = (static_cast<uint32_t>(i) << 16) | low;
    }
    std::stable_sort(view_sort_keys, view_sort_keys + view_draw_count,
                     [](uint32_t a, uint32_t b) { return view_draw_list_compare(a, b) < 0; });
}

// The tints a draw would apply, in the order the list would apply them: a
// tint is part of the movers' state, so it comes with every draw, read or not.
void tint_listed_movers() {
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const PlayerRecord& r = player_table[p];
        if (r.x == 0 || player_hidden_by_status(r) || !view_in_window(r.x, r.y)) continue;
        tint_if_hibernating(p, r.hibernation_days != 0);
    }
    for (int m = MOVER_THIEF; m <= MOVER_ROBOT_DOLL; ++m) {
        const WalkerRecord& w = walker_of_mover(m);
        if (w.place != WALKER_FREE || w.x == 0 || !view_in_window(w.x, w.y)) continue;
        tint_if_hibernating(m, w.hibernation_days != 0);
    }
}

bool free_square(const MapSquare& sq) {
    return (sq.flags & (SQF_PLAYERS_MASK | SQF_WALKERS_MASK | SQF_GOD_MASK)) == 0;
}

// The listing routines mark codes at anchor points of the view: occupant
// codes of one point add up, any other code replaces what was there. The
// marks are kept as a list (a list costs what its window holds, not the
// whole map); with a display they also go into the hit map as they always
// did, which the next hit-map read builds afresh.
struct AnchorMark {
    uint32_t cell; // y x VIEW_HITMAP_SIDE + x
    uint16_t code;
};
std::vector<AnchorMark> anchor_marks;

void marks_begin() {
    anchor_marks.clear();
    if (view_paint_possible()) hitmap_clear();
}

void mark_anchor(int sx, int sy, uint16_t code) {
    if (sx < 0 || sx >= VIEW_HITMAP_SIDE || sy < VIEW_TOP || sy >= VIEW_TOP + VIEW_HITMAP_SIDE)
        return;
    const uint32_t at = static_cast<uint32_t>((sy - VIEW_TOP) * VIEW_HITMAP_SIDE + sx);
    anchor_marks.push_back({at, code});
    if (!view_paint_possible()) return;
    uint16_t& cell = hitmap()[at];
    if ((cell & OBJ_OCCUPANTS) && (code & OBJ_OCCUPANTS))
        cell = static_cast<uint16_t>(cell | code);
    else
        cell = code;
}

// Collects the non-zero codes the marks left in a square window of the map,
// row by row, into the pick list from its ninth entry; stops when the list is
// full.
int collect_window(int cx, int cy, int radius) {
    int x0 = 0, y0 = 0, x1 = VIEW_HITMAP_SIDE, y1 = VIEW_HITMAP_SIDE;
    if (radius >= 0) {
        x0 = std::max(0, cx - radius), x1 = std::min(VIEW_HITMAP_SIDE, cx + radius);
        y0 = std::max(0, cy - radius), y1 = std::min(VIEW_HITMAP_SIDE, cy + radius);
    }
    // Row-major order of the cells; marks of one cell stay in marking order.
    std::stable_sort(anchor_marks.begin(), anchor_marks.end(),
                     [](const AnchorMark& a, const AnchorMark& b) { return a.cell < b.cell; });
    int n = 0;
    for (size_t i = 0; i < anchor_marks.size();) {
        const uint32_t at = anchor_marks[i].cell;
        uint16_t c = 0;
        for (; i < anchor_marks.size() && anchor_marks[i].cell == at; ++i) {
            const uint16_t code = anchor_marks[i].code;
            c = (c & OBJ_OCCUPANTS) && (code & OBJ_OCCUPANTS) ? static_cast<uint16_t>(c | code)
                                                              : code;
        }
        const int x = static_cast<int>(at % VIEW_HITMAP_SIDE),
                  y = static_cast<int>(at / VIEW_HITMAP_SIDE);
        if (c == 0 || x < x0 || x >= x1 || y < y0 || y >= y1) continue;
        if (PICK_FIRST + n >= VIEW_PICK_LIST_SIZE) return n;
        view_pick_list[PICK_FIRST + n++] = c;
    }
    return n;
}

} // namespace

int view_draw_list_compare(uint32_t a, uint32_t b) {
    const int16_t ka = static_cast<int16_t>(a & 0xFFFF), kb = static_cast<int16_t>(b & 0xFFFF);
    return ka < kb ? -1 : (ka > kb ? 1 : 0);
}

void map_view_offset(int x, int y, int* ox, int* oy) {
    const int8_t* m = ROTATION_MATRIX[rotation()];
    const int fx = ((x % VIEW_CELL) + VIEW_CELL) % VIEW_CELL;
    const int fy = ((y % VIEW_CELL) + VIEW_CELL) % VIEW_CELL;
    *ox = m[0] * fx / VIEW_CELL + m[2] * fy / VIEW_CELL;
    *oy = m[1] * fx / VIEW_CELL + m[3] * fy / VIEW_CELL;
}

const int16_t (*view_corner_table(int r))[VIEW_GRID][2] {
    return tables().corners[r & 7];
}

const int8_t* view_draw_order(int r) {
    return tables().order[r & 7];
}

bool view_in_window(int x, int y) {
    const int dx = floor_div(x, VIEW_CELL) - floor_div(view_camera_x, VIEW_CELL);
    const int dy = floor_div(y, VIEW_CELL) - floor_div(view_camera_y, VIEW_CELL);
    return dx >= -VIEW_REACH && dx <= VIEW_REACH && dy >= -VIEW_REACH && dy <= VIEW_REACH;
}

bool view_point_to_screen(int x, int y, int* sx, int* sy) {
    *sx = 0, *sy = 0;
    if (!view_in_window(x, y)) return false;
    const int dx = floor_div(x, VIEW_CELL) - floor_div(view_camera_x, VIEW_CELL);
    const int dy = floor_div(y, VIEW_CELL) - floor_div(view_camera_y, VIEW_CELL);
    const int16_t* c = view_corner_table(rotation())[dy + VIEW_REACH][dx + VIEW_REACH];
    int cox, coy, pox, poy;
    map_view_offset(view_camera_x, view_camera_y, &cox, &coy);
    map_view_offset(x, y, &pox, &poy);
    *sx = c[1] + cox - pox + VIEW_CENTRE_X;
    *sy = c[0] + coy - poy + VIEW_CENTRE_Y;
    return true;
}

void view_draw_list_ready() {
    if (draw_list_stale) build_draw_list();
}

bool view_object_screen_pos(int code, int* x, int* y, int* frame) {
    view_draw_list_ready();
    for (int i = 0; i < view_draw_count; ++i) {
        const ViewDrawEntry& e = view_draw_list[i];
        if (code == 0 || e.code != code) continue;
        if (x) *x = e.x;
        if (y) *y = e.y;
        if (frame) *frame = e.frame;
        return true;
    }
    if (x) *x = 0;
    if (y) *y = 0;
    if (frame) *frame = 0;
    return false;
}

void view_draw_board(int x, int y) {
    if (x != -1) {
        view_camera_x = x;
        view_camera_y = y;
    }
    if (view_paint_possible()) {
        build_draw_list();
        view_paint();
        return;
    }
    tint_listed_movers();
    draw_list_stale = true;
}

namespace {
// A film over the board leaves the hit-test map to be built afresh.
const bool FILM_REBUILDS_HITMAP = (
    flc_board_after = [] { view_hitmap_build(1); }, true);
} // namespace

void view_hitmap_build(int force) {
    if (!force && hitmap_view_pos[0] == view_camera_x && hitmap_view_pos[1] == view_camera_y)
        return;
    view_draw_list_ready();
    hitmap_clear();
    uint16_t* map = hitmap();
    for (int s = 1; s <= map_square_count; ++s) {
        const MapSquare& sq = map_square_table[s];
        if (sq.marker == 0 || !free_square(sq)) continue;
        int sx, sy;
        if (!view_point_to_screen(sq.x, sq.y, &sx, &sy)) continue;
        view_stamp(map, view_map_set(MAPGFX_MARKERS), sq.marker, sx, sy, static_cast<uint16_t>(s));
    }
    for (int i = 0; i < view_draw_count; ++i) {
        const ViewDrawEntry& e = view_draw_list[view_sort_keys[i] >> 16];
        if (e.code <= OBJ_LOT_BASE || e.code >= OBJ_DECORATION_BASE) continue;
        int facing = 0;
        const int base = e.code > OBJ_FACILITY_BASE ? BASE_SHAPE_FACILITY : 0;
        if (e.code < OBJ_FACILITY_BASE && map_lot_table && e.code - OBJ_LOT_BASE <= map_lot_count)
            facing = map_lot_table[e.code - OBJ_LOT_BASE].facing;
        else if (e.code > OBJ_FACILITY_BASE && e.code < OBJ_COMPANY_BASE && map_facility_table &&
                 e.code - OBJ_FACILITY_BASE <= map_facility_count)
            facing = map_facility_table[e.code - OBJ_FACILITY_BASE].facing;
        else if (e.code > OBJ_COMPANY_BASE && map_company_table &&
                 e.code - OBJ_COMPANY_BASE <= map_company_count)
            facing = map_company_table[e.code - OBJ_COMPANY_BASE].facing;
        view_stamp(map, view_map_set(MAPGFX_BASE_SHAPES), base + (facing & 1), e.x, e.y, e.code);
    }
    for (int i = 0; i < view_draw_count; ++i) {
        const ViewDrawEntry& e = view_draw_list[view_sort_keys[i] >> 16];
        if (e.code == 0) continue;
        view_stamp(map, view_entry_set(e), e.frame, e.x, e.y, e.code);
    }
    hitmap_view_pos[0] = view_camera_x;
    hitmap_view_pos[1] = view_camera_y;
}

int view_hitmap_at(int x, int y) {
    if (x < 0 || x >= VIEW_HITMAP_SIDE || y < 0 || y >= VIEW_HITMAP_SIDE) return 0;
    view_hitmap_build(0);
    return hitmap()[y * VIEW_HITMAP_SIDE + x];
}

void view_hitmap_mark_list() {
    view_draw_list_ready();
    marks_begin();
    for (int i = 0; i < view_draw_count; ++i) {
        const ViewDrawEntry& e = view_draw_list[i];
        if (e.code == 0 || (e.flags & VDE_FLYING)) continue;
        mark_anchor(e.x, e.y, e.code);
    }
    hitmap_view_pos[0] = hitmap_view_pos[1] = -1;
}

int view_list_free_squares() {
    marks_begin();
    for (int s = 1; s <= map_square_count; ++s) {
        const MapSquare& sq = map_square_table[s];
        if (!free_square(sq)) continue;
        int sx, sy;
        if (!view_point_to_screen(sq.x, sq.y, &sx, &sy)) continue;
        mark_anchor(sx, sy, static_cast<uint16_t>(s));
    }
    const int n = collect_window(0, 0, -1);
    // The hit map is left built for the view as it stands; with no display
    // nothing reads it before its next build.
    if (view_paint_possible())
        view_hitmap_build(1);
    else
        hitmap_view_pos[0] = hitmap_view_pos[1] = -1;
    return n;
}

int view_list_owned_near(int x, int y, int radius) {
    view_draw_board(x, y);
    marks_begin();
    const int p = game_active_mover;
    int sx, sy;
    if (p >= 0 && p < PLAYER_COUNT) {
        const PlayerRecord& r = player_table[p];
        if (r.x != 0 && !player_hidden_by_status(r) && view_point_to_screen(r.x, r.y, &sx, &sy))
            mark_anchor(sx, sy, static_cast<uint16_t>(OBJ_OCCUPANTS | (1 << p)));
    }
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& l = map_lot_table[i];
        if (l.owner && view_point_to_screen(l.x, l.y, &sx, &sy))
            mark_anchor(sx, sy, static_cast<uint16_t>(OBJ_LOT_BASE + i));
    }
    for (int i = 1; i <= map_facility_count; ++i) {
        const FacilityLot& f = map_facility_table[i];
        if (f.owner && view_point_to_screen(f.x, f.y, &sx, &sy))
            mark_anchor(sx, sy, static_cast<uint16_t>(OBJ_FACILITY_BASE + i));
    }
    hitmap_view_pos[0] = hitmap_view_pos[1] = -1;
    return collect_window(VIEW_CENTRE_X, VIEW_CENTRE_Y - VIEW_TOP, radius);
}

int view_hitmap_list_radius(int radius) {
    view_hitmap_mark_list();
    return collect_window(VIEW_CENTRE_X, VIEW_CENTRE_Y - VIEW_TOP, radius);
}

void view_play_animation() {
    view_draw_board(-1, 0);
    flc_play_entry_speed(CELEBRATION_FILM, 0, VIEW_TOP, 0, 90);
}

void view_reset_state() {
    view_camera_x = view_camera_y = 0;
    view_draw_count = 0;
    draw_list_stale = false;
    hitmap_view_pos[0] = hitmap_view_pos[1] = -1;
}

WORLD_RESET(WORLD_RESET_VIEW, view_reset_state)
