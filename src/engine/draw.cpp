#include "engine/draw.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/cursor.h"
#include "engine/layout.h"
#include "engine/shown.h"
#include "engine/surfaces.h"
#include "engine/wait.h"

uint16_t* back_pixels = nullptr;
uint16_t* view_hitmap = nullptr;
ImageRecord back_image{SCREEN_W, SCREEN_H, 0, 0, nullptr};
ImageRecord primary_image{SCREEN_W, SCREEN_H, 0, 0, nullptr};
PlatRect gfx_clip_rect = LAYOUT_BOARD_AREA;
uint16_t gfx_map_palette[256] = {};

namespace {

int back_locks = 0;

// The pressed button: its rectangle and the right column and bottom row the
// move overwrote.
struct PressArea {
    bool held = false;
    PlatRect rect;
    uint16_t saved[PRESS_SAVE_PIXELS];
};
PressArea press;

// A rectangle of the target to write and where its pixels come from.
struct Span {
    int dx, dy; // target top-left
    int sx, sy; // source top-left
    int w, h;
};

// Cuts a span to the bounds [l, r) x [t, b) of the target, shifting the
// source start by what is cut on the left and top.
bool cut(Span& s, int l, int t, int r, int b) {
    if (s.dx < l) {
        s.sx += l - s.dx;
        s.w -= l - s.dx;
        s.dx = l;
    }
    if (s.dy < t) {
        s.sy += t - s.dy;
        s.h -= t - s.dy;
        s.dy = t;
    }
    if (s.dx + s.w > r) s.w = r - s.dx;
    if (s.dy + s.h > b) s.h = b - s.dy;
    return s.w > 0 && s.h > 0;
}

// The bounds for a target of tw x th, with the clip rectangle when asked.
void bounds(int tw, int th, bool use_clip, int* l, int* t, int* r, int* b) {
    *l = 0, *t = 0, *r = tw, *b = th;
    if (use_clip) {
        *l = std::max(*l, static_cast<int>(gfx_clip_rect.left));
        *t = std::max(*t, static_cast<int>(gfx_clip_rect.top));
        *r = std::min(*r, static_cast<int>(gfx_clip_rect.right));
        *b = std::min(*b, static_cast<int>(gfx_clip_rect.bottom));
    }
}

PlatRect cut_to_screen(const PlatRect& rect) {
    PlatRect r;
    r.left = std::clamp<int32_t>(rect.left, 0, SCREEN_W);
    r.top = std::clamp<int32_t>(rect.top, 0, SCREEN_H);
    r.right = std::clamp<int32_t>(rect.right, r.left, SCREEN_W);
    r.bottom = std::clamp<int32_t>(rect.bottom, r.top, SCREEN_H);
    return r;
}

// A frame of an "SPR" set and its palette, or false.
bool spr_frame_and_palette(const void* set, int n, const ImageRecord** frame,
                           const uint16_t** palette) {
    if (!set) return false;
    *frame = spr_frame(set, n);
    *palette = spr_palette(const_cast<void*>(set));
    return *frame && (*frame)->pixels && *palette;
}

void spr_core(uint16_t* back, const void* set, int n, int x, int y, bool key, bool use_clip) {
    const ImageRecord* f = nullptr;
    const uint16_t* pal = nullptr;
    if (!back || !spr_frame_and_palette(set, n, &f, &pal)) return;
    Span s{x - f->hot_x, y - f->hot_y, 0, 0, f->width, f->height};
    int l, t, r, b;
    bounds(SCREEN_W, SCREEN_H, use_clip, &l, &t, &r, &b);
    if (!cut(s, l, t, r, b)) return;
    const uint8_t* src = reinterpret_cast<const uint8_t*>(f->pixels);
    for (int row = 0; row < s.h; ++row) {
        const uint8_t* sp = src + static_cast<size_t>(s.sy + row) * f->width + s.sx;
        uint16_t* dp = back + static_cast<size_t>(s.dy + row) * SCREEN_W + s.dx;
        if (key) {
            for (int i = 0; i < s.w; ++i)
                if (sp[i]) dp[i] = pal[sp[i]];
        } else {
            for (int i = 0; i < s.w; ++i)
                dp[i] = pal[sp[i]];
        }
    }
}

// The mark colours of spr_mask_tint: red and blue in each format.
constexpr uint16_t MARK_COLOURS[PIXEL_FORMAT_COUNT][2] = {
    {0x7C00, 0x003F}, {0xF800, 0x003F}, {0x003F, 0xF800}, {0x0F00, 0x000F}};

// The brightness steps of the board flash.
constexpr int FLASH_STEPS[16] = {4, 8, 12, 16, 12, 8, 4, 0, -4, -8, -12, -16, -12, -8, -4, 0};

} // namespace

