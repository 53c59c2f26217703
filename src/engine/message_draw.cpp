#include "engine/message_draw.h"

#include <cstdlib>

#include "engine/draw.h"
#include "engine/text.h"
#include "platform/queue.h"

ImageRecord* popup_lock_back() {
    return gfx_lock_back() ? &back_image : nullptr;
}

void popup_unlock_back() {
    gfx_unlock_back();
}

void popup_blit(ImageRecord* target, const ImageRecord* img, int x, int y, bool key) {
    if (!target || !img) return;
    if (key)
        blit_key_to_image(target, img, x, y);
    else
        blit_to_image(target, img, x, y);
}

void popup_blit_part(ImageRecord* target, const ImageRecord* img, int x, int y, int sx, int sy,
                     int w, int h) {
    if (!target || !img) return;
    // The part core puts the part's top-left at (x - hot_x, y - hot_y).
    blit_part_to_image(target, img, x + img->hot_x, y + img->hot_y, sx, sy, w, h);
}

ImageRecord* popup_save_area(const PlatRect& rect) {
    return image_save_screen_rect(rect);
}

void popup_restore_area(ImageRecord* saved, int x, int y) {
    if (!saved) return;
    if (ImageRecord* back = popup_lock_back()) {
        blit_to_image(back, saved, x, y);
        // With the cursor hidden over it, so the cursor's own saved pixels
        // are not those of the pop-up just taken away.
        gfx_screen_update({x, y, x + saved->width, y + saved->height});
    }
    std::free(saved);
}

void popup_update(const PlatRect& rect) {
    gfx_screen_update(rect);
}

int32_t popup_default_proc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam) {
    if (message == WM_PAINT) popup_update(plat_paint_rect());
    return plat_def_window_proc(window, message, wparam, lparam);
}

const ImageRecord* popup_frame(const void* set, int n) {
    return set ? spr_frame(set, n) : nullptr;
}

void popup_font(int height, uint32_t rgb, uint32_t rgb2, int flags, int spacing) {
    text_set_font(height, rgb, rgb2, static_cast<uint32_t>(flags), spacing);
}

void popup_text(ImageRecord* target, const char* text, int x, int y, int align) {
    text_draw(target, text, x, y, align);
}

void* board_panel_set = nullptr;
void* board_picture_set = nullptr;

namespace {
constexpr int BOARD_PANEL_ENTRY = 476;
constexpr int BOARD_PICTURE_ENTRY = 478;

} // namespace

void board_panels_load() {
    board_panels_free();
    board_panel_set = spr_read_set(nullptr, BOARD_PANEL_ENTRY);
    board_picture_set = spr_read_set(nullptr, BOARD_PICTURE_ENTRY);
}

void board_panels_free() {
    spr_free_set(board_panel_set);
    spr_free_set(board_picture_set);
}
