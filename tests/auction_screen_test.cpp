// The auction window under scripted mouse: the hall with the property, the
// rows and the seven buttons; a raise the bidder cannot cover is refused, a
// covered one taken; the sale follows and the board is repainted. The screen
// is looked at from the platform's cursor hook while the bid buttons wait.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "engine/draw.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "engine/ui_effects.h"
#include "finance/auction.h"
#include "finance/auction_screen.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "support/popup_fixture.h"
#include "support/test_board.h"

namespace {

constexpr uint16_t BACKGROUND = 0x1234;
constexpr int LOT1 = OBJ_LOT_BASE + 1;

struct Seen {
    int asked = 0;          // times the bid buttons were met waiting
    int picture_pixels = 0; // of the property's picture
    int row_pixels = 0;     // of seat 0's row
    int button_pixels = 0;  // of the seven buttons
    int balloon_pixels = 0; // near white: the balloon stays while the human bids
    int jailed_row_grey = 0;
    bool depth_ok = false;
    uint32_t last = 0;
};
Seen seen;
int clicks_to_give = 0;
const int* click_order = nullptr;

int differing(const PlatRect& r) {
    return PopupTest::screen_differs(r.left, r.top, r.right, r.bottom, BACKGROUND);
}

// Pixels of a rectangle that are near white, and that are grey (channels
// alike), of the display's 5-6-5 pixels.
int bright(const PlatRect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const uint16_t p = PopupTest::screen_at(x, y);
            n += ((p >> 11) > 27 && ((p >> 5) & 63) > 55 && (p & 31) > 27) ? 1 : 0;
        }
    return n;
}
int grey(const PlatRect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const uint16_t p = PopupTest::screen_at(x, y);
            const int red = p >> 11, green = ((p >> 5) & 63) / 2, blue = p & 31;
            n += (std::abs(red - green) <= 1 && std::abs(green - blue) <= 1) ? 1 : 0;
        }
    return n;
}

void click_at(uint32_t when, int choice) {
    const PlatRect r = auction_button_rect(choice);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    for (PlatScriptKind k : {SCRIPT_MOUSE_MOVE, SCRIPT_LEFT_DOWN, SCRIPT_LEFT_UP}) {
        PlatScriptEvent ev{};
        ev.time = when;
        ev.kind = k;
        ev.a = x;
        ev.b = y;
        plat_script_add(ev);
        when += 20;
    }
}

// While the bid buttons wait: look once, then click the next choice.
void look_and_click() {
    if (!app_active || screen_depth != 2 || decision_last_kind() != DECIDE_AUCTION_BID) return;
    const uint32_t now = plat_tick_count();
    if (now < seen.last + 400 || clicks_to_give == 0) return;
    seen.last = now;
    if (seen.asked++ == 0) {
        seen.depth_ok = true;
        seen.picture_pixels =
            differing({AUCTION_PICTURE_X, AUCTION_PICTURE_Y, AUCTION_PICTURE_X + AUCTION_PICTURE_W,
                       AUCTION_PICTURE_Y + AUCTION_PICTURE_H});
        seen.row_pixels = differing(auction_row_rect(0));
        for (int c = 0; c < AUCTION_CHOICES; ++c)
            seen.button_pixels += differing(auction_button_rect(c));
        seen.balloon_pixels =
            bright({AUCTION_BALLOON_X, AUCTION_BALLOON_Y, AUCTION_BALLOON_X + AUCTION_BALLOON_W,
                    AUCTION_BALLOON_Y + AUCTION_BALLOON_H});
        seen.jailed_row_grey = grey(auction_row_rect(1));
        PopupTest::save_shot("auction_window");
    }
    click_at(now + 50, *click_order++);
    --clicks_to_give;
}

class AuctionScreen : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        ASSERT_TRUE(test_board_load(TestBoardSize{8, 4, 2, 1, 1}));
        game_player_count = 3;
        for (int p = 0; p < 3; ++p) {
            player_table[p].control = CTRL_COMPUTER;
            player_table[p].character = static_cast<uint8_t>(p * 4);
            player_table[p].name = player_table[p].character;
            player_table[p].cash = 5000;
        }
        player_table[0].control = CTRL_HUMAN;
        player_table[1].jail_days = 3;      // shown with its reason
        player_table[2].control = CTRL_OUT; // no seat
        std::strcpy(map_lot_table[1].street, "Harbour");
        map_lot_table[1].land_price = 1000;
        paint_screen(BACKGROUND);
        app_active = 1;
        seen = Seen{};
        shown_clear();
        plat_set_cursor_hook(look_and_click);
    }
    // Three computers with money, free to bid, on a fresh board.
    static void SetUpState() {
        game_world_reset();
        test_board_load(TestBoardSize{8, 4, 2, 1, 1});
        game_player_count = 3;
        for (int p = 0; p < 3; ++p) {
            player_table[p].control = CTRL_COMPUTER;
            player_table[p].character = static_cast<uint8_t>(p + 1);
            player_table[p].name = player_table[p].character;
            player_table[p].cash = 30000 + 4000 * p;
        }
        map_lot_table[1].land_price = 1000;
        map_lot_table[2].owner = owner_of_seat(1); // one plot owned: the limits differ
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        game_world_reset();
        PopupTest::TearDown();
    }
};