void gfx_set_clip(int left, int top, int right, int bottom) {
    gfx_clip_rect = cut_to_screen(PlatRect{left, top, right, bottom});
}

void gfx_reset() {
    gfx_clip_rect = LAYOUT_BOARD_AREA;
    back_locks = 0;
    back_pixels = nullptr;
    back_image.pixels = nullptr;
    primary_image.pixels = nullptr;
    press.held = false;
}

bool gfx_display_open() {
    return back_surface != nullptr;
}

uint16_t* gfx_lock_back() {
    if (!back_surface) return nullptr;
    int32_t pitch = 0;
    back_pixels = plat_surface_lock(back_surface, &pitch);
    back_image.pixels = back_pixels;
    ++back_locks;
    return back_pixels;
}

void gfx_unlock_back() {
    if (back_locks == 0) return;
    if (back_surface) plat_surface_unlock(back_surface);
    if (--back_locks == 0) {
        back_pixels = nullptr;
        back_image.pixels = nullptr;
    }
}

void gfx_copy_to_display(const PlatRect& rect) {
    if (!back_surface || !primary_surface) return;
    PlatRect r = cut_to_screen(rect);
    if (r.right <= r.left || r.bottom <= r.top) return;
    plat_blt_fast(primary_surface, r.left, r.top, back_surface, &r);
}

void gfx_screen_update(const PlatRect& rect) {
    while (back_locks > 0)
        gfx_unlock_back();
    if (!back_surface || !primary_surface) return;
    PlatRect r = cut_to_screen(rect);
    if (r.right <= r.left || r.bottom <= r.top) return;
    cursor_hide(&r);
    plat_blt_fast(primary_surface, r.left, r.top, back_surface, &r);
    cursor_show(&r);
}

// --- Cores --------------------------------------------------------------------

void blit_image_core(int target_w, int target_h, uint16_t* target, const ImageRecord* image, int x,
                     int y, int flags) {
    if (!image) return;
    blit_part_core(target_w, target_h, target, image, x, y, 0, 0, image->width, image->height,
                   flags);
}

void blit_part_core(int target_pitch, int target_h, uint16_t* target, const ImageRecord* image,
                    int x, int y, int sx, int sy, int w, int h, int flags) {
    if (!target || !image || !image->pixels || target_pitch <= 0 || target_h <= 0) return;
    Span s{x - image->hot_x, y - image->hot_y, sx, sy, w, h};
    // A part reaching outside its source is cut to the source first, moving
    // the place it lands with it.
    if (s.sx < 0) s.dx -= s.sx, s.w += s.sx, s.sx = 0;
    if (s.sy < 0) s.dy -= s.sy, s.h += s.sy, s.sy = 0;
    s.w = std::min(s.w, image->width - s.sx);
    s.h = std::min(s.h, image->height - s.sy);
    if (s.w <= 0 || s.h <= 0) return;
    int l, t, r, b;
    bounds(target_pitch, target_h, flags & BLIT_CLIP, &l, &t, &r, &b);
    if (!cut(s, l, t, r, b)) return;
    // A frame of an "SPR" set holds one byte a pixel: drawn through its palette.
    if (const uint16_t* pal = spr_record_palette(image)) {
        const uint8_t* src = reinterpret_cast<const uint8_t*>(image->pixels);
        for (int row = 0; row < s.h; ++row) {
            const uint8_t* sp = src + static_cast<size_t>(s.sy + row) * image->width + s.sx;
            uint16_t* dp = target + static_cast<size_t>(s.dy + row) * target_pitch + s.dx;
            for (int i = 0; i < s.w; ++i)
                if (sp[i] || !(flags & BLIT_KEY)) dp[i] = pal[sp[i]];
        }
        return;
    }
    for (int row = 0; row < s.h; ++row) {
        const uint16_t* sp = image->pixels + static_cast<size_t>(s.sy + row) * image->width + s.sx;
        uint16_t* dp = target + static_cast<size_t>(s.dy + row) * target_pitch + s.dx;
        if (flags & BLIT_KEY) {
            for (int i = 0; i < s.w; ++i)
                if (sp[i]) dp[i] = sp[i];
        } else {
            blit_copy_words_dst(dp, sp, s.w);
        }
    }
}

