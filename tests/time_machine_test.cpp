// The time machine: snapshot images at their offsets, the round trip of
// every block, what a restore brings back and what it leaves, the seats that
// take snapshots, clearing at a map load, refused images, and the
// construction vehicle's arrival test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "cards/item_use.h"
#include "cards/news_deck.h"
#include "cards/time_machine.h"
#include "data/stock_initial.h"
#include "engine/record_io.h"
#include "finance/lottery.h"
#include "finance/notice_board.h"
#include "finance/stock.h"
#include "finance/trading.h"
#include "support/test_board.h"

namespace {

constexpr int USER = 1;

// Every saved block holds values of its own, different for each seed.
void fill_state(int seed) {
    game_date = 0x07CE0100u + static_cast<uint32_t>(seed);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        PlayerRecord& r = player_table[p];
        r.character = static_cast<uint8_t>(p * 2 + seed % 2);
        r.name = r.character;
        r.cash = 1000 * (p + 1) + seed;
        r.deposit = 50 + seed;
        r.square = static_cast<uint16_t>(1 + p);
        r.jail_days = 0;
    }
    player_table[USER].control = CTRL_HUMAN;
    for (int w = 0; w < WALKER_COUNT; ++w)
        walker_table[w].memory = static_cast<uint8_t>(seed + w);
    for (int g = GOD_FIRST_SLOT; g <= GOD_LAST_SLOT; ++g)
        god_table[g].days = static_cast<uint8_t>(g + seed);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        player_cards[p] = {};
        player_cards[p][0] = static_cast<uint8_t>(1 + (p + seed) % 30);
        player_items[p] = {};
        player_items[p][p] = static_cast<uint8_t>(1 + seed % 9);
    }
    card_stock[3] = static_cast<uint8_t>(seed);
    item_stock[7] = static_cast<uint8_t>(seed + 1);
    stock_history_day = seed % 144;
    stock_price_history[11][143] = 12.5f + static_cast<float>(seed);
    stock_holdings[3][11].shares = 700 + seed;
    stock_table[11].price = 33.25f + static_cast<float>(seed);
    stock_rebind_names(game_map);
    notice_board[3][6].asking = 4242 + seed;
    game_price_index = 2 + seed;
    game_days_elapsed = 40 + seed;
    game_months_elapsed = 1 + seed;
    stock_closed_days = seed;
    stock_index_base = 9000 + seed;
    stock_market_index = 9100 + seed;
    stock_market_trend = 0.5f + static_cast<float>(seed);
    lotto_jackpot = 60000 + seed;
    lotto_owners[35] = Owner{static_cast<uint8_t>(1 + seed % 4)};
    jail_flags[7] = static_cast<uint8_t>(seed % 2);
    hospital_flags[6] = static_cast<uint8_t>((seed + 1) % 2);
    for (int i = 0; i < NEWS_EVENT_COUNT; ++i)
        news_deck[i] = static_cast<uint8_t>((i + seed) % NEWS_EVENT_COUNT);
    for (int i = 0; i < FATE_SLOT_COUNT; ++i)
        fate_deck[i] = static_cast<uint8_t>((i + seed) % FATE_SLOT_COUNT);
    news_cursor = seed % NEWS_EVENT_COUNT;
    fate_cursor = seed % FATE_SLOT_COUNT;
    if (map_lot_table) map_lot_table[1].owner = owner_of_seat(seed % 4);
}

// The offset of the first byte where two images differ, -1 when equal.
long first_difference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    const auto d = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return d.first == a.end() && d.second == b.end() ? -1 : d.first - a.begin();
}

class TimeMachine : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        ASSERT_TRUE(test_board_load());
        snapshot_prepare_slots(map_data_size);
        game_player_count = 4;
        game_active_mover = USER;
        fill_state(1);
    }
    static std::vector<uint8_t> image(int seat) {
        std::vector<uint8_t> out(SNAPSHOT_IMAGE_SIZE, 0xEE);
        snapshot_image_write(seat, out.data());
        return out;
    }
};