TEST_F(AuctionScreen, AnUncoveredRaiseIsRefusedACoveredOneBuysAndTheBoardComesBack) {
    static const int order[] = {5, 3}; // +10000 beyond the cash, then +1000
    click_order = order;
    clicks_to_give = 2;
    EXPECT_EQ(auction_run(-1, LOT1, 1), 1);
    EXPECT_EQ(seen.asked, 2) << "the refused raise left the buttons waiting";
    EXPECT_TRUE(seen.depth_ok);
    EXPECT_GT(seen.picture_pixels, AUCTION_PICTURE_W * AUCTION_PICTURE_H * 9 / 10)
        << "the property's picture";
    EXPECT_GT(seen.row_pixels, AUCTION_ROW_W * AUCTION_ROW_H / 2) << "seat 0's row";
    const PlatRect button = auction_button_rect(0);
    EXPECT_GT(seen.button_pixels, AUCTION_CHOICES * (button.right - button.left) *
                                      (button.bottom - button.top) * 9 / 10)
        << "the seven buttons";
    EXPECT_GT(seen.balloon_pixels, AUCTION_BALLOON_W * AUCTION_BALLOON_H / 3)
        << "the host's balloon";
    EXPECT_GT(seen.jailed_row_grey, AUCTION_ROW_W * AUCTION_ROW_H * 9 / 10)
        << "the jailed seat's row greyed";
    EXPECT_EQ(shown_count(Shown::Effect, ui_effects[UI_REFUSED].entry), 1u) << "one refusal";
    EXPECT_EQ(map_lot_table[1].owner, 1);
    EXPECT_EQ(player_table[0].cash, 5000 - 2000);
    EXPECT_EQ(lotto_jackpot, 2000);
    EXPECT_GE(shown_count(Shown::BoardRefresh, -1), 1u) << "the board repainted after";
    EXPECT_EQ(shown_count(Shown::Music, 5), 1u);
    EXPECT_EQ(screen_depth, 0);
}

TEST_F(AuctionScreen, TheRightButtonPassesAndALoneBidderWhoPassesMakesItVoid) {
    static const int none[] = {0};
    click_order = none;
    clicks_to_give = 0; // nothing clicked: a right click instead
    PlatScriptEvent ev{};
    ev.time = plat_tick_count() + 6000; // the opening lines have been said
    ev.kind = SCRIPT_RIGHT_DOWN;
    plat_script_add(ev);
    ev.time += 20;
    ev.kind = SCRIPT_RIGHT_UP;
    plat_script_add(ev);
    EXPECT_EQ(auction_run(-1, LOT1, 0), 0);
    EXPECT_EQ(map_lot_table[1].owner, 0);
    EXPECT_EQ(player_table[0].cash, 5000);
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0148"), nullptr);
    EXPECT_EQ(shown_count(Shown::Music), 0u);
}

TEST_F(AuctionScreen, ComputersBidAlikeWithTheWindowShownAndWithNothingShown) {
    struct Outcome {
        int sold, owner;
        bool window;
        int32_t cash[3];
        uint32_t seed;
    };
    auto play = [](bool shown) {
        SetUpState();
        PlatSurface* kept = back_surface;
        if (!shown) back_surface = nullptr;
        game_srand(99);
        shown_clear();
        Outcome o{};
        o.sold = auction_run(-1, LOT1, 0);
        o.window = shown_count(Shown::Panel, AUCTION_SET_ENTRY) > 0;
        back_surface = kept;
        o.owner = map_lot_table[1].owner;
        for (int p = 0; p < 3; ++p)
            o.cash[p] = player_table[p].cash;
        o.seed = game_rand_seed();
        return o;
    };
    clicks_to_give = 0;
    const Outcome shown = play(true);
    const Outcome hidden = play(false);
    EXPECT_TRUE(shown.window);
    EXPECT_FALSE(hidden.window);
    EXPECT_EQ(shown.sold, 1);
    EXPECT_EQ(shown.sold, hidden.sold);
    EXPECT_EQ(shown.owner, hidden.owner);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(shown.cash[p], hidden.cash[p]) << p;
    EXPECT_EQ(shown.seed, hidden.seed) << "the same draws from the generator";
}

} // namespace