// --- Into an image ------------------------------------------------------------

namespace {
void to_image(ImageRecord* target, const ImageRecord* image, int x, int y, int sx, int sy, int w,
              int h, int flags) {
    if (!target) return;
    blit_part_core(target->width, target->height, target->pixels, image, x, y, sx, sy, w, h, flags);
}
} // namespace

void blit_to_image(ImageRecord* target, const ImageRecord* image, int x, int y) {
    if (target) blit_image_core(target->width, target->height, target->pixels, image, x, y, 0);
}
void blit_key_to_image(ImageRecord* target, const ImageRecord* image, int x, int y) {
    if (target)
        blit_image_core(target->width, target->height, target->pixels, image, x, y, BLIT_KEY);
}
void blit_part_to_image(ImageRecord* target, const ImageRecord* image, int x, int y, int sx, int sy,
                        int w, int h) {
    to_image(target, image, x, y, sx, sy, w, h, 0);
}
void blit_part_to_image_clip(ImageRecord* target, const ImageRecord* image, int x, int y, int sx,
                             int sy, int w, int h) {
    to_image(target, image, x, y, sx, sy, w, h, BLIT_CLIP);
}
void blit_part_key_to_image(ImageRecord* target, const ImageRecord* image, int x, int y, int sx,
                            int sy, int w, int h) {
    to_image(target, image, x, y, sx, sy, w, h, BLIT_KEY);
}
void blit_part_key_to_image_clip(ImageRecord* target, const ImageRecord* image, int x, int y,
                                 int sx, int sy, int w, int h) {
    to_image(target, image, x, y, sx, sy, w, h, BLIT_KEY | BLIT_CLIP);
}

// --- Into the back buffer -----------------------------------------------------

void blit_opaque(uint16_t* back, const ImageRecord* image, int x, int y) {
    blit_image_core(SCREEN_W, SCREEN_H, back, image, x, y, 0);
}
void blit_key(uint16_t* back, const ImageRecord* image, int x, int y) {
    blit_image_core(SCREEN_W, SCREEN_H, back, image, x, y, BLIT_KEY);
}
void blit_key_clip(uint16_t* back, const ImageRecord* image, int x, int y) {
    blit_image_core(SCREEN_W, SCREEN_H, back, image, x, y, BLIT_KEY | BLIT_CLIP);
}
void blit_part(uint16_t* back, const ImageRecord* image, int x, int y, int sx, int sy, int w,
               int h) {
    blit_part_core(SCREEN_W, SCREEN_H, back, image, x, y, sx, sy, w, h, 0);
}
void blit_part_clip(uint16_t* back, const ImageRecord* image, int x, int y, int sx, int sy, int w,
                    int h) {
    blit_part_core(SCREEN_W, SCREEN_H, back, image, x, y, sx, sy, w, h, BLIT_CLIP);
}
void blit_part_key(uint16_t* back, const ImageRecord* image, int x, int y, int sx, int sy, int w,
                   int h) {
    blit_part_core(SCREEN_W, SCREEN_H, back, image, x, y, sx, sy, w, h, BLIT_KEY);
}
void blit_part_key_clip(uint16_t* back, const ImageRecord* image, int x, int y, int sx, int sy,
                        int w, int h) {
    blit_part_core(SCREEN_W, SCREEN_H, back, image, x, y, sx, sy, w, h, BLIT_KEY | BLIT_CLIP);
}

