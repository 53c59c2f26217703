// The gods' flights over the board: drawn frame by frame onto the board
// screen, with the board put back under each earlier place.
#include "board/god_flight.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "board/game_state.h"
#include "board/view.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/message_draw.h"
#include "engine/presenter.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/wait.h"

namespace {

constexpr int FLIGHT_CURSOR_ENTRY = 0;  // data.mkf: the cursor's frames
constexpr int FLIGHT_MARKER_FRAME = 12; // the first target frame: the marker with no god
constexpr uint32_t FLIGHT_FRAME_MS = 24;
constexpr PlatRect FLIGHT_VIEW = LAYOUT_BOARD_AREA;

// Where a picture with its hot spot at (x, y) lands; empty when any of it
// would leave the view (the frame is then not drawn).
bool flight_rect(const ImageRecord* pic, int x, int y, PlatRect* r) {
    *r = {x - pic->hot_x, y - pic->hot_y, x - pic->hot_x + pic->width,
          y - pic->hot_y + pic->height};
    return r->left >= FLIGHT_VIEW.left && r->top >= FLIGHT_VIEW.top &&
           r->right <= FLIGHT_VIEW.right && r->bottom <= FLIGHT_VIEW.bottom;
}

// The slot's god (slot 0: a marker with no god) flies on the board between
// two world points in a straight line, a frame at least every 24 ms, the
// board put back under each earlier place; the marker is taken off again
// after the closing pause. Recorded first, so that headless runs see the
// flight; with no display only the pause remains.
void fly_on_board(int slot, int x0, int y0, int x1, int y1, int pause) {
    int sx0 = 0, sy0 = 0, sx1 = 0, sy1 = 0;
    const bool from_shown = view_point_to_screen(x0, y0, &sx0, &sy0);
    const bool to_shown = view_point_to_screen(x1, y1, &sx1, &sy1);
    if (x0 == x1 && y0 == y1) return;
    char text[64];
    std::snprintf(text, sizeof text, "flight %d,%d %d,%d", x0, y0, x1, y1);
    shown_record(Shown::Panel, slot, static_cast<uint32_t>(std::max(pause, 0)), text);
    const bool display = popup_lock_back() != nullptr;
    popup_unlock_back();
    if (display && from_shown && to_shown && sx0 == sx1 && sy0 == sy1) return;
    void* marker = nullptr;
    const ImageRecord* pic = nullptr;
    if (display && from_shown && to_shown) {
        if (slot == 0) {
            marker = spr_read_set(nullptr, FLIGHT_CURSOR_ENTRY);
            pic = popup_frame(marker, FLIGHT_MARKER_FRAME);
        } else if (slot < GOD_SLOT_COUNT) {
            const GodObject& g = god_table[static_cast<size_t>(slot)];
            pic = popup_frame(view_god_sprite(g.kind - 1), (g.facing - view_rotation) & 7);
        }
    }
    ImageRecord* under = nullptr;
    PlatRect at{};
    if (pic) {
        const double d = std::hypot(static_cast<double>(sx1 - sx0), static_cast<double>(sy1 - sy0));
        const int frames = static_cast<int>(d * 0.125 + 1);
        for (int i = 1; i <= frames; ++i) {
            if (under) popup_restore_area(under, at.left, at.top), under = nullptr;
            const int x = sx0 + (sx1 - sx0) * i / frames, y = sy0 + (sy1 - sy0) * i / frames;
            if (flight_rect(pic, x, y, &at)) {
                under = popup_save_area(at);
                if (ImageRecord* back = popup_lock_back()) popup_blit(back, pic, x, y, true);
                popup_unlock_back();
                popup_update(at);
            }
            wait_ms(FLIGHT_FRAME_MS);
        }
    }
    if (pause > 0) wait_ms(static_cast<uint32_t>(pause));
    if (under && slot == 0)
        popup_restore_area(under, at.left, at.top);
    else
        std::free(under);
    spr_free_set(marker);
}

constexpr int LEAVE_FRAMES = 24;
constexpr int LEAVE_STEP = 10; // pixels up a frame
constexpr uint32_t LEAVE_FRAME_MS = 60;
constexpr int LEAVING_SOUND = 23; // board_effects element

// A god leaving its holder flies straight up from where the board drew it
// (x, y): a frame every 60 ms, 10 pixels higher each, its sprite's frames
// cycling, until it would leave the top of the view or 24 frames have
// passed; the leaving sound plays once as it lifts off. The board is put
// back under it at the end. Recorded first, so that headless runs see it.
void fly_up_from_board(int slot, int kind, bool drawn, int x, int y) {
    shown_record(Shown::Panel, slot, 0, "flight up");
    snd_board_effect_play(LEAVING_SOUND, 0);
    const bool display = popup_lock_back() != nullptr;
    popup_unlock_back();
    if (!display || !drawn || kind < 1) return;
    void* sprite = view_god_sprite(kind - 1);
    ImageRecord* under = nullptr;
    PlatRect at{};
    for (int i = 1; i <= LEAVE_FRAMES; ++i) {
        const ImageRecord* pic = popup_frame(sprite, (i - 1) & 7);
        if (!pic) break;
        const int fy = y - LEAVE_STEP * i;
        PlatRect next;
        if (!flight_rect(pic, x, fy, &next)) break; // gone out of the top of the view
        if (under) popup_restore_area(under, at.left, at.top), under = nullptr;
        at = next;
        under = popup_save_area(at);
        if (ImageRecord* back = popup_lock_back()) popup_blit(back, pic, x, fy, true);
        popup_unlock_back();
        popup_update(at);
        wait_ms(LEAVE_FRAME_MS);
    }
    if (under) popup_restore_area(under, at.left, at.top);
}

} // namespace

PRESENTER(god_flight_presenter, GodFlightPresenter{fly_on_board, fly_up_from_board});