TEST_F(TimeMachine, TheImageHoldsEachBlockAtItsOffset) {
    snapshot_take();
    const std::vector<uint8_t> im = image(USER);
    const uint8_t* b = im.data();
    EXPECT_EQ(le_get32(b + 0), 1u);
    EXPECT_EQ(le_get32(b + 4), game_date);
    EXPECT_EQ(static_cast<int32_t>(le_get32(b + 8 + 104 * 2 + 28)), player_table[2].cash);
    EXPECT_EQ(b[424 + 16 * 4 + 11], walker_table[4].memory);
    EXPECT_EQ(b[504 + 4], god_table[1].days) << "slot 1 first";
    EXPECT_EQ(b[504 + 24 * 45 + 4], god_table[46].days);
    EXPECT_EQ(b[1608 + 15 * 3], player_cards[3][0]);
    EXPECT_EQ(b[1668 + 15 * 3 + 3], player_items[3][3]);
    EXPECT_EQ(b[1728 + 3], card_stock[3]);
    EXPECT_EQ(b[1758 + 7], item_stock[7]);
    EXPECT_EQ(b[1766], 0);
    EXPECT_EQ(b[1767], 0);
    EXPECT_EQ(static_cast<int32_t>(le_get32(b + 1768)), stock_history_day);
    float f;
    uint32_t bits = le_get32(b + 1772 + 4 * (11 * 144 + 143));
    std::memcpy(&f, &bits, 4);
    EXPECT_EQ(f, stock_price_history[11][143]);
    EXPECT_EQ(static_cast<int32_t>(le_get32(b + 8684 + 8 * 47)), stock_holdings[3][11].shares);
    bits = le_get32(b + 9068 + 36 * 11 + 20);
    std::memcpy(&f, &bits, 4);
    EXPECT_EQ(f, stock_table[11].price);
    EXPECT_EQ(static_cast<int32_t>(le_get32(b + 9500 + 12 * 27 + 4)), notice_board[3][6].asking);
    const int32_t values[] = {game_price_index,  game_days_elapsed, game_months_elapsed,
                              stock_closed_days, stock_index_base,  stock_market_index};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(static_cast<int32_t>(le_get32(b + 9836 + 4 * i)), values[i]) << i;
    bits = le_get32(b + 9860);
    std::memcpy(&f, &bits, 4);
    EXPECT_EQ(f, stock_market_trend);
    EXPECT_EQ(static_cast<int32_t>(le_get32(b + 9864)), lotto_jackpot);
    EXPECT_EQ(b[9868 + 35], lotto_owners[35]);
    EXPECT_EQ(b[9904 + 7], jail_flags[7]);
    EXPECT_EQ(b[9912 + 6], hospital_flags[6]);
    EXPECT_EQ(static_cast<int32_t>(le_get32(b + 9920)), news_cursor);
    EXPECT_EQ(static_cast<int32_t>(le_get32(b + 9924)), fate_cursor);
    EXPECT_EQ(b[9928 + 35], news_deck[35]);
    EXPECT_EQ(b[9964 + 36], fate_deck[36]);
    for (size_t at : {size_t{10001}, size_t{10002}, size_t{10003}})
        EXPECT_EQ(b[at], 0) << "padding";
    EXPECT_EQ(le_get32(b + 10004), 0u) << "the map pointer means nothing in a file";
}