// --- "SPR" frames ---------------------------------------------------------------

void spr_draw(uint16_t* back, const void* set, int n, int x, int y) {
    spr_core(back, set, n, x, y, false, false);
}
void spr_draw_key(uint16_t* back, const void* set, int n, int x, int y) {
    spr_core(back, set, n, x, y, true, false);
}
void spr_draw_key_clip(uint16_t* back, const void* set, int n, int x, int y) {
    spr_core(back, set, n, x, y, true, true);
}

void spr_draw_scaled(uint16_t* back, const void* set, int n, int x, int y, uint32_t scale) {
    const ImageRecord* f = nullptr;
    const uint16_t* pal = nullptr;
    if (!back || scale == 0 || !spr_frame_and_palette(set, n, &f, &pal)) return;
    // Output pixel o takes source o x 65536 / scale; the last one still
    // inside the source ends the row.
    int64_t out_w = (static_cast<int64_t>(f->width) * scale + 0xFFFF) >> 16;
    int64_t out_h = (static_cast<int64_t>(f->height) * scale + 0xFFFF) >> 16;
    int64_t left = static_cast<int64_t>(x) - f->hot_x, top = static_cast<int64_t>(y) - f->hot_y;
    int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(left + out_w, SCREEN_W);
    int64_t y0 = std::max<int64_t>(top, 0), y1 = std::min<int64_t>(top + out_h, SCREEN_H);
    const uint8_t* src = reinterpret_cast<const uint8_t*>(f->pixels);
    for (int64_t py = y0; py < y1; ++py) {
        int64_t sy = ((py - top) << 16) / scale;
        if (sy >= f->height) break;
        const uint8_t* sp = src + static_cast<size_t>(sy) * f->width;
        uint16_t* dp = back + static_cast<size_t>(py) * SCREEN_W;
        for (int64_t px = x0; px < x1; ++px) {
            int64_t sx = ((px - left) << 16) / scale;
            if (sx >= f->width) break;
            if (sp[sx]) dp[px] = pal[sp[sx]];
        }
    }
}

void blit_silhouette(ImageRecord* target, const ImageRecord* image, int x, int y, uint32_t rgb) {
    if (!target || !target->pixels || !image || !image->pixels) return;
    Span s{x - image->hot_x, y - image->hot_y, 0, 0, image->width, image->height};
    if (!cut(s, 0, 0, target->width, target->height)) return;
    uint16_t colour = gfx_rgb_to_pixel(rgb);
    const bool indexed = spr_record_palette(image) != nullptr;
    for (int row = 0; row < s.h; ++row) {
        const size_t at = static_cast<size_t>(s.sy + row) * image->width + s.sx;
        uint16_t* dp = target->pixels + static_cast<size_t>(s.dy + row) * target->width + s.dx;
        if (indexed) {
            const uint8_t* sp = reinterpret_cast<const uint8_t*>(image->pixels) + at;
            for (int i = 0; i < s.w; ++i)
                if (sp[i]) dp[i] = colour;
        } else {
            const uint16_t* sp = image->pixels + at;
            for (int i = 0; i < s.w; ++i)
                if (sp[i]) dp[i] = colour;
        }
    }
}

void spr_mask_to_board(uint16_t* board_map, const ImageRecord* frame, int x, int y,
                       uint16_t value) {
    if (!board_map || !frame || !frame->pixels) return;
    Span s{x - frame->hot_x, y - frame->hot_y, 0, 0, frame->width, frame->height};
    if (!cut(s, 0, 0, VIEW_HITMAP_SIDE, VIEW_HITMAP_SIDE)) return;
    const uint8_t* src = reinterpret_cast<const uint8_t*>(frame->pixels);
    for (int row = 0; row < s.h; ++row) {
        const uint8_t* sp = src + static_cast<size_t>(s.sy + row) * frame->width + s.sx;
        uint16_t* dp = board_map + static_cast<size_t>(s.dy + row) * VIEW_HITMAP_SIDE + s.dx;
        for (int i = 0; i < s.w; ++i)
            if (sp[i]) dp[i] = value;
    }
}

