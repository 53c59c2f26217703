// The gods' flights over the stand-in board on a display: a placed object
// flies to its square drawn through its sprite set's palette, and a god
// leaving its holder flies straight up frame by frame until the top of the
// view, the board put back under it. Frames are watched from the platform's
// hook, which runs at every wait of the flight.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/god_flight.h"
#include "board/gods.h"
#include "board/map.h"
#include "board/status.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "data/characters.h"
#include "engine/image.h"
#include "engine/shown.h"
#include "finance/stock.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "support/popup_fixture.h"

namespace {

class GodFlight : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        ASSERT_TRUE(set_up_two_players()) << map_last_error();
        // The gods the map placed taken off the board: none stands in the way.
        for (int s = GOD_FIRST_SLOT; s <= GOD_LAST_SLOT; ++s) {
            GodObject& g = god_table[s];
            if (g.square >= 1 && g.square <= map_square_count)
                map_square_table[g.square].flags &= ~SQF_GOD_MASK;
            g.square = 0;
        }
        game_active_mover = 0;
        board_load_graphics();
        board_view_refresh(player_table[0].x, player_table[0].y, 0);
        shown_clear();
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        board_free_graphics();
        PopupTest::TearDown();
    }
};

// Whether frame n of a "SPR" set shows whole on the display with its hot spot
// at (x, y): every lit index as its palette colour.
bool frame_shown(const void* set, int n, int x, int y) {
    const ImageRecord* f = spr_frame(set, n);
    const uint16_t* pal = spr_palette(const_cast<void*>(set));
    if (!f || !pal) return false;
    const uint8_t* idx = reinterpret_cast<const uint8_t*>(f->pixels);
    int lit = 0;
    for (int v = 0; v < f->height; ++v)
        for (int u = 0; u < f->width; ++u) {
            const uint8_t i = idx[v * f->width + u];
            if (!i) continue;
            const int px = x - f->hot_x + u, py = y - f->hot_y + v;
            if (px < 0 || px >= 640 || py < 0 || py >= 480) return false;
            if (PopupTest::screen_at(px, py) != pal[i]) return false;
            ++lit;
        }
    return lit > 0;
}

TEST_F(GodFlight, APlacedObjectFliesToItsSquareDrawnThroughItsSpritesPalette) {
    // A roadblock on the next square, facing so that it shows the set's last
    // frame, whose bytes end the set.
    const int square = map_square_table[1].links[0];
    ASSERT_NE(square, 0);
    const int slot = god_place(GK_ROADBLOCK, square, 0, 0);
    ASSERT_NE(slot, 0);
    void* set = view_god_sprite(GK_ROADBLOCK - 1);
    ASSERT_NE(spr_palette(set), nullptr) << "the stand-in object sprites are palette sets";
    const int last = spr_frame_count(set) - 1;
    ASSERT_GE(last, 0);
    god_table[slot].facing = static_cast<uint8_t>((last + view_rotation) & 7);
    const MapSquare& to = map_square_table[square];
    int sx, sy;
    ASSERT_TRUE(view_point_to_screen(to.x, to.y, &sx, &sy));
    god_fly(slot, player_table[0].x, player_table[0].y, to.x, to.y, 100);
    EXPECT_TRUE(frame_shown(set, (god_table[slot].facing - view_rotation) & 7, sx, sy));
    save_shot("object_flight");
}

// The leaving flight as the platform's hook sees it: which of the 24 frames
// (frame i: i x 10 pixels above the start, sprite frame (i - 1) mod 8) showed.
struct Watch {
    const void* set = nullptr;
    int x = 0, y = 0;
    std::vector<bool> seen = std::vector<bool>(25, false);
} watch;

void watch_flight() {
    for (int i = 1; i <= 24; ++i)
        if (!watch.seen[i] && frame_shown(watch.set, (i - 1) & 7, watch.x, watch.y - 10 * i)) {
            watch.seen[i] = true;
            if (i == 6) PopupTest::save_shot("god_leaving");
        }
}

TEST_F(GodFlight, ALeavingGodFliesUpFrameByFrameUntilTheTopOfTheViewThenTheBoardComesBack) {
    // An angel held by player 0, as an attachment leaves it.
    const int slot = god_place(GK_ANGEL, 0, 0, 0);
    ASSERT_EQ(slot, GK_ANGEL);
    PlayerRecord& r = player_table[0];
    r.god_slot = static_cast<uint8_t>(slot);
    god_table[slot].holder = owner_of_seat(0);
    god_table[slot].square = r.square;
    god_table[slot].days = 7;
    board_view_refresh(r.x, r.y, 0);
    watch = Watch{};
    watch.set = view_god_sprite(GK_ANGEL - 1);
    ASSERT_TRUE(view_object_screen_pos(OBJ_OCCUPANTS | (slot << 8), &watch.x, &watch.y, nullptr));
    // Frames while the whole sprite stays in the view, 24 at most.
    int frames = 0;
    while (frames < 24) {
        const ImageRecord* f = spr_frame(watch.set, frames & 7);
        ASSERT_NE(f, nullptr);
        if (watch.y - 10 * (frames + 1) - f->hot_y < 40) break;
        ++frames;
    }
    ASSERT_GT(frames, 0);
    EXPECT_LT(frames, 24) << "from the view's centre it leaves the top early";
    plat_set_cursor_hook(watch_flight);
    shown_clear();
    god_leave_player(0);
    plat_set_cursor_hook(nullptr);
    for (int i = 1; i <= 24; ++i)
        EXPECT_EQ(watch.seen[i], i <= frames) << "frame " << i;
    size_t waits = 0;
    for (const ShownEvent& e : shown_log())
        waits += e.kind == Shown::Wait && e.ms == 60;
    EXPECT_EQ(waits, static_cast<size_t>(frames));
    // Gone: nothing of it is left on the board.
    EXPECT_EQ(r.god_slot, 0);
    for (int i = 1; i <= frames; ++i)
        EXPECT_FALSE(frame_shown(watch.set, (i - 1) & 7, watch.x, watch.y - 10 * i)) << i;
    save_shot("god_left");
}

// The rules reach the flights only through the presenter; the board's flight
// window fills it, so a flight the rules ask for is the one drawn above.
TEST(GodFlightPresenter, IsFilledByTheBoardsFlightWindow) {
    EXPECT_TRUE(god_flight_presenter.installed());
}

} // namespace