TEST_F(TimeMachine, EveryBlockSurvivesTheImageAndARestore) {
    snapshot_take();
    const std::vector<uint8_t> first = image(USER);
    const std::vector<uint8_t> map_before = snapshot_slots[USER].map_copy;
    snapshot_slots[USER] = GameSnapshot{};
    snapshot_slots[USER].map_copy = map_before;
    std::string error;
    ASSERT_TRUE(snapshot_image_read(USER, first.data(), game_player_count, &error)) << error;
    EXPECT_EQ(first_difference(image(USER), first), -1) << "read back, written again: the same";

    fill_state(2);
    ASSERT_EQ(snapshot_restore(), 1);
    snapshot_take();
    EXPECT_EQ(first_difference(image(USER), first), -1)
        << "the restored game is the one snapshotted";
    EXPECT_EQ(map_lot_table[1].owner, 1 + 1 % 4) << "the board came back from the map copy";
}

TEST_F(TimeMachine, ARestoreBindsNamesAnewAndGivesBackEveryPlayersStateButNotTheTurn) {
    snapshot_take();
    snapshot_slots[USER].players[0].name = 99;
    snapshot_slots[USER].stocks[11].name = 77;
    game_travel_mode = 2;
    game_land_term = 3;
    game_day_limit = 90;
    game_asset_target = 5;
    view_rotation = 6;
    game_player_count = 3;
    fill_state(5);
    player_table[0].cash = -1;
    player_cards[2] = {};
    ASSERT_EQ(snapshot_restore(), 1);
    EXPECT_EQ(player_table[0].name, player_table[0].character) << "a stale name is not kept";
    EXPECT_EQ(stock_table[11].name, stock_initial_table[game_map][11].name);
    EXPECT_EQ(player_table[0].cash, 1001) << "another player's money comes back too";
    EXPECT_EQ(player_cards[2][0], 1 + (2 + 1) % 30);
    EXPECT_EQ(stock_history_day, 1);
    EXPECT_EQ(stock_price_history[11][143], 13.5f);
    EXPECT_EQ(map_lot_table[1].owner, 2);
    EXPECT_EQ(game_active_mover, USER) << "the user plays on in the same turn";
    EXPECT_EQ(game_travel_mode, 2);
    EXPECT_EQ(game_land_term, 3);
    EXPECT_EQ(game_day_limit, 90);
    EXPECT_EQ(game_asset_target, 5);
    EXPECT_EQ(view_rotation, 6);
    EXPECT_EQ(game_player_count, 3);
    EXPECT_EQ(snapshot_slots[USER].valid, 1) << "a second time machine goes to the same moment";
    EXPECT_EQ(snapshot_slots[0].valid, 0) << "other seats' slots untouched";
}

TEST_F(TimeMachine, ARestoreIntoJailPutsTheUserBackBehindBarsAndEndsHisTurn) {
    player_table[USER].jail_days = 2;
    jail_flags[USER] = 1;
    snapshot_take(); // the turn lost to the jail counter
    player_table[USER].jail_days = 0;
    jail_flags[USER] = 0;
    board_input_enabled = 1; // days later, free, before his go click
    actor_anim_table[USER].phase = PHASE_DICE;
    turn_running = 0;
    ASSERT_EQ(snapshot_restore(), 1);
    EXPECT_EQ(player_table[USER].jail_days, 2);
    EXPECT_EQ(jail_flags[USER], 1);
    EXPECT_EQ(board_input_enabled, 0) << "no go button in jail";
    EXPECT_EQ(actor_anim_table[USER].phase, PHASE_WAIT);
    EXPECT_EQ(actor_anim_table[USER].wait, ANIM_WAIT_ENDS_TURN | 3) << "the turn ends";
    EXPECT_EQ(turn_running, 1);

    player_table[USER].jail_days = 0;
    jail_flags[USER] = 0;
    snapshot_take(); // a free start of a move
    actor_anim_table[USER].phase = PHASE_DICE;
    ASSERT_EQ(snapshot_restore(), 1);
    EXPECT_EQ(actor_anim_table[USER].phase, PHASE_DICE) << "a free user plays on";
}

