#include "engine/balloon.h"

#include <algorithm>
#include <cstdlib>

#include "engine/message_draw.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "platform/clock.h"

BalloonState balloon_state{};

namespace {

BalloonState& bs = balloon_state;

PlatRect balloon_rect() {
    return {bs.left, bs.top, bs.right, bs.bottom};
}

// Puts the screen under the balloon back and forgets it; the rectangle it
// covered, or an empty one.
PlatRect put_back_saved(bool copy) {
    PlatRect r{};
    if (!bs.saved) return r;
    r = {bs.saved_x, bs.saved_y, bs.saved_x + bs.saved->width, bs.saved_y + bs.saved->height};
    if (ImageRecord* back = popup_lock_back()) {
        popup_blit(back, bs.saved, bs.saved_x, bs.saved_y, false);
        popup_unlock_back();
        if (copy) popup_update(r);
    }
    std::free(bs.saved);
    bs.saved = nullptr;
    return r;
}

PlatRect joined(const PlatRect& a, const PlatRect& b) {
    if (a.right <= a.left) return b;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

} // namespace

void balloon_set(const ImageRecord* image, int x, int y, int text_dx, int text_dy, uint32_t colour,
                 uint32_t shadow_colour) {
    bs.image = image;
    bs.x = x;
    bs.y = y;
    bs.left = image ? x - image->hot_x : x;
    bs.top = image ? y - image->hot_y : y;
    bs.right = bs.left + (image ? image->width : 0);
    bs.bottom = bs.top + (image ? image->height : 0);
    bs.text_dx = text_dx;
    bs.text_dy = text_dy;
    bs.colour = colour;
    bs.shadow_colour = shadow_colour;
}

void balloon_show(const char* text) {
    shown_record(Shown::Balloon, 0, 0, text);
    if (!bs.image || !popup_lock_back()) {
        popup_unlock_back();
        return;
    }
    popup_unlock_back();
    // A balloon already shown goes first, so its picture is never taken for
    // the background; the copy below covers both places.
    PlatRect old{};
    if (bs.shown_time) old = put_back_saved(false);
    bs.saved = popup_save_area(balloon_rect());
    bs.saved_x = std::max(bs.left, 0);
    bs.saved_y = std::max(bs.top, 0);
    ImageRecord* back = popup_lock_back();
    popup_blit(back, bs.image, bs.x, bs.y, true);
    popup_font(20, bs.colour, bs.shadow_colour, bs.shadow_colour ? 3 : 2, 1);
    popup_text(nullptr, text, bs.left + (bs.right - bs.left) / 2 + bs.text_dx,
               bs.top + (bs.bottom - bs.top) / 2 + bs.text_dy, 2);
    popup_unlock_back();
    popup_update(joined(old, balloon_rect()));
    bs.shown_time = plat_tick_count();
    if (bs.shown_time == 0) bs.shown_time = 1; // 0 means not shown
}

int balloon_hide(int flags) {
    if (!bs.shown_time) return 1;
    if (flags & BALLOON_HIDE_NOW) {
        snd_voice_stop();
    } else {
        if (plat_tick_count() - bs.shown_time < BALLOON_MIN_MS) return 0;
        if (settings_sound_level() != 0 && snd_voice_playing()) return 0;
    }
    put_back_saved(!(flags & BALLOON_HIDE_NO_COPY));
    bs.shown_time = 0;
    return 1;
}

uint32_t balloon_shown_time() {
    return bs.shown_time;
}

void balloon_reset() {
    std::free(bs.saved);
    bs = BalloonState{};
}
