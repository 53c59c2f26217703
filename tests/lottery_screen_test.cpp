// The lottery's windows under scripted mouse: the ticket window with its 36
// numbers (an owned one darkened and ignored when clicked), the holders and
// the jackpot; a free number bought by a click, the right button leaving;
// the draw window with the drum and the drawn number. The screen is looked
// at from the platform's cursor hook while each window waits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "finance/lottery.h"
#include "finance/lottery_screen.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x1234;

struct Seen {
    bool ticket = false, drum = false;
    int ticket_pixels = 0, holder_pixels = 0, jackpot_pixels = 0, drum_pixels = 0;
    long owned_light = 0, free_light = 0; // summed channels of cell 1 and cell 2
};
Seen seen;
// The clicks to give at the ticket window: x, y pairs; a negative x a right click.
const int* clicks = nullptr;
int clicks_left = 0;
uint32_t next_click = 0;

long light(const PlatRect& r) {
    long sum = 0;
    for (int y = r.top + 4; y < r.bottom - 4; ++y)
        for (int x = r.left + 4; x < r.right - 4; ++x) {
            const uint16_t p = PopupTest::screen_at(x, y);
            sum += (p >> 11) + ((p >> 5) & 0x3F) / 2 + (p & 0x1F);
        }
    return sum;
}

int differing(int l, int t, int r, int b) {
    return PopupTest::screen_differs(l, t, r, b, BACKGROUND);
}

void shot(const char* name) {
    PopupTest::save_shot(name);
}

void add(uint32_t when, PlatScriptKind kind, int x, int y) {
    PlatScriptEvent ev{};
    ev.time = when;
    ev.kind = kind;
    ev.a = x;
    ev.b = y;
    plat_script_add(ev);
}

void watch() {
    if (!app_active || screen_depth != 1) return;
    const uint32_t now = plat_tick_count();
    if (decision_last_kind() == DECIDE_LOTTERY_NUMBER && clicks_left > 0 && now >= next_click) {
        if (!seen.ticket) {
            seen.ticket = true;
            const PlatRect last = lotto_cell_rect(LOTTO_NUMBERS);
            seen.ticket_pixels = differing(LOTTO_CELL_X0, LOTTO_CELL_Y0, last.right, last.bottom);
            const int holder_y = lotto_holder_slots[0].y + LOTTO_TICKET_HOLDERS_DY;
            seen.holder_pixels =
                differing(lotto_holder_slots[0].x, holder_y,
                          lotto_holder_slots[0].x + LOTTO_HOLDER_W, holder_y + LOTTO_HOLDER_H);
            seen.jackpot_pixels = differing(LOTTO_TICKET_JACKPOT_X, LOTTO_TICKET_JACKPOT_Y,
                                            LOTTO_TICKET_JACKPOT_X + LOTTO_JACKPOT_W,
                                            LOTTO_TICKET_JACKPOT_Y + LOTTO_JACKPOT_H);
            seen.owned_light = light(lotto_cell_rect(1));
            seen.free_light = light(lotto_cell_rect(2));
            shot("lottery_ticket");
        }
        next_click = now + 300;
        const int x = clicks[0], y = clicks[1];
        clicks += 2;
        --clicks_left;
        if (x < 0) {
            add(now + 50, SCRIPT_RIGHT_DOWN, 300, 100);
            add(now + 70, SCRIPT_RIGHT_UP, 300, 100);
        } else {
            add(now + 50, SCRIPT_LEFT_DOWN, x, y);
            add(now + 70, SCRIPT_LEFT_UP, x, y);
        }
    }
}

// The draw window: its drum seen while it turns, the number after.
void watch_draw() {
    if (!app_active) return;
    if (screen_depth == 1 && shown_count(Shown::Panel, LOTTO_DRUM_ENTRY) == 1 && !seen.drum) {
        seen.drum = true;
        seen.drum_pixels = differing(LOTTO_DRUM_X, LOTTO_DRUM_Y, LOTTO_DRUM_X + LOTTO_DRUM_SIZE,
                                     LOTTO_DRUM_Y + LOTTO_DRUM_SIZE);
        shot("lottery_draw_drum");
    }
    if (shown_find_text(Shown::Balloon, "#0036") && !seen.ticket) {
        seen.ticket = true; // the last line: the whole window once
        shot("lottery_draw_end");
    }
}

class LotteryScreen : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        game_player_count = 3;
        for (int p = 0; p < 3; ++p) {
            player_table[p].control = CTRL_COMPUTER;
            player_table[p].character = static_cast<uint8_t>(p + 5);
            player_table[p].cash = 5000;
        }
        player_table[0].control = CTRL_HUMAN;
        game_active_mover = 0;
        lotto_owners[0] = owner_of_seat(1); // number 1 is player 1's
        lotto_owners[20] = owner_of_seat(1);
        lotto_jackpot = 31000;
        paint_screen(BACKGROUND);
        app_active = 1;
        seen = Seen{};
        next_click = 0;
        shown_clear();
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        game_world_reset();
        PopupTest::TearDown();
    }
};

