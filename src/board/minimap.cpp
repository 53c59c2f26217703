// The minimap: the side panel's small one and the full-screen large one,
// both the map's minimap picture with ownership marks in the owners' colours.
#include <cstdlib>
#include <cstring>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/toolbar.h"
#include "board/view.h"
#include "board/view_draw.h"
#include "engine/cursor.h"
#include "engine/image.h"
#include "engine/modal.h"
#include "engine/shown.h"
#include "engine/surfaces.h"
#include "platform/queue.h"
#include "platform/surface.h"

namespace {

// Marks of data.mkf 476: small plot, small facility or company, large plot,
// large facility or company; + 1 for an odd facing.
constexpr int MARK_SMALL_PLOT = 22;
constexpr int MARK_SMALL_PLACE = 24;
constexpr int MARK_LARGE_PLOT = 26;
constexpr int MARK_LARGE_PLACE = 28;
constexpr int TOKEN_FRAME = 5; // of a portrait set
constexpr int LARGE_X = 20, LARGE_Y = 60, LARGE_SIDE = 400;

// A frame of a set as a drawing target.
struct Canvas {
    uint16_t* pixels = nullptr;
    int width = 0, height = 0;
};

Canvas frame_canvas(void* set, int frame) {
    const ImageRecord* fr = set ? spr_frame(set, frame) : nullptr;
    if (!fr || spr_palette(set)) return {};
    return {fr->pixels, fr->width, fr->height};
}

void draw_mark(const Canvas& c, void* marks, int frame, int x, int y, uint32_t colour) {
    view_blit_frame(c.pixels, c.width, marks, frame, x, y, 0, 0, c.width, c.height,
                    gfx_rgb_to_pixel(colour));
}

uint32_t owner_colour(int owner) {
    return (owner >= 1 && owner <= PLAYER_COUNT) ? player_table[owner - 1].colour : 0;
}

} // namespace

void view_minimap_point(int large, int x, int y, int* mx, int* my) {
    const int shift = large ? 9 : 10;
    *mx = (x * 89) >> shift;
    *my = (y * 89) >> shift;
}

void view_draw_minimap_marks(int large) {
    large = large ? 1 : 0;
    const Canvas work = frame_canvas(view_minimap_work(), large);
    const Canvas clean = frame_canvas(view_minimap_clean(), large);
    if (!work.pixels || !clean.pixels || work.width != clean.width || work.height != clean.height)
        return;
    std::memcpy(work.pixels, clean.pixels, sizeof(uint16_t) * work.width * work.height);
    void* marks = view_board_marks();
    if (!marks) return;
    const int plot = large ? MARK_LARGE_PLOT : MARK_SMALL_PLOT;
    const int place = large ? MARK_LARGE_PLACE : MARK_SMALL_PLACE;
    int mx, my;
    for (int i = 1; i <= map_lot_count; ++i) {
        const LandLot& l = map_lot_table[i];
        if (!l.owner) continue;
        view_minimap_point(large, l.x, l.y, &mx, &my);
        draw_mark(work, marks, plot + (l.facing & 1), mx, my, owner_colour(l.owner));
    }
    for (int i = 1; i <= map_facility_count; ++i) {
        const FacilityLot& f = map_facility_table[i];
        if (!f.owner) continue;
        view_minimap_point(large, f.x, f.y, &mx, &my);
        draw_mark(work, marks, place + (f.facing & 1), mx, my, owner_colour(f.owner));
    }
    for (int i = 1; i <= map_company_count; ++i) {
        const CompanyBuilding& c = map_company_table[i];
        if (!c.chairman) continue;
        view_minimap_point(large, c.x, c.y, &mx, &my);
        draw_mark(work, marks, place + (c.facing & 1), mx, my, owner_colour(c.chairman));
    }
}

namespace {

void paint_large() {
    if (!back_surface) return;
    int32_t pitch = 0;
    uint16_t* px = plat_surface_lock(back_surface, &pitch);
    if (!px) return;
    const int pp = pitch / 2;
    const int w = back_surface->width, h = back_surface->height;
    view_blit_frame(px, pp, view_minimap_work(), 1, LARGE_X, LARGE_Y, 0, 0, w, h);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const PlayerRecord& r = player_table[p];
        if (r.x == 0) continue;
        view_blit_frame(px, pp, view_portrait_set(p), TOKEN_FRAME, ((r.x * 11392) >> 16) + LARGE_X,
                        ((r.y * 11392) >> 16) + LARGE_Y, 0, 0, w, h);
    }
    plat_surface_unlock(back_surface);
    if (primary_surface) {
        PlatRect rect{LARGE_X, LARGE_Y, LARGE_X + LARGE_SIDE, LARGE_Y + LARGE_SIDE};
        plat_blt_fast(primary_surface, LARGE_X, LARGE_Y, back_surface, &rect);
    }
}

} // namespace

int32_t view_minimap_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    switch (message) {
    case WM_SCREEN_START:
        view_draw_minimap_marks(1);
        plat_invalidate_rect(nullptr);
        return 0;
    case WM_PAINT:
        paint_large();
        return 0;
    case WM_RBUTTONUP:
        screen_close(0);
        return 0;
    default:
        return plat_def_window_proc(window, message, wparam, lparam);
    }
}

void view_minimap_screen() {
    shown_record(Shown::Panel, 5, 0, "minimap");
    if (!back_surface) return;
    const int cursor = cursor_show_for_clicks(); // the right button closes it
    screen_run(view_minimap_wndproc, 0);
    cursor_give_back(cursor);
    board_view_refresh(0, 0, 1);
}

TOOLBAR_COMMAND(
    TOOLBAR_MAP,
    [] {
        view_minimap_screen();
        return true;
    },
    HK_MAP)
