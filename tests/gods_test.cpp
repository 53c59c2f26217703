#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/money.h"
#include "board/speech.h"
#include "board/spinner.h"
#include "board/view.h"
#include "cards/cards.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "support/encounter_board.h"

namespace {

int square_slot(int s) {
    return static_cast<int>((map_square_table[s].flags & SQF_GOD_MASK) >> SQF_GOD_SHIFT);
}

// Every standing slot is named by its square, every held slot by its holder.
void expect_slots_consistent() {
    for (int s = GOD_FIRST_SLOT; s <= GOD_LAST_SLOT; ++s) {
        const GodObject& g = god_table[s];
        if (g.holder != 0) {
            const PlayerRecord& r = player_table[g.holder - 1];
            EXPECT_TRUE(r.god_slot == s || r.bomb_slot == s) << "slot " << s;
            EXPECT_EQ(g.square, r.square) << "slot " << s;
        } else if (g.square != 0) {
            EXPECT_EQ(square_slot(g.square), s) << "slot " << s;
        }
    }
    for (int q = 1; q <= map_square_count; ++q) {
        const int s = square_slot(q);
        if (s == 0) continue;
        EXPECT_EQ(god_table[s].square, q);
        EXPECT_EQ(god_table[s].holder, 0);
    }
}

class GodsTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(encounter_board_setup(3)); }
    void TearDown() override { EXPECT_EQ(god_board_check(), ""); }
};

TEST_F(GodsTest, PlaceTakesTheKindsSlotsAndMarksTheSquare) {
    EXPECT_EQ(god_place(GK_ANGEL, 3, 0, 0), 9);
    EXPECT_EQ(square_slot(3), 9);
    // The slot faces from the square's first link (square 2, to the west) toward it.
    EXPECT_EQ(god_table[9].facing, map_direction(2, 3));
    EXPECT_EQ(god_place(GK_ANGEL, 4, 0, 0), 0); // its one slot is taken
    EXPECT_EQ(god_place(GK_DEATH, 5, 0, 0), 15);
    EXPECT_EQ(god_place(GK_DEATH, 6, 0, 0), 16);
    EXPECT_EQ(god_place(GK_DEATH, 1, 0, 0), 0);
    EXPECT_EQ(god_place(0, 1, 0, 0), 0);
    EXPECT_EQ(god_place(19, 1, 0, 0), 0);
    expect_slots_consistent();
}

TEST_F(GodsTest, EleventhRoadblockPlacesNothing) {
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(god_place(GK_ROADBLOCK, 1 + (i % 12), 0, 0), 17 + i);
    EXPECT_EQ(god_place(GK_ROADBLOCK, 12, 0, 0), 0);
    EXPECT_EQ(god_place(GK_MINE, 11, 0, 0), 27);
    EXPECT_EQ(god_place(GK_TIME_BOMB, 12, 0, 0), 37);
}

TEST_F(GodsTest, ASquareHoldsOneSlotOnly) {
    ASSERT_EQ(god_place(GK_MINE, 4, 0, 0), 27);
    EXPECT_EQ(god_place(GK_ROADBLOCK, 4, 0, 0), 0);
    EXPECT_EQ(god_table[17].square, 0);
    EXPECT_EQ(square_slot(4), 27);
    god_remove(27);
    EXPECT_EQ(god_place(GK_ROADBLOCK, 4, 0, 0), 17);
}

TEST_F(GodsTest, RemovedGodComesBackFarAwayAsItsCounterpart) {
    const struct {
        int slot, counterpart;
    } cases[] = {{1, 2}, {2, 1}, {3, 4}, {6, 5}, {9, 10}, {10, 9}, {11, 12}, {12, 11}};
    for (const auto& c : cases) {
        SetUp();
        game_srand(static_cast<uint32_t>(c.slot));
        ASSERT_EQ(god_place(god_table[c.slot].kind, 1, 0, 0), c.slot);
        god_remove(c.slot);
        EXPECT_EQ(god_table[c.slot].square, 0);
        EXPECT_EQ(square_slot(1), 0);
        const int back = god_table[c.counterpart].square;
        ASSERT_NE(back, 0) << c.slot;
        EXPECT_TRUE(std::abs(map_square_table[back].x - map_square_table[1].x) >= 300 ||
                    std::abs(map_square_table[back].y - map_square_table[1].y) >= 300);
        EXPECT_EQ((map_square_table[back].flags & SQF_TYPE_MASK), SQ_PROPERTY);
        expect_slots_consistent();
    }
}