void spr_mask_tint(uint16_t* back, const ImageRecord* frame, int x, int y, int colour_index) {
    if (!back || !frame || !frame->pixels || colour_index < 0 || colour_index > 1) return;
    int format = gfx_pixel_format >= 0 && gfx_pixel_format < PIXEL_FORMAT_COUNT ? gfx_pixel_format
                                                                                : PIXEL_RGB555;
    uint16_t mark = MARK_COLOURS[format][colour_index];
    Span s{x - frame->hot_x, y - frame->hot_y, 0, 0, frame->width, frame->height};
    int l, t, r, b;
    bounds(SCREEN_W, SCREEN_H, true, &l, &t, &r, &b);
    if (!cut(s, l, t, r, b)) return;
    const uint8_t* src = reinterpret_cast<const uint8_t*>(frame->pixels);
    for (int row = 0; row < s.h; ++row) {
        const uint8_t* sp = src + static_cast<size_t>(s.sy + row) * frame->width + s.sx;
        uint16_t* dp = back + static_cast<size_t>(s.dy + row) * SCREEN_W + s.dx;
        for (int i = 0; i < s.w; ++i)
            if (sp[i]) dp[i] |= mark;
    }
}

// --- Rectangles, copies, quads ------------------------------------------------------

void blit_fill_rect(ImageRecord* target, int x, int y, int w, int h, uint32_t rgb) {
    if (!target || !target->pixels) return;
    Span s{x, y, 0, 0, w, h};
    if (!cut(s, 0, 0, target->width, target->height)) return;
    uint16_t colour = gfx_rgb_to_pixel(rgb);
    for (int row = 0; row < s.h; ++row)
        std::fill_n(target->pixels + static_cast<size_t>(s.dy + row) * target->width + s.dx, s.w,
                    colour);
}

void blit_frame_rect(ImageRecord* target, int x, int y, int w, int h, uint32_t rgb) {
    if (!target || !target->pixels || w <= 0 || h <= 0) return;
    uint16_t colour = gfx_rgb_to_pixel(rgb);
    auto put = [&](int px, int py) {
        if (px >= 0 && py >= 0 && px < target->width && py < target->height)
            target->pixels[static_cast<size_t>(py) * target->width + px] = colour;
    };
    for (int i = 0; i < w; ++i) {
        put(x + i, y);
        put(x + i, y + h - 1);
    }
    for (int j = 1; j < h - 1; ++j) {
        put(x, y + j);
        put(x + w - 1, y + j);
    }
}

void gfx_copy_screen(void* dst, const uint16_t* src, int pitch) {
    if (!dst || !src || pitch < SCREEN_W * 2) return;
    auto* d = static_cast<uint8_t*>(dst);
    for (int row = 0; row < SCREEN_H; ++row)
        std::memcpy(d + static_cast<size_t>(row) * pitch, src + static_cast<size_t>(row) * SCREEN_W,
                    SCREEN_W * 2);
}

namespace {
// Per-row tables of the quadrilateral: the leftmost and rightmost x met
// (16.16) and the tile coordinates at the left (upward edges) and right
// (downward edges) side. Reset after each row is drawn.
struct QuadRow {
    int64_t left, right;
    int64_t lu, lv, ru, rv;
};
constexpr int64_t QUAD_NONE = INT64_MAX;
QuadRow quad_rows[SCREEN_H];
bool quad_rows_ready = false;

void quad_rows_reset(QuadRow& q) {
    q.left = QUAD_NONE;
    q.right = -QUAD_NONE;
    q.lu = q.lv = q.ru = q.rv = 0;
}
} // namespace