TEST_F(TimeMachine, NoValidSlotRestoresNothing) {
    player_table[0].cash = 5;
    EXPECT_EQ(snapshot_restore(), 0);
    EXPECT_EQ(player_table[0].cash, 5);
    game_active_mover = MOVER_THIEF;
    EXPECT_EQ(snapshot_restore(), 0) << "a walker has no slot";
}

TEST_F(TimeMachine, OnlyHumanSeatsTakeSnapshotsAlsoWhenHandedOver) {
    struct Case {
        int mover;
        uint8_t control;
        int valid;
    };
    const Case cases[] = {{0, CTRL_COMPUTER, 0},
                          {2, CTRL_HUMAN | CTRL_HANDED_OVER, 1},
                          {3, CTRL_OUT, 0},
                          {MOVER_SPY, CTRL_HUMAN, 0}};
    for (const Case& c : cases) {
        game_active_mover = c.mover;
        if (is_player_seat(c.mover)) player_table[c.mover].control = c.control;
        snapshot_take();
        if (is_player_seat(c.mover)) {
            EXPECT_EQ(snapshot_slots[c.mover].valid, c.valid) << c.mover;
        }
    }
    for (int p = 0; p < PLAYER_COUNT; ++p)
        if (p != 2) {
            EXPECT_EQ(snapshot_slots[p].valid, 0) << p;
        }
}

TEST_F(TimeMachine, AMapLoadClearsEverySlotAndFreeingDropsTheCopies) {
    snapshot_take();
    ASSERT_EQ(snapshot_slots[USER].map_copy.size(), map_data_size);
    snapshot_prepare_slots(100);
    for (const GameSnapshot& s : snapshot_slots) {
        EXPECT_EQ(s.valid, 0);
        EXPECT_EQ(s.map_copy, std::vector<uint8_t>(100, 0));
    }
    snapshot_take();
    map_free();
    for (const GameSnapshot& s : snapshot_slots) {
        EXPECT_EQ(s.valid, 0);
        EXPECT_TRUE(s.map_copy.empty());
    }
}

TEST_F(TimeMachine, ADamagedImageIsRefusedWholeAndClearedSlotsPass) {
    snapshot_take();
    const std::vector<uint8_t> good = image(USER);
    struct Case {
        size_t at;
        uint8_t value;
        const char* named;
    };
    const Case cases[] = {
        {0, 2, "valid is 2"},
        {9928 + 1, 0, "news deck"},
        {9964 + 36, 37, "fate deck"},
        {9920, 36, "news deck"},
        {9924, 37, "fate deck"},
        {1768, 144, "price history position"},
        {1608 + 5, 7, "after an empty slot"},
        {1608, 31, "no card id"},
        {1668 + 2, 10, "item byte 2"},
        {1668 + 13, 1, "item byte 13"},
        {8 + 19, 12, "character 12"},
        {9868 + 4, 5, "lottery number 5 owned by 5"},
        {9500, 5, "bulletin board"},          // no such offer type
        {9500 + 12 * 3, 1, "bulletin board"}, // an offer after an empty slot
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bad = good;
        bad[c.at] = c.value;
        std::string error;
        snapshot_slots[0] = GameSnapshot{};
        EXPECT_FALSE(snapshot_image_read(0, bad.data(), game_player_count, &error)) << c.named;
        EXPECT_NE(error.find(c.named), std::string::npos) << error;
        EXPECT_EQ(snapshot_slots[0].valid, 0) << "nothing read: " << c.named;
    }
    std::vector<uint8_t> cleared(SNAPSHOT_IMAGE_SIZE, 0);
    cleared[9928] = 200; // a slot that is not valid is not looked into
    std::string error;
    EXPECT_TRUE(snapshot_image_read(0, cleared.data(), game_player_count, &error)) << error;
    EXPECT_FALSE(snapshot_image_read(4, good.data(), game_player_count, &error)) << "no such seat";
}