TEST_F(GodsTest, RemovingPlacedItemsReturnsThemToTheShop) {
    const int before_rb = item_stock[1], before_bomb = item_stock[3];
    const int rb = god_place(GK_ROADBLOCK, 4, 0, 0);
    god_remove(rb);
    EXPECT_EQ(item_stock[1], before_rb + 1);
    EXPECT_EQ(square_slot(4), 0);
    // A carried bomb leaves its holder.
    const int bomb = god_place(GK_TIME_BOMB, 0, 38, 2);
    player_table[1].bomb_slot = static_cast<uint8_t>(bomb);
    god_table[bomb].square = player_table[1].square;
    god_remove(bomb);
    EXPECT_EQ(player_table[1].bomb_slot, 0);
    EXPECT_EQ(item_stock[3], before_bomb + 1);
    god_remove(0); // nothing
    expect_slots_consistent();
}

TEST_F(GodsTest, AttachAddsValuesAndDaysAndASecondGodMakesTheFirstLeave) {
    encounter_board_put(0, 3);
    god_place(GK_ANGEL, 3, 0, 0);
    god_attach(0, 3, 9);
    const PlayerRecord& r = player_table[0];
    EXPECT_EQ(r.god_slot, 9);
    EXPECT_EQ(god_table[9].holder, 1);
    EXPECT_EQ(god_table[9].days, 7);
    EXPECT_EQ(god_table[9].square, 3);
    EXPECT_EQ(square_slot(3), 0);
    EXPECT_EQ(r.ill_fortune, -100);
    EXPECT_EQ(r.money_luck, 60);
    EXPECT_EQ(r.mishap_luck, 60);

    god_place(GK_LAND_GOD, 4, 0, 0);
    god_attach(0, 4, 12);
    EXPECT_EQ(r.god_slot, 12);
    EXPECT_EQ(god_table[9].holder, 0);
    EXPECT_EQ(r.ill_fortune, -500);
    EXPECT_EQ(r.money_luck, 0);
    EXPECT_EQ(r.mishap_luck, 0);
    // The angel that left came back as the devil somewhere.
    EXPECT_NE(god_table[10].square, 0);
    expect_slots_consistent();

    // Nothing attaches for slot 0 or a kind that cannot attach.
    god_place(GK_DOG, 5, 0, 0);
    god_attach(1, 5, 11);
    god_attach(1, 0, 0);
    EXPECT_EQ(player_table[1].god_slot, 0);
    EXPECT_EQ(god_is_attachable(11), 0);
    EXPECT_EQ(god_is_attachable(15), 1);
    EXPECT_EQ(god_is_attachable(13), 0);
}

TEST_F(GodsTest, DeathGodPlacedWithAHolderAttachesForThirteenDaysAndTakesEverything) {
    card_add(1, CARD_SHARE_WEALTH);
    card_add(1, CARD_SHARE_POVERTY);
    item_add(1, 1);
    const int slot = god_place(GK_DEATH, 0, 0, 2);
    ASSERT_EQ(slot, 15);
    EXPECT_EQ(player_table[1].god_slot, 15);
    EXPECT_EQ(god_table[15].days, 13);
    EXPECT_EQ(player_table[1].ill_fortune, 1000);
    EXPECT_EQ(card_count(1), 0);
    EXPECT_EQ(player_items[1][0], 0);
    EXPECT_EQ(god_find_death_holder(0), 1);
    EXPECT_EQ(god_find_death_holder(1), -1);
    EXPECT_EQ(god_invest_fail(1), 1);
    // The second death slot is found as well.
    const int second = god_place(GK_DEATH, 0, 0, 3);
    ASSERT_EQ(second, 16);
    EXPECT_EQ(god_find_death_holder(1), 2);
    // A holder out of the game is not found.
    player_table[1].control = CTRL_OUT;
    player_table[2].control = CTRL_OUT;
    EXPECT_EQ(god_find_death_holder(0), -1);
    expect_slots_consistent();
    player_table[1].control = CTRL_COMPUTER;
    player_table[2].control = CTRL_COMPUTER;
}

TEST_F(GodsTest, InvestFailsOnlyWithBadLuckOrDeath) {
    const struct {
        int kind;
        int fails;
    } cases[] = {{GK_SMALL_BAD_LUCK, 1}, {GK_BIG_BAD_LUCK, 1}, {GK_DEATH, 1},
                 {GK_SMALL_FORTUNE, 0},  {GK_ANGEL, 0},        {GK_SMALL_POVERTY, 0}};
    for (const auto& c : cases) {
        SetUp();
        const int slot = god_place(c.kind, 0, 0, 0);
        ASSERT_NE(slot, 0);
        god_attach(0, 0, slot);
        EXPECT_EQ(god_invest_fail(0), c.fails) << c.kind;
    }
    SetUp();
    EXPECT_EQ(god_invest_fail(0), 0);
}