void gfx_draw_quad(uint16_t* dst, const uint8_t* tile, const uint32_t corners[4]) {
    if (!dst || !tile || !corners) return;
    if (!quad_rows_ready) {
        for (QuadRow& q : quad_rows)
            quad_rows_reset(q);
        quad_rows_ready = true;
    }
    static constexpr int64_t TILE_U[4] = {0, 31, 31, 0};
    static constexpr int64_t TILE_V[4] = {0, 0, 31, 31};
    int clip_top = std::max<int>(gfx_clip_rect.top, 0);
    int clip_bottom = std::min<int>(gfx_clip_rect.bottom, SCREEN_H);
    int first = SCREEN_H, last = -1;
    for (int e = 0; e < 4; ++e) {
        int a = e, b = (e + 1) & 3;
        int64_t ax = static_cast<int16_t>(corners[a] >> 16), ay = static_cast<int16_t>(corners[a]);
        int64_t bx = static_cast<int16_t>(corners[b] >> 16), by = static_cast<int16_t>(corners[b]);
        if (ay == by) continue;
        bool downward = by > ay; // clockwise on screen: downward edges are the right side
        // Walk from the upper end so that two quads sharing the edge, which
        // walk it in opposite directions, meet the same x on every row.
        int top_i = downward ? a : b, bot_i = downward ? b : a;
        int64_t x0 = downward ? ax : bx, y0 = downward ? ay : by;
        int64_t x1 = downward ? bx : ax, y1 = downward ? by : ay;
        int64_t u0 = TILE_U[top_i] << 16, v0 = TILE_V[top_i] << 16;
        int64_t u1 = TILE_U[bot_i] << 16, v1 = TILE_V[bot_i] << 16;
        int64_t dy = y1 - y0;
        int64_t row0 = std::max<int64_t>(y0, clip_top), row1 = std::min<int64_t>(y1, clip_bottom);
        for (int64_t y = row0; y < row1; ++y) {
            int64_t t = y - y0;
            int64_t x = (x0 << 16) + ((x1 - x0) << 16) * t / dy;
            int64_t u = u0 + (u1 - u0) * t / dy;
            int64_t v = v0 + (v1 - v0) * t / dy;
            QuadRow& q = quad_rows[y];
            if (x < q.left) q.left = x;
            if (x > q.right) q.right = x;
            if (downward)
                q.ru = u, q.rv = v;
            else
                q.lu = u, q.lv = v;
            first = std::min<int>(first, static_cast<int>(y));
            last = std::max<int>(last, static_cast<int>(y));
        }
    }
    int clip_left = std::max<int>(gfx_clip_rect.left, 0);
    int clip_right = std::min<int>(gfx_clip_rect.right, SCREEN_W);
    for (int y = first; y <= last; ++y) {
        QuadRow& q = quad_rows[y];
        if (q.left != QUAD_NONE) {
            int64_t xl = q.left >> 16, xr = q.right >> 16;
            int64_t n = xr - xl;
            int64_t du = n > 0 ? (q.ru - q.lu) / n : 0, dv = n > 0 ? (q.rv - q.lv) / n : 0;
            int64_t start = std::max<int64_t>(xl, clip_left);
            int64_t end = std::min<int64_t>(xr, clip_right - 1);
            int64_t u = q.lu + du * (start - xl), v = q.lv + dv * (start - xl);
            uint16_t* row = dst + static_cast<size_t>(y) * SCREEN_W;
            for (int64_t x = start; x <= end; ++x, u += du, v += dv)
                row[x] = gfx_map_palette[tile[((v >> 16) & 31) * 32 + ((u >> 16) & 31)]];
        }
        quad_rows_reset(q);
    }
}

void gfx_replace_pixel(uint16_t* pixels, size_t count, uint16_t from, uint16_t to) {
    if (!pixels) return;
    for (size_t i = 0; i < count; ++i)
        if (pixels[i] == from) pixels[i] = to;
}

void gfx_clear_screen() {
    uint16_t* p = gfx_lock_back();
    if (!p) return;
    std::memset(p, 0, static_cast<size_t>(SCREEN_W) * SCREEN_H * 2);
    gfx_unlock_back();
    gfx_copy_to_display(screen_rect);
}

