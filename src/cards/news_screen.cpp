#include "cards/news_screen.h"

#include <cstdlib>
#include <cstring>

#include "board/board_refresh.h"
#include "board/game_state.h"
#include "engine/draw.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/shown.h"
#include "engine/text.h"

namespace {

constexpr uint32_t TEXT_RGB = 0xF0F0F0;
constexpr uint32_t SHADOW_RGB = 0x101010;
constexpr uint32_t PANEL_BLANK_RGB = 0x182030;

// The frame drawn on: a copy of the panel's frame, so that drawing never
// changes the frame set (the strip is restored from the copy as shown).
ImageRecord* panel = nullptr;
// The panel went onto the display and covers the board until it is redrawn.
bool panel_shown = false;

} // namespace

void event_panel_open(int frame) {
    event_panel_close();
    if (!gfx_display_open()) return;
    panel = image_new(EVENT_PANEL_W, EVENT_PANEL_H, 0, 0);
    if (!panel) return;
    blit_fill_rect(panel, 0, 0, EVENT_PANEL_W, EVENT_PANEL_H, PANEL_BLANK_RGB);
    void* set = spr_read_set("PANEL.MKF", EVENT_PANEL_ENTRY);
    if (!set) return;
    if (const ImageRecord* fr = popup_frame(set, frame))
        blit_to_image(panel, fr, fr->hot_x, fr->hot_y);
    spr_free_set(set);
}

void event_panel_picture(int entry) {
    if (!panel || data_archive < 0) return;
    uint32_t size = 0;
    void* data = mkf_read(data_archive, entry, nullptr, &size);
    constexpr uint32_t bytes = 2u * EVENT_PICTURE_W * EVENT_PICTURE_H;
    if (data && size >= bytes) {
        if (ImageRecord* picture = image_new(EVENT_PICTURE_W, EVENT_PICTURE_H, 0, 0)) {
            std::memcpy(picture->pixels, data, bytes);
            blit_to_image(panel, picture, EVENT_PICTURE_X, EVENT_PICTURE_Y);
            std::free(picture);
        }
    }
    std::free(data);
}

void event_panel_font(int height) {
    if (!panel) return;
    text_set_font(height, TEXT_RGB, SHADOW_RGB, TEXT_SHADOW | TEXT_BOLD, 0);
}

void event_panel_text(const char* text, int x, int y) {
    shown_record(Shown::Panel, EVENT_PANEL_ENTRY, 0, text);
    // With no panel (no display) the voice still plays.
    text_draw(panel, text, x, y, ALIGN_LEFT_TOP);
}

void event_panel_face(int player, int frame, int x, int y) {
    if (!panel || !is_player_seat(player)) return;
    popup_blit(panel, popup_frame(actor_anim_table[player].portrait, frame), x, y, true);
}

void event_panel_show() {
    if (!panel) return;
    ImageRecord* back = popup_lock_back();
    if (!back) return;
    blit_to_image(back, panel, EVENT_PANEL_X, EVENT_PANEL_Y);
    popup_unlock_back();
    popup_update(EVENT_PANEL_RECT);
    panel_shown = true;
}

void event_panel_strip_text(const char* text) {
    shown_record(Shown::Panel, EVENT_PANEL_ENTRY, 0, text);
    ImageRecord* back = panel ? popup_lock_back() : nullptr;
    if (!back) return;
    text_set_font(EVENT_STRIP_FONT, TEXT_RGB, SHADOW_RGB, TEXT_SHADOW | TEXT_BOLD, 0);
    text_draw(back, text, EVENT_TEXT_X, EVENT_STRIP_TEXT_Y, ALIGN_LEFT_TOP);
    popup_unlock_back();
    popup_update(EVENT_STRIP_RECT);
}

void event_panel_restore_strip() {
    ImageRecord* back = panel ? popup_lock_back() : nullptr;
    if (!back) return;
    popup_blit_part(back, panel, EVENT_PANEL_X, EVENT_PANEL_Y, 0, 0, EVENT_PANEL_W, EVENT_STRIP_H);
    popup_unlock_back();
    popup_update(EVENT_STRIP_RECT);
}

void event_panel_close() {
    std::free(panel);
    panel = nullptr;
    // The board and the toolbar come back where the panel stood, the view
    // staying where the event left it.
    if (panel_shown) {
        panel_shown = false;
        board_view_refresh(0, 0, 3);
    }
}

const ImageRecord* event_panel_image() {
    return panel;
}

PRESENTER(news_presenter,
          NewsPresenter{event_panel_open, event_panel_picture, event_panel_font, event_panel_text,
                        event_panel_face, event_panel_show, event_panel_strip_text,
                        event_panel_restore_strip, event_panel_close});