TEST_F(GodsTest, SmallWealthGodCollectsTheReelAmountFromEveryOpponent) {
    player_table[2].control = CTRL_OUT; // out of the game: pays nothing
    game_srand(42);
    const int amount = spin_god_amount(SPIN_SMALL_WEALTH);
    game_srand(42);
    god_place(GK_SMALL_WEALTH, 0, 0, 0);
    god_attach(0, 0, 1);
    EXPECT_EQ(player_table[0].cash, 10000 + amount);
    EXPECT_EQ(player_table[1].cash, 10000 - amount);
    EXPECT_EQ(player_table[2].cash, 10000);
    EXPECT_EQ(player_table[0].received_month, amount);
}

TEST_F(GodsTest, BigWealthCreditsAndPovertyGodsPay) {
    game_srand(5);
    const int big = spin_god_amount(SPIN_BIG_WEALTH);
    game_srand(5);
    god_place(GK_BIG_WEALTH, 0, 0, 0);
    god_attach(0, 0, 2);
    EXPECT_EQ(player_table[0].cash, 10000 + big);
    EXPECT_EQ(player_table[0].deposit, 10000);

    game_srand(6);
    const int lost = spin_god_amount(SPIN_BIG_POVERTY);
    game_srand(6);
    const int32_t jackpot = lotto_jackpot;
    god_place(GK_BIG_POVERTY, 0, 0, 0);
    god_attach(1, 0, 6);
    EXPECT_EQ(lotto_jackpot, jackpot + lost);
    EXPECT_EQ(player_table[1].cash, 10000 - lost);

    game_srand(7);
    const int each = spin_god_amount(SPIN_SMALL_POVERTY);
    game_srand(7);
    god_place(GK_SMALL_POVERTY, 0, 0, 0);
    god_attach(2, 0, 5);
    EXPECT_EQ(player_table[2].cash, 10000 - 2 * each);
    EXPECT_EQ(player_table[1].cash, 10000 - lost);
    EXPECT_EQ(player_table[1].deposit, 10000 + each); // paid into the deposit
}

TEST_F(GodsTest, SmallPovertyStopsPayingOnceThePayerIsBankrupt) {
    // Find a seed whose three-reel amount exceeds what the payer has.
    player_table[0].cash = 300;
    player_table[0].deposit = 0;
    uint32_t seed = 1;
    int amount = 0;
    for (; seed < 1000; ++seed) {
        game_srand(seed);
        amount = spin_god_amount(SPIN_SMALL_POVERTY);
        if (amount > 300) break;
    }
    ASSERT_GT(amount, 300);
    game_srand(seed);
    god_place(GK_SMALL_POVERTY, 0, 0, 0);
    god_attach(0, 0, 5);
    EXPECT_EQ(player_table[0].control, CTRL_OUT);
    EXPECT_EQ(player_table[1].cash + player_table[1].deposit, 20000 + 300);
    EXPECT_EQ(player_table[2].cash + player_table[2].deposit, 20000);
    EXPECT_EQ(money_audit().bankruptcies, 1);
}

TEST_F(GodsTest, FortuneGodsGiveCardsAndBadLuckGodsTakeThem) {
    god_place(GK_SMALL_FORTUNE, 0, 0, 0);
    god_attach(0, 0, 3);
    EXPECT_EQ(card_count(0), 1);
    god_place(GK_BIG_FORTUNE, 0, 0, 0);
    god_attach(1, 0, 4);
    EXPECT_EQ(card_count(1), 2);
    // Small bad luck: one card lost.
    god_place(GK_SMALL_BAD_LUCK, 0, 0, 0);
    god_attach(1, 0, 7);
    EXPECT_EQ(card_count(1), 1);
    // Big bad luck: half the cards, when at least two are held.
    for (int id = 1; id <= 4; ++id)
        card_add(2, id);
    god_place(GK_BIG_BAD_LUCK, 0, 0, 0);
    god_attach(2, 0, 8);
    EXPECT_EQ(card_count(2), 2);
}

