#include "engine/message_draw.h"

#include <algorithm>
#include <cstdlib>

#include "engine/cursor.h"
#include "engine/mkf.h"
#include "engine/wait.h"
#include "platform/surface.h"
#include "shell/app.h"

namespace {

constexpr int SCREEN_W = 640;
constexpr int SCREEN_H = 480;

ImageRecord g_back_image{SCREEN_W, SCREEN_H, 0, 0, nullptr};

PlatRect cut_to_screen(PlatRect r) {
    r.left = std::clamp(r.left, 0, SCREEN_W);
    r.right = std::clamp(r.right, 0, SCREEN_W);
    r.top = std::clamp(r.top, 0, SCREEN_H);
    r.bottom = std::clamp(r.bottom, 0, SCREEN_H);
    return r;
}

// Copies the w x h rectangle (sx, sy) of img to (dx, dy) of target, cut at
// both images' edges.
void copy_rect(ImageRecord* target, const ImageRecord* img, int dx, int dy, int sx, int sy, int w,
               int h, bool key) {
    if (!target || !target->pixels || !img || !img->pixels) return;
    if (sx < 0) {
        dx -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        dy -= sy;
        h += sy;
        sy = 0;
    }
    w = std::min(w, img->width - sx);
    h = std::min(h, img->height - sy);
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    w = std::min(w, target->width - dx);
    h = std::min(h, target->height - dy);
    if (w <= 0 || h <= 0) return;
    for (int row = 0; row < h; ++row) {
        const uint16_t* src = img->pixels + static_cast<size_t>(sy + row) * img->width + sx;
        uint16_t* dst = target->pixels + static_cast<size_t>(dy + row) * target->width + dx;
        if (key) {
            for (int i = 0; i < w; ++i)
                if (src[i]) dst[i] = src[i];
        } else {
            std::copy_n(src, w, dst);
        }
    }
}

} // namespace

ImageRecord* popup_lock_back() {
    if (!back_surface) return nullptr;
    int32_t pitch = 0;
    g_back_image.pixels = plat_surface_lock(back_surface, &pitch);
    g_back_image.width = static_cast<uint16_t>(pitch / 2);
    return g_back_image.pixels ? &g_back_image : nullptr;
}

void popup_unlock_back() {
    if (back_surface && back_surface->locks > 0) plat_surface_unlock(back_surface);
}

void popup_blit(ImageRecord* target, const ImageRecord* img, int x, int y, bool key) {
    if (!img) return;
    copy_rect(target, img, x - img->hot_x, y - img->hot_y, 0, 0, img->width, img->height, key);
}

void popup_blit_part(ImageRecord* target, const ImageRecord* img, int x, int y, int sx, int sy,
                     int w, int h) {
    copy_rect(target, img, x, y, sx, sy, w, h, false);
}

ImageRecord* popup_save_area(const PlatRect& rect) {
    PlatRect r = cut_to_screen(rect);
    ImageRecord* back = popup_lock_back();
    ImageRecord* copy = nullptr;
    if (back && r.right > r.left && r.bottom > r.top)
        copy = image_copy_rect(back, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    popup_unlock_back();
    return copy;
}

void popup_restore_area(ImageRecord* saved, int x, int y) {
    if (!saved) return;
    if (ImageRecord* back = popup_lock_back()) {
        saved->hot_x = saved->hot_y = 0;
        popup_blit(back, saved, x, y, false);
        popup_unlock_back();
        popup_update({x, y, x + saved->width, y + saved->height});
    }
    std::free(saved);
}

void popup_update(const PlatRect& rect) {
    PlatRect r = cut_to_screen(rect);
    if (!back_surface || !primary_surface || r.right <= r.left || r.bottom <= r.top) return;
    cursor_hide(&r);
    plat_blt_fast(primary_surface, r.left, r.top, back_surface, &r);
    cursor_show(&r);
}

const ImageRecord* popup_frame(const void* set, int n) {
    return set ? spr_frame(set, n) : nullptr;
}

// Waiting for the text engine: until it is merged, texts are not drawn.
void popup_font(int, uint32_t, uint32_t, int, int) {}
void popup_text(ImageRecord*, const char*, int, int, int) {}

void* board_panel_set = nullptr;
void* board_picture_set = nullptr;

namespace {
constexpr int BOARD_PANEL_ENTRY = 476;
constexpr int BOARD_PICTURE_ENTRY = 478;

void* read_set(int entry) {
    void* set = mkf_read(data_archive, entry, nullptr, nullptr);
    if (set && spr_frame_count(set) == 0) { // missing or not a frame set
        std::free(set);
        set = nullptr;
    }
    return set;
}

void free_set(void*& set) {
    if (!set) return;
    spr_unlink(set);
    std::free(set);
    set = nullptr;
}
} // namespace

void board_panels_load() {
    board_panels_free();
    board_panel_set = read_set(BOARD_PANEL_ENTRY);
    board_picture_set = read_set(BOARD_PICTURE_ENTRY);
}

void board_panels_free() {
    free_set(board_panel_set);
    free_set(board_picture_set);
}

// Waiting for the sound module's voice clips: until it is merged, no voice
// plays and a voice wait is the skippable wait it makes with the sound off.
void popup_voice_play(int) {}
void popup_voice_stop() {}
int popup_voice_playing() {
    return 0;
}
void popup_voice_wait(uint32_t ms) {
    wait_ms_skippable(ms);
}
