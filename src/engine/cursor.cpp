#include "engine/cursor.h"

#include <algorithm>
#include <cstdlib>

#include "engine/options.h"
#include "engine/surfaces.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "platform/window.h"

CursorState cursor_state = {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, nullptr};
const uint8_t anim_tick_table[3] = {6, 4, 2};
std::atomic<uint8_t> anim_tick_count{0};
std::atomic<uint8_t> anim_step_pending{0};
std::atomic<uint32_t> cursor_due{0};

namespace {

constexpr int SCREEN_W = 640;
constexpr int SCREEN_H = 480;
constexpr uint32_t CURSOR_ENTRY = 0;

CursorState& cs = cursor_state;

const ImageRecord* current_frame() {
    if (!cs.cursor_frames || cs.frame_count <= 0) return nullptr;
    return spr_frame(cs.cursor_frames, cs.first + cs.frame_index);
}

// The box of a frame at (x, y), cut to the screen; false when nothing of it is on it.
bool box_at(const ImageRecord* f, int x, int y, PlatRect* r) {
    int left = x - f->hot_x, top = y - f->hot_y;
    r->left = std::max(left, 0);
    r->top = std::max(top, 0);
    r->right = std::min(left + CURSOR_BOX, SCREEN_W);
    r->bottom = std::min(top + CURSOR_BOX, SCREEN_H);
    return r->left < r->right && r->top < r->bottom;
}

bool meets(const PlatRect& a, const PlatRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The display pixels and their pitch in pixels, or nullptr without a display.
uint16_t* lock_display(int* pitch_px) {
    if (!primary_surface) return nullptr;
    int32_t pitch = 0;
    uint16_t* px = plat_surface_lock(primary_surface, &pitch);
    *pitch_px = pitch / 2;
    return px;
}

void unlock_display() {
    plat_surface_unlock(primary_surface);
}

// Puts the saved pixels back and forgets them.
void restore_under(uint16_t* px, int pitch) {
    if (cs.last_x == -1) return;
    for (int row = 0; row < cs.box_h; ++row)
        std::copy_n(cs.save_under->pixels + row * CURSOR_BOX, cs.box_w,
                    px + (cs.box_y + row) * pitch + cs.box_x);
    cs.last_x = -1;
}

// Saves the pixels under the box at (x, y) and draws the current frame
// there with transparency; a frame larger than the box is cut to it.
void draw_at(uint16_t* px, int pitch, int x, int y) {
    const ImageRecord* f = current_frame();
    PlatRect r;
    if (!f || !cs.save_under || !box_at(f, x, y, &r)) return;
    cs.last_x = x;
    cs.last_y = y;
    cs.box_x = r.left;
    cs.box_y = r.top;
    cs.box_w = r.right - r.left;
    cs.box_h = r.bottom - r.top;
    for (int row = 0; row < cs.box_h; ++row)
        std::copy_n(px + (cs.box_y + row) * pitch + cs.box_x, cs.box_w,
                    cs.save_under->pixels + row * CURSOR_BOX);
    const int left = x - f->hot_x, top = y - f->hot_y;
    for (int sy = cs.box_y - top; sy < cs.box_y - top + cs.box_h && sy < f->height; ++sy) {
        const uint16_t* src = f->pixels + sy * f->width;
        uint16_t* dst = px + (top + sy) * pitch;
        for (int sx = cs.box_x - left; sx < cs.box_x - left + cs.box_w && sx < f->width; ++sx)
            if (src[sx] != 0) dst[left + sx] = src[sx];
    }
}

// The rectangle test of hide and show: true when rect is null or meets the
// cursor's box at the mouse position or the box last drawn. The box last
// drawn counts after it was restored too: a copy that took the cursor off
// there puts it back although the mouse has left the rectangle meanwhile.
bool concerns(const PlatRect* rect) {
    if (!rect) return true;
    const ImageRecord* f = current_frame();
    int mx = 0, my = 0;
    plat_get_cursor_pos(&mx, &my);
    PlatRect now;
    if (f && box_at(f, mx, my, &now) && meets(*rect, now)) return true;
    if (cs.box_w > 0 && cs.box_h > 0) {
        PlatRect last{cs.box_x, cs.box_y, cs.box_x + cs.box_w, cs.box_y + cs.box_h};
        if (meets(*rect, last)) return true;
    }
    return false;
}

bool may_change() {
    return cs.cursor_mode == 1 && !app_quit && !cs.cursor_busy;
}

} // namespace

void cursor_timer_tick() {
    if (!app_active) return;
    uint8_t n = static_cast<uint8_t>(anim_tick_count.load() + 1);
    if (n >= anim_tick_table[settings_game_speed()]) {
        n = 0;
        anim_step_pending = 1;
    }
    anim_tick_count = n;
    cursor_due.fetch_add(1);
}

void cursor_serve_ticks() {
    const uint32_t ticks = cursor_due.exchange(0);
    if (ticks == 0) return;
    if (!(cs.cursor_flags & CURSOR_DRAWN) || cs.cursor_busy || app_quit) return;
    cs.cursor_busy = 1;
    bool changed = false;
    if (cs.frame_count >= 2) {
        for (uint32_t i = 0; i < ticks; ++i) {
            if (++cs.tick_count < cs.ticks_per_frame) continue;
            cs.tick_count = 0;
            cs.frame_index = (cs.frame_index + 1) % cs.frame_count;
            changed = true;
        }
    }
    int mx = 0, my = 0;
    plat_get_cursor_pos(&mx, &my);
    if (changed || mx != cs.last_x || my != cs.last_y) {
        int pitch = 0;
        if (uint16_t* px = lock_display(&pitch)) {
            restore_under(px, pitch);
            draw_at(px, pitch, mx, my);
            unlock_display();
        }
    }
    cs.cursor_busy = 0;
}

void cursor_start() {
    if (cs.cursor_frames) return;
    cs.cursor_frames = spr_read_set(nullptr, CURSOR_ENTRY);
    if (!cs.save_under) cs.save_under = image_new(CURSOR_BOX, CURSOR_BOX, 0, 0);
    cs.cursor_flags = 0;
    cs.cursor_busy = 0;
    cs.cursor_mode = 0;
    cs.last_x = -1;
    cs.box_w = cs.box_h = 0;
    cursor_due = 0;
    plat_show_system_cursor(false);
    if (primary_surface) {
        plat_surface_lock(primary_surface, &primary_pitch);
        plat_surface_unlock(primary_surface);
    }
    plat_set_cursor_hook(cursor_serve_ticks);
    plat_tick_start(cursor_timer_tick);
}

void cursor_stop() {
    plat_tick_stop();
    plat_set_cursor_hook(nullptr);
    cs.cursor_flags = 0;
    cs.cursor_busy = 0;
    cs.last_x = -1;
    cs.box_w = cs.box_h = 0;
    spr_free_set(cs.cursor_frames);
    std::free(cs.save_under);
    cs.save_under = nullptr;
    cs.first = cs.frame_count = cs.frame_index = cs.ticks_per_frame = cs.tick_count = 0;
    cs.cursor_mode = 0;
    cursor_due = 0;
    plat_show_system_cursor(true);
}

void cursor_set_shape(int first, int count, int ticks) {
    if (!cs.cursor_frames || first < 0 || count < 1 ||
        first + count > spr_frame_count(cs.cursor_frames))
        return;
    cs.first = first;
    cs.frame_count = count;
    cs.ticks_per_frame = ticks;
    cs.frame_index = 0;
    cs.tick_count = 0;
    cursor_hide(nullptr);
    cursor_show(nullptr);
}

void cursor_hide(const PlatRect* rect) {
    if (!may_change() || !(cs.cursor_flags & CURSOR_DRAWN) || !concerns(rect)) return;
    cs.cursor_busy = 1;
    int pitch = 0;
    if (uint16_t* px = lock_display(&pitch)) {
        restore_under(px, pitch);
        unlock_display();
    }
    cs.cursor_busy = 0;
    cs.cursor_flags &= static_cast<uint8_t>(~CURSOR_DRAWN);
}

void cursor_show(const PlatRect* rect) {
    if (!may_change() || (cs.cursor_flags & CURSOR_DRAWN) || !concerns(rect)) return;
    cs.cursor_busy = 1;
    int pitch = 0;
    if (uint16_t* px = lock_display(&pitch)) {
        int mx = 0, my = 0;
        plat_get_cursor_pos(&mx, &my);
        draw_at(px, pitch, mx, my);
        unlock_display();
    }
    cs.cursor_busy = 0;
    cs.cursor_flags |= CURSOR_DRAWN;
}

void cursor_set_mode(int mode) {
    if (mode == 1) {
        cs.cursor_mode = 1;
        cursor_show(nullptr);
    } else {
        cursor_hide(nullptr);
        cs.cursor_mode = static_cast<uint8_t>(mode);
    }
}

uint8_t cursor_get_mode() {
    return cs.cursor_mode;
}

int cursor_show_for_clicks() {
    if (!primary_surface || cs.cursor_mode == 1) return -1; // nothing to give back
    const int before = cs.cursor_mode;
    cursor_set_mode(1);
    return before;
}

void cursor_give_back(int before) {
    // A window that took the pointer off itself keeps it off.
    if (before >= 0 && cs.cursor_mode == 1) cursor_set_mode(before);
}

void cursor_set_vsync_wait(int on) {
    if (on == 1)
        cs.cursor_flags &= static_cast<uint8_t>(~CURSOR_NO_VSYNC);
    else
        cs.cursor_flags |= CURSOR_NO_VSYNC;
}

void cursor_get_rect(PlatRect* rect) {
    if (!rect) return;
    *rect = {};
    const ImageRecord* f = current_frame();
    int mx = 0, my = 0;
    plat_get_cursor_pos(&mx, &my);
    if (f) box_at(f, mx, my, rect);
}