TEST_F(GodsTest, AngelRaisesDevilLowersAndLandGodTakes) {
    LandLot& lot = map_lot_table[2];
    lot.owner = 2; // player 1
    lot.level = 2;
    god_place(GK_ANGEL, 0, 0, 0);
    god_attach(0, 0, 9);
    god_landing_effect(0, 2);
    EXPECT_EQ(lot.level, 3);

    // The devil attaches while the leaving angel's counterpart, the devil,
    // would come back: the slot stays with its new holder.
    ASSERT_EQ(god_place(GK_DEVIL, 0, 0, 0), 10);
    god_attach(0, 0, 10);
    EXPECT_EQ(god_table[10].holder, 1);
    god_landing_effect(0, 2);
    EXPECT_EQ(lot.level, 2);
    EXPECT_EQ(player_table[1].grudge[0], 30);
    // The devil leaves empty land alone.
    map_lot_table[3].owner = 2;
    god_landing_effect(0, 3);
    EXPECT_EQ(map_lot_table[3].level, 0);
    EXPECT_EQ(player_table[1].grudge[0], 30);

    god_place(GK_LAND_GOD, 0, 0, 0);
    god_attach(0, 0, 12);
    game_land_term = 5; // one month
    lot.expiry = 0;
    god_landing_effect(0, 2);
    EXPECT_EQ(lot.owner, 1);
    EXPECT_EQ(lot.expiry, 0u); // an owned plot keeps its term
    EXPECT_EQ(player_table[1].grudge[0], 30 + 1000 * (2 + 2) / 5);
    god_landing_effect(0, 4); // unowned plot: taken, term starts today
    EXPECT_EQ(map_lot_table[4].owner, 1);
    EXPECT_EQ(map_lot_table[4].expiry, game_date + 0x100);
    // Nothing in a hotel stay or out of the game.
    player_table[0].hotel_days = 2;
    god_landing_effect(0, 5);
    EXPECT_EQ(map_lot_table[5].owner, 0);
}

TEST_F(GodsTest, FortuneGodBuildsOneMoreLevelAfterAnInvestment) {
    map_lot_table[1].owner = 1;
    map_lot_table[1].level = 1;
    god_invest_bonus(0, 1);
    EXPECT_EQ(map_lot_table[1].level, 1); // no god
    god_place(GK_SMALL_FORTUNE, 0, 0, 0);
    god_attach(0, 0, 3);
    god_invest_bonus(0, 1);
    EXPECT_EQ(map_lot_table[1].level, 2);
}

// A god's raise plays the board's building sound once, after its message and
// before the view refreshes, and only when the property rose.
TEST_F(GodsTest, RaiseByAGodPlaysTheBuildingSoundOnlyWhenThePropertyRose) {
    constexpr int BUILDING_SOUND = 18;
    struct Case {
        int kind;
        int level;
        bool rises;
    };
    const Case cases[] = {{GK_ANGEL, 2, true},
                          {GK_ANGEL, 5, false},
                          {GK_SMALL_FORTUNE, 0, true},
                          {GK_BIG_FORTUNE, 4, true},
                          {GK_BIG_FORTUNE, 5, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("god kind " + std::to_string(c.kind) + " on level " + std::to_string(c.level));
        ASSERT_TRUE(encounter_board_setup(3));
        LandLot& lot = map_lot_table[2];
        lot.owner = 1;
        lot.level = static_cast<uint8_t>(c.level);
        ASSERT_EQ(god_place(c.kind, 0, 0, 0), c.kind);
        god_attach(0, 0, c.kind);
        shown_clear();
        if (c.kind == GK_ANGEL)
            god_landing_effect(0, 2);
        else
            god_invest_bonus(0, 2);
        EXPECT_EQ(lot.level, c.rises ? c.level + 1 : c.level);
        EXPECT_EQ(shown_count(Shown::BoardEffect, BUILDING_SOUND), c.rises ? 1u : 0u);
        if (!c.rises) continue;
        const auto& log = shown_log();
        auto at = [&](Shown kind, int number) {
            for (size_t i = 0; i < log.size(); ++i)
                if (log[i].kind == kind && (number < 0 || log[i].number == number)) return i;
            return log.size();
        };
        const size_t message = at(Shown::Message, -1);
        const size_t sound = at(Shown::BoardEffect, BUILDING_SOUND);
        const size_t refresh = at(Shown::BoardRefresh, 1);
        EXPECT_LT(message, sound);
        EXPECT_LT(sound, refresh);
        EXPECT_LT(refresh, log.size());
    }
}

TEST_F(GodsTest, LeavingGodIsRemovedAndItsValuesUndone) {
    god_place(GK_SMALL_POVERTY, 0, 0, 0);
    player_table[0].cash = 1000000;
    god_attach(0, 0, 5);
    EXPECT_EQ(player_table[0].ill_fortune, 100);
    god_leave_player(0);
    EXPECT_EQ(player_table[0].god_slot, 0);
    EXPECT_EQ(player_table[0].ill_fortune, 0);
    EXPECT_EQ(player_table[0].money_luck, 0);
    EXPECT_EQ(god_table[5].holder, 0);
    EXPECT_NE(god_table[6].square, 0); // big poverty came back
    // In jail the god is removed without its flight.
    god_place(GK_ANGEL, 0, 0, 0);
    god_attach(1, 0, 9);
    jail_send(1, 3);
    god_leave_player(1);
    EXPECT_EQ(player_table[1].god_slot, 0);
    expect_slots_consistent();
}

// Where the first event of a kind, number (and text) stands in the log.
size_t log_at(Shown kind, int number, const char* text = nullptr) {
    const auto& log = shown_log();
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i].kind == kind && log[i].number == number && (!text || log[i].text == text))
            return i;
    return log.size();
}