ImageRecord* image_save_screen_rect(const PlatRect& rect) {
    PlatRect r = cut_to_screen(rect);
    if (r.right <= r.left || r.bottom <= r.top) return nullptr;
    if (!gfx_lock_back()) return nullptr;
    ImageRecord* copy =
        image_copy_rect(&back_image, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    gfx_unlock_back();
    return copy;
}

void image_restore_screen_rect(ImageRecord* image, int x, int y) {
    if (!image) return;
    bool keep = (y & 0x8000) != 0;
    int ry = y & 0x7FFF;
    if (gfx_lock_back()) {
        blit_opaque(back_pixels, image, x, ry);
        gfx_unlock_back();
        int left = x - image->hot_x, top = ry - image->hot_y;
        gfx_copy_to_display(PlatRect{left, top, left + image->width, top + image->height});
    }
    if (!keep) std::free(image);
}

void gfx_press_rect(const PlatRect& rect) {
    PlatRect r = cut_to_screen(rect);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w < 1 || h < 1 || !gfx_lock_back()) return;
    uint16_t* p = back_pixels;
    auto at = [p](int x, int y) { return p + static_cast<size_t>(y) * SCREEN_W + x; };
    press.rect = r;
    press.held = true;
    int n = 0;
    for (int y = r.top; y <= r.bottom - 2; ++y)
        press.saved[n++] = *at(r.right - 1, y);
    for (int x = r.left; x < r.right; ++x)
        press.saved[n++] = *at(x, r.bottom - 1);
    for (int y = r.bottom - 2; y >= r.top; --y)
        std::memmove(at(r.left + 1, y + 1), at(r.left, y), static_cast<size_t>(w - 1) * 2);
    gfx_brightness_run(at(r.left, r.top), at(r.left, r.top), static_cast<uint32_t>(w) * 2, -16);
    for (int y = r.top + 1; y < r.bottom; ++y)
        gfx_brightness_run(at(r.left, y), at(r.left, y), 2, -16);
    gfx_screen_update(r);
}

void gfx_release_rect() {
    if (!press.held) return;
    press.held = false;
    if (!gfx_lock_back()) return;
    const PlatRect r = press.rect;
    int w = r.right - r.left;
    uint16_t* p = back_pixels;
    auto at = [p](int x, int y) { return p + static_cast<size_t>(y) * SCREEN_W + x; };
    for (int y = r.top; y <= r.bottom - 2; ++y)
        std::memmove(at(r.left, y), at(r.left + 1, y + 1), static_cast<size_t>(w - 1) * 2);
    int n = 0;
    for (int y = r.top; y <= r.bottom - 2; ++y)
        *at(r.right - 1, y) = press.saved[n++];
    for (int x = r.left; x < r.right; ++x)
        *at(x, r.bottom - 1) = press.saved[n++];
    gfx_screen_update(r);
}

void gfx_flash_board() {
    shown_record(Shown::Flash, 0);
    if (!gfx_display_open() || !primary_surface || !view_hitmap) return;
    const PlatRect board{0, 40, VIEW_HITMAP_SIDE, 40 + VIEW_HITMAP_SIDE};
    for (int k : FLASH_STEPS) {
        plat_wait_vertical_blank();
        cursor_hide(&board);
        int32_t pitch = 0;
        uint16_t* screen = plat_surface_lock(primary_surface, &pitch);
        uint16_t* back = gfx_lock_back();
        if (screen && back) {
            primary_image.width = static_cast<uint16_t>(pitch / 2);
            primary_image.pixels = screen;
            for (int row = 0; row < VIEW_HITMAP_SIDE; ++row) {
                const uint16_t* cells = view_hitmap + static_cast<size_t>(row) * VIEW_HITMAP_SIDE;
                const uint16_t* src = back + static_cast<size_t>(row + 40) * SCREEN_W;
                uint16_t* dst = screen + static_cast<size_t>(row + 40) * (pitch / 2);
                // Runs of marked cells go through the table together.
                for (int x = 0; x < VIEW_HITMAP_SIDE;) {
                    if (cells[x] != 0xFFFF) {
                        ++x;
                        continue;
                    }
                    int end = x;
                    while (end < VIEW_HITMAP_SIDE && cells[end] == 0xFFFF)
                        ++end;
                    gfx_brightness_run(dst + x, src + x, static_cast<uint32_t>(end - x) * 2, k);
                    x = end;
                }
            }
        }
        gfx_unlock_back();
        plat_surface_unlock(primary_surface);
        primary_image.pixels = nullptr;
        cursor_show(&board);
        if (wait_ms_skippable(30)) break;
    }
    wait_ms_skippable(400);
}