TEST_F(LotteryScreen, AClickOnAFreeNumberBuysItAndAnOwnedOneIsIgnored) {
    const PlatRect one = lotto_cell_rect(1), fourteen = lotto_cell_rect(14);
    static int order[4];
    order[0] = one.left + 30, order[1] = one.top + 20;           // owned: nothing
    order[2] = fourteen.left + 30, order[3] = fourteen.top + 20; // free: bought
    clicks = order;
    clicks_left = 2;
    plat_set_cursor_hook(watch);
    lotto_visit();
    EXPECT_TRUE(seen.ticket);
    EXPECT_EQ(clicks_left, 0) << "the owned number left the window waiting";
    EXPECT_EQ(lotto_owners[13], 1);
    EXPECT_EQ(lotto_owners[0], 2);
    EXPECT_EQ(player_table[0].cash, 4000);
    EXPECT_EQ(lotto_jackpot, 32000);
    constexpr int ticket_area = LOTTO_NUMBERS * LOTTO_CELL_W * LOTTO_CELL_H;
    EXPECT_GT(seen.ticket_pixels, ticket_area * 9 / 10) << "the ticket";
    EXPECT_GT(seen.holder_pixels, LOTTO_HOLDER_W * LOTTO_HOLDER_H / 2)
        << "the first holder's panel above the ticket";
    EXPECT_GT(seen.jackpot_pixels, LOTTO_JACKPOT_W * LOTTO_JACKPOT_H / 2);
    EXPECT_LT(seen.owned_light * 10, seen.free_light * 8) << "an owned number is darkened";
    EXPECT_EQ(shown_count(Shown::Music, 6), 1u);
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0014"), nullptr);
    EXPECT_GE(shown_count(Shown::BoardRefresh, -1), 1u) << "the board repainted after";
    EXPECT_EQ(screen_depth, 0);
}

TEST_F(LotteryScreen, TheRightButtonLeavesWithoutANumber) {
    cursor_start();
    static const int order[] = {-1, -1};
    clicks = order;
    clicks_left = 1;
    plat_set_cursor_hook(watch);
    lotto_visit();
    EXPECT_EQ(lotto_free_count(), 34);
    EXPECT_EQ(player_table[0].cash, 5000);
    EXPECT_NE(shown_find_text(Shown::Balloon, "#0016"), nullptr);
    EXPECT_EQ(cursor_state.first, 41) << "the usual pointer after the ticket window";
    EXPECT_EQ(cursor_state.frame_count, 1);
}

TEST_F(LotteryScreen, TheDrawTurnsTheDrumShowsTheNumberAndPaysAtTheEnd) {
    for (int n = 2; n <= 12; ++n)
        lotto_owners[n - 1] = owner_of_seat(2); // player 2 holds eleven: a sure hit
    plat_set_cursor_hook(watch_draw);
    lotto_monthly_draw();
    EXPECT_TRUE(seen.drum);
    EXPECT_GT(seen.drum_pixels, LOTTO_DRUM_SIZE * LOTTO_DRUM_SIZE / 2) << "the drum";
    EXPECT_EQ(lotto_jackpot, 0);
    EXPECT_EQ(player_table[1].cash + player_table[2].cash, 10000 + 31000);
    EXPECT_EQ(shown_count(Shown::Music, 8), 1u);
    EXPECT_GE(shown_count(Shown::BoardRefresh, -1), 1u);
    EXPECT_EQ(screen_depth, 0);
}

TEST_F(LotteryScreen, TheDrawPlaysAlikeWithTheWindowShownAndWithNothingShown) {
    auto draw = [](bool shown) {
        for (int n = 1; n <= LOTTO_NUMBERS; ++n)
            lotto_owners[n - 1] = Owner{static_cast<uint8_t>(n % 4 == 0 ? 0 : 1 + n % 3)};
        lotto_jackpot = 7000;
        for (int p = 0; p < 3; ++p)
            player_table[p].cash = 5000;
        PlatSurface* kept = back_surface;
        if (!shown) back_surface = nullptr;
        game_srand(1234);
        shown_clear();
        lotto_monthly_draw();
        back_surface = kept;
        // The window's balloons wait their time only when shown.
        EXPECT_EQ(shown_count(Shown::Wait) > 1, shown);
        std::vector<int32_t> out = {lotto_jackpot, lotto_free_count(),
                                    static_cast<int32_t>(game_rand_seed())};
        for (int p = 0; p < 3; ++p)
            out.push_back(player_table[p].cash);
        return out;
    };
    const std::vector<int32_t> shown = draw(true);
    EXPECT_EQ(shown, draw(false));
}

TEST_F(LotteryScreen, ClosingTheProgramWhileTheHostSpeaksEndsTheDrawWithoutWaiting) {
    for (int n = 2; n <= 12; ++n)
        lotto_owners[n - 1] = owner_of_seat(2);
    close_window(plat_tick_count() + 1000);
    const uint32_t start = plat_tick_count();
    lotto_monthly_draw();
    EXPECT_TRUE(plat_close_requested());
    EXPECT_LT(plat_tick_count() - start, 4000u) << "the remaining lines did not wait";
    EXPECT_EQ(lotto_jackpot, 0) << "the rules still ran to their end";
    EXPECT_EQ(lotto_free_count(), LOTTO_NUMBERS);
}

} // namespace
