// A human's share offer on a display during his board turn: the yes/no
// pop-up answered by its hot key, then the count typed on the number pad.
#include "finance/stock_offer.h"

#include <gtest/gtest.h>

#include "board/board_screen.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/landing.h"
#include "board/map.h"
#include "board/status.h"
#include "board/world_reset.h"
#include "data/characters.h"
#include "engine/shown.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "support/popup_fixture.h"

namespace {

class ShareOfferSession : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        app_active = 1;
        game_map = 1;
        game_player_count = 2;
        game_start_money = 50000;
        for (int p = 0; p < 2; ++p) {
            player_table[p] = character_table[p * 3];
            player_table[p].setup_control = p == 0 ? CTRL_HUMAN : CTRL_COMPUTER;
        }
        stock_new_game(game_map);
        ASSERT_TRUE(map_load()) << map_last_error();
        for (int p = 0; p < 2; ++p) {
            player_table[p].control = p == 0 ? CTRL_HUMAN : CTRL_COMPUTER;
            player_table[p].cash = 100000;
        }
        game_active_mover = 0;
        board_load_graphics();
        screen_push_board(0);
    }
    void TearDown() override {
        screen_pop_board();
        board_free_graphics();
        game_world_reset();
        PopupTest::TearDown();
    }
    void key(uint32_t at_ms, uint32_t vk) {
        key_down(at_ms, vk);
        key_up(at_ms + 5, vk);
    }
};

TEST_F(ShareOfferSession, TheCountIsTypedOnTheNumberPadAfterAYes) {
    // A listed company without a chairman and the square that serves it.
    int company = 0, square = 0;
    for (int c = 1; c <= map_company_count && company == 0; ++c) {
        const CompanyBuilding& b = map_company_table[c];
        if (b.listed < STOCK_COUNT && stock_company(b.listed) == &b && b.own_shares >= 12)
            for (int s = 1; s <= map_square_count; ++s)
                if (map_square_table[s].object == object_code(OBJ_COMPANY_BASE, c)) {
                    company = c;
                    square = s;
                    break;
                }
    }
    ASSERT_NE(company, 0) << "the stand-in map lists a company with a building";
    CompanyBuilding& c = map_company_table[company];
    c.chairman = OWNER_NONE;
    c.value = 200000; // 20 a share
    const int stock = c.listed;
    const int32_t own = c.own_shares;

    const uint32_t t0 = plat_tick_count();
    key(t0 + 100, 'Y');
    key(t0 + 300, '1');
    key(t0 + 350, '2');
    key(t0 + 400, VK_RETURN);
    shown_clear();
    player_table[0].square = static_cast<uint16_t>(square);
    EXPECT_EQ(land_on_square(square), LAND_WAIT_PROPERTY);
    EXPECT_EQ(shown_count(Shown::Question), 1u);
    EXPECT_EQ(shown_count(Shown::Panel, 21), 1u) << "the number pad was shown";
    EXPECT_EQ(stock_holdings[0][stock].shares, 12);
    EXPECT_EQ(player_table[0].cash, 100000 - 12 * 20);
    EXPECT_EQ(c.own_shares, own - 12);
}

} // namespace