// An image is checked against the seats of the game it belongs to, whatever
// game is running (none at the title).
TEST_F(TimeMachine, AnImageIsCheckedAgainstTheCountItIsGiven) {
    snapshot_take();
    std::vector<uint8_t> third_seat = image(USER);
    third_seat[SNAP_LOTTO_OWNERS + 7] = 3;
    third_seat[SNAP_NOTICES + NOTICE_OFFER_SIZE * NOTICE_SLOTS * 2] = 1;
    for (const int running : {0, 2, 4}) {
        game_player_count = running;
        std::string error;
        EXPECT_TRUE(snapshot_image_check(third_seat.data(), 3, &error)) << running << error;
        EXPECT_FALSE(snapshot_image_check(third_seat.data(), 2, &error)) << running;
    }
    std::vector<uint8_t> offer_only = image(USER);
    offer_only[SNAP_NOTICES + NOTICE_OFFER_SIZE * NOTICE_SLOTS * 2] = 1;
    EXPECT_TRUE(snapshot_image_check(offer_only.data(), 3, nullptr));
    EXPECT_FALSE(snapshot_image_check(offer_only.data(), 2, nullptr)) << "an offer of seat 2";
}

TEST_F(TimeMachine, TheConstructionVehicleRazesOnlyAnotherOwnersBuilding) {
    // Square 1 serves plot 2001, square 2 facility 4001, square 3 nothing.
    map_square_table[1].object = 2001;
    map_square_table[2].object = 4001;
    map_square_table[4].object = 2002;
    map_lot_table[1].owner = owner_of_seat(0);
    map_lot_table[1].level = 2;
    map_facility_table[1].owner = OWNER_NONE;
    map_facility_table[1].level = 1;
    map_lot_table[2].owner = owner_of_seat(USER);
    map_lot_table[2].level = 3;
    struct Case {
        int square;
        uint8_t travel, control, sleepwalk, hotel;
        bool razes;
        const char* why;
    };
    const Case cases[] = {
        {1, 0x1F, CTRL_HUMAN, 0, 0, true, "another player's houses"},
        {2, 0x0B, CTRL_COMPUTER, 0, 0, true, "a built facility of nobody"},
        {4, 0x1F, CTRL_HUMAN, 0, 0, false, "the rider's own building"},
        {3, 0x1F, CTRL_HUMAN, 0, 0, false, "no plot or facility"},
        {1, 0x02, CTRL_HUMAN, 0, 0, false, "riding a car"},
        {1, 0x9F, CTRL_HUMAN, 0, 0, false, "bit 7 set: not the vehicle"},
        {1, 0x1F, CTRL_OUT, 0, 0, false, "out of the game"},
        {1, 0x1F, CTRL_HUMAN, 2, 0, false, "sleepwalking"},
        {1, 0x1F, CTRL_HUMAN, 0, 1, false, "in a hotel"},
    };
    for (const Case& c : cases) {
        PlayerRecord& r = player_table[USER];
        r.travel = c.travel;
        r.control = c.control;
        r.sleepwalk_days = c.sleepwalk;
        r.hotel_days = c.hotel;
        actor_anim_table[USER].phase = PHASE_WAIT;
        actor_anim_table[USER].frame = 7;
        turn_running = 0;
        item_construction_vehicle_arrive(USER, c.square);
        EXPECT_EQ(actor_anim_table[USER].phase == PHASE_RAZE, c.razes) << c.why;
        EXPECT_EQ(turn_running == 1, c.razes) << c.why;
        if (c.razes) {
            EXPECT_EQ(actor_anim_table[USER].frame, 0) << c.why;
        }
    }
    map_lot_table[1].level = 0;
    player_table[USER] = PlayerRecord{};
    player_table[USER].control = CTRL_HUMAN;
    player_table[USER].travel = 0x1F;
    item_construction_vehicle_arrive(USER, 1);
    EXPECT_EQ(actor_anim_table[USER].phase, PHASE_WAIT) << "an unbuilt plot";
}

} // namespace