TEST_F(GodsTest, ALeavingGodFliesUpWithItsSoundBeforeItIsRemovedAndTheReliefLine) {
    const struct {
        int kind;
        bool relief;
    } cases[] = {{GK_SMALL_POVERTY, true}, {GK_BIG_BAD_LUCK, true}, {GK_ANGEL, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const int slot = god_place(c.kind, 0, 0, 0);
        ASSERT_EQ(slot, c.kind);
        god_attach(0, 0, slot);
        shown_clear();
        god_leave_player(0);
        EXPECT_EQ(player_table[0].god_slot, 0);
        EXPECT_EQ(god_table[slot].holder, 0);
        const size_t end = shown_log().size();
        const size_t flight = log_at(Shown::Panel, slot, "flight up");
        const size_t sound = log_at(Shown::BoardEffect, 23);
        const size_t redrawn = log_at(Shown::BoardRefresh, -1);
        const std::string relief = speech_line(player_table[0].character, 23);
        const size_t line = log_at(Shown::Speech, 0, relief.c_str());
        ASSERT_LT(flight, end);
        EXPECT_LT(flight, sound);
        EXPECT_LT(sound, redrawn);
        size_t sounds = 0;
        for (const ShownEvent& e : shown_log())
            sounds += e.kind == Shown::BoardEffect && e.number == 23;
        EXPECT_EQ(sounds, 1u) << "the leaving sound plays once";
        if (c.relief) {
            EXPECT_LT(redrawn, line);
            EXPECT_LT(line, end);
        } else {
            EXPECT_EQ(line, end);
        }
        // The counterpart comes back elsewhere; cleared for the next case.
        for (int s = 1; s <= 12; ++s)
            if (god_table[s].square) god_remove(s);
    }
    // A god leaving a player in hospital is removed without a flight.
    god_place(GK_ANGEL, 0, 0, 0);
    god_attach(1, 0, GK_ANGEL);
    jail_send_hospital(1, 3);
    shown_clear();
    god_leave_player(1);
    EXPECT_EQ(player_table[1].god_slot, 0);
    EXPECT_EQ(log_at(Shown::Panel, GK_ANGEL, "flight up"), shown_log().size());
    EXPECT_EQ(log_at(Shown::BoardEffect, 23), shown_log().size());
}

TEST_F(GodsTest, WanderingFlightAdvancesUntilItLeavesTheViewOrTheBoard) {
    EXPECT_EQ(god_none_flying(), 1);
    god_place(GK_CHEST, 5, 0, 0);
    // The camera's window spans cells 17..45 in x (world x 544..1471).
    view_camera_x = 1000;
    view_camera_y = 100;
    god_start_wander(14, 5, 4);
    GodObject& g = god_table[14];
    EXPECT_EQ(g.flight, 255);
    EXPECT_FLOAT_EQ(g.fdx, 50.0f);
    EXPECT_FLOAT_EQ(g.fx, 550.0f);
    EXPECT_FLOAT_EQ(g.fy, 100.0f);
    EXPECT_EQ(god_none_flying(), 0);
    auto frames_to_land = [] {
        int frames = 0;
        while (!god_none_flying() && frames < 300) {
            god_advance_flights();
            ++frames;
        }
        return frames;
    };
    // From x 550 at 50 a frame the window's edge is passed at x 1500.
    EXPECT_EQ(frames_to_land(), 19);
    // With the board's edge inside the window, the board's edge ends it.
    view_camera_x = 2200;
    g.fx = 2200.0f;
    g.flight = 255;
    EXPECT_EQ(frames_to_land(), 3);
    EXPECT_EQ(god_none_flying(), 1);
}

} // namespace
