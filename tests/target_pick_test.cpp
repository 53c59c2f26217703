// The target picker's rules: the kinds and acceptance modes, what names
// something on the board now, the edge scroll, and the check of answers
// given for the picker by a script.
#include <gtest/gtest.h>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/world_reset.h"
#include "cards/target_pick.h"
#include "engine/layout.h"
#include "support/test_board.h"

namespace {

constexpr int USER = 0;
constexpr int OTHER = 1;
constexpr int GOD_SLOT = 5;
constexpr int OCC = OBJ_OCCUPANTS;
constexpr int GOD_CODE = OCC | (GOD_SLOT << 8);

// Square 1 serves plot 2001 and holds the user; square 2 holds the other
// player and the thief. Plots: 2001 the user's, unbuilt; 2002 the user's,
// built; 2003 the other's, built; 2004 nobody's, unbuilt; 2005 nobody's but
// built. Facilities: 4001 the user's, nothing built; 4002 the other's, built.
class TargetPickRules : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        ASSERT_TRUE(test_board_load());
        map_square_table[1].object = 2001;
        map_square_table[2].object = 4002;
        place_player(USER, 1, CTRL_HUMAN);
        place_player(OTHER, 2, CTRL_COMPUTER);
        WalkerRecord& thief = walker_of_mover(MOVER_THIEF);
        thief.square = 2;
        thief.place = WALKER_FREE;
        set_lot(1, USER + 1, 0);
        set_lot(2, USER + 1, 2);
        set_lot(3, OTHER + 1, 1);
        set_lot(4, 0, 0);
        set_lot(5, 0, 3);
        map_facility_table[1].owner = owner_of_seat(USER);
        map_facility_table[2].owner = owner_of_seat(OTHER);
        map_facility_table[2].level = 1;
        god_table[GOD_SLOT].kind = GK_MINE;
        god_table[GOD_SLOT].square = 3;
    }
    static void place_player(int p, int square, uint8_t control) {
        player_table[p].control = control;
        player_table[p].square = static_cast<uint16_t>(square);
    }
    static void set_lot(int i, int owner, int level) {
        map_lot_table[i].owner = Owner{static_cast<uint8_t>(owner)};
        map_lot_table[i].level = static_cast<uint8_t>(level);
    }
    static uint32_t param(uint32_t kinds, uint32_t mode) {
        return target_pick_param(kinds, mode, 12, 15);
    }
};

TEST_F(TargetPickRules, KindsAndModesAcceptOnlyWhatEachModeNames) {
    constexpr uint32_t PROPS = PICK_LOTS | PICK_FACILITIES;
    struct Case {
        uint32_t kinds, mode;
        int code;
        bool accepted;
        const char* why;
    };
    const Case cases[] = {
        {PICK_SQUARES, PICK_ANY, 3, true, "a square"},
        {PICK_SQUARES, PICK_ANY, 2001, false, "a plot is not a square"},
        {PROPS, PICK_ANY, 4001, true, "a facility"},
        {PROPS, PICK_ANY, 6001, false, "company buildings are no kind"},
        {PICK_MOVERS, PICK_ANY, OCC | 0x10, true, "a walker"},
        {PICK_MOVERS, PICK_ANY, OCC | 0x04, false, "a player out of the game is no mover"},
        {PICK_MOVERS, PICK_ANY, GOD_CODE, false, "a god is no mover"},
        {PICK_OBJECTS, PICK_ANY, GOD_CODE, true, "a placed object"},
        {PICK_ALL, PICK_ANY, 3, true, "all kinds: a square"},
        {PICK_ALL, PICK_ANY, OCC | 0x02, true, "all kinds: a player"},
        {PICK_ALL, PICK_ANY, 8001, false, "all kinds: still no decoration"},
        {PROPS, PICK_OWN_PROPERTY, 2001, true, "own plot of level 0"},
        {PROPS, PICK_OWN_PROPERTY, 4001, false, "own facility of level 0"},
        {PROPS, PICK_OWN_PROPERTY, 2003, false, "someone else's plot"},
        {PROPS, PICK_SAME_KIND, 2002, true, "another plot while on a plot"},
        {PROPS, PICK_SAME_KIND, 2001, false, "not the plot stood on"},
        {PROPS, PICK_SAME_KIND, 4002, false, "no facility while on a plot"},
        {PROPS, PICK_NOTHING, 2002, false, "mode 3 takes nothing"},
        {PICK_MOVERS, PICK_OTHER_PLAYER, OCC | 0x02, true, "another player"},
        {PICK_MOVERS, PICK_OTHER_PLAYER, OCC | 0x03, false, "the user's square, shared"},
        {PICK_MOVERS, PICK_OTHER_PLAYER, OCC | 0x10, false, "walkers only"},
        {PROPS, PICK_OTHERS_BUILT, 2003, true, "someone else's building"},
        {PROPS, PICK_OTHERS_BUILT, 2005, true, "a building of nobody"},
        {PROPS, PICK_OTHERS_BUILT, 2002, false, "the user's own building"},
        {PROPS, PICK_OTHERS_BUILT, 2004, false, "nothing built"},
        {PROPS | PICK_OBJECTS, PICK_OTHERS_BUILT_OR_HAZARD, GOD_CODE, true, "a mine"},
        {PROPS | PICK_OBJECTS, PICK_OTHERS_BUILT_OR_HAZARD, 4002, true, "another's facility"},
        {PICK_MOVERS, PICK_NOT_SELF, OCC | 0x12, true, "not the user"},
        {PICK_MOVERS, PICK_NOT_SELF, OCC | 0x11, false, "the user with a walker"},
        {PROPS, PICK_UNOWNED, 2004, true, "nobody's empty plot"},
        {PROPS, PICK_UNOWNED, 2005, false, "nobody's but built"},
        {PROPS, PICK_UNOWNED, 4001, false, "owned facility"},
        {PROPS, 9, 2004, false, "an unknown mode takes nothing"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(target_pick_accepts(param(c.kinds, c.mode), USER, c.code), c.accepted) << c.why;
    god_table[GOD_SLOT].kind = GK_ANGEL;
    EXPECT_FALSE(
        target_pick_accepts(param(PICK_OBJECTS, PICK_OTHERS_BUILT_OR_HAZARD), USER, GOD_CODE))
        << "an angel is no hazard";
}

TEST_F(TargetPickRules, AllKindsKeepsScrollingAndTheArgumentsFieldsComeApart) {
    EXPECT_EQ(target_pick_kinds(PICK_ALL), 0x37u);
    EXPECT_EQ(target_pick_kinds(PICK_ALL | PICK_SCROLL), 0xB7u);
    EXPECT_EQ(target_pick_kinds(PICK_ALL | PICK_NO_CANCEL), 0x37u);
    const uint32_t p = target_pick_param(PICK_SQUARES, PICK_UNOWNED, 9, 3);
    EXPECT_EQ(target_pick_mode(p), 8u);
    EXPECT_EQ(target_pick_first_frame(p), 9);
    EXPECT_EQ(target_pick_frame_count(p), 3);
}

TEST_F(TargetPickRules, OnlyWhatStandsOnTheBoardNowIsNamed) {
    EXPECT_TRUE(target_pick_names_board_object(8));
    EXPECT_FALSE(target_pick_names_board_object(9)) << "past the last square";
    EXPECT_TRUE(target_pick_names_board_object(2006));
    EXPECT_FALSE(target_pick_names_board_object(2007));
    EXPECT_FALSE(target_pick_names_board_object(4003));
    EXPECT_TRUE(target_pick_names_board_object(OCC | 0x12)) << "player and thief share square 2";
    EXPECT_FALSE(target_pick_names_board_object(OCC | 0x03)) << "on two squares";
    EXPECT_FALSE(target_pick_names_board_object(OCC | 0x04)) << "a seat out of the game";
    EXPECT_FALSE(target_pick_names_board_object(OCC)) << "nobody";
    EXPECT_TRUE(target_pick_names_board_object(GOD_CODE));
    player_table[OTHER].jail_days = 3;
    EXPECT_FALSE(target_pick_names_board_object(OCC | 0x02)) << "in jail, off the board";
    walker_of_mover(MOVER_THIEF).place = WALKER_IN_JAIL;
    EXPECT_FALSE(target_pick_names_board_object(OCC | 0x10));
    god_table[GOD_SLOT].flight = 4;
    EXPECT_FALSE(target_pick_names_board_object(GOD_CODE)) << "a god in flight stands nowhere";
}

TEST_F(TargetPickRules, AnAnswerThePickerWouldRefuseCountsAsItsCancel) {
    const uint32_t others = param(PICK_MOVERS, PICK_OTHER_PLAYER);
    auto ask = [](uint32_t p, int answer) {
        decision_script_push(answer);
        DecisionRequest r{DECIDE_TARGET, USER, nullptr, 0, 0};
        r.param = static_cast<int32_t>(p);
        return decide(r);
    };
    EXPECT_EQ(ask(others, OCC | 0x02), OCC | 0x02);
    EXPECT_EQ(ask(others, OCC | 0x01), 0) << "the user himself";
    EXPECT_EQ(ask(others, 2003), 0) << "a plot is not of the kinds";
    EXPECT_EQ(ask(param(PICK_SQUARES, PICK_ANY), 9), 0) << "no such square on this board";
    EXPECT_EQ(ask(param(PICK_SQUARES, PICK_ANY), 8), 8);
    player_table[OTHER].hospital_days = 2;
    EXPECT_EQ(ask(others, OCC | 0x02), 0) << "in hospital: not on the board now";
}

TEST(TargetPickScroll, EdgesAreTheViewsBordersAndTheSidePanel) {
    struct Case {
        int x, y, edge;
    };
    const PlatRect& view = LAYOUT_BOARD_AREA;
    const Case cases[] = {{view.left, 200, PICK_EDGE_LEFT},
                          {view.right, 200, PICK_EDGE_RIGHT},
                          {SCREEN_W - 1, SCREEN_H - 1, PICK_EDGE_RIGHT},
                          {100, view.top, PICK_EDGE_TOP},
                          {100, 0, PICK_EDGE_TOP},
                          {100, view.bottom - 1, PICK_EDGE_BOTTOM},
                          {100, view.top + 1, PICK_EDGE_NONE},
                          {view.left + 1, view.bottom - 2, PICK_EDGE_NONE}};
    for (const Case& c : cases)
        EXPECT_EQ(target_pick_edge_at(c.x, c.y), c.edge) << c.x << "," << c.y;
}

TEST(TargetPickScroll, EachEdgeMovesInItsDirectionTurnedWithTheView) {
    struct Case {
        int edge, rotation, dx, dy;
    };
    // The first tick runs at speed 12; a diagonal step is 12 x 0.7071, cut to 8.
    const Case cases[] = {
        {PICK_EDGE_TOP, 0, 0, -12},   {PICK_EDGE_LEFT, 0, -12, 0}, {PICK_EDGE_BOTTOM, 0, 0, 12},
        {PICK_EDGE_RIGHT, 0, 12, 0},  {PICK_EDGE_TOP, 1, -8, -8},  {PICK_EDGE_TOP, 7, 8, -8},
        {PICK_EDGE_RIGHT, 2, 0, -12}, {PICK_EDGE_LEFT, 3, 8, 8},
    };
    for (const Case& c : cases) {
        int speed = PICK_SCROLL_START_SPEED, x = 1000, y = 1000;
        EXPECT_TRUE(target_pick_scroll_tick(c.edge, c.rotation, &speed, &x, &y));
        EXPECT_EQ(speed, 12);
        EXPECT_EQ(x - 1000, c.dx) << "edge " << c.edge << " rotation " << c.rotation;
        EXPECT_EQ(y - 1000, c.dy) << "edge " << c.edge << " rotation " << c.rotation;
    }
}

TEST(TargetPickScroll, HeldSpeedRisesFromEightToSixtyEightAndThePositionStaysInBounds) {
    int speed = PICK_SCROLL_START_SPEED, x = 1000, y = 1000;
    for (int tick = 1; tick <= 15; ++tick) {
        target_pick_scroll_tick(PICK_EDGE_RIGHT, 0, &speed, &x, &y);
        EXPECT_EQ(speed, 8 + 4 * tick);
    }
    target_pick_scroll_tick(PICK_EDGE_RIGHT, 0, &speed, &x, &y);
    EXPECT_EQ(speed, 68) << "never faster than 68";
    x = 2080;
    EXPECT_TRUE(target_pick_scroll_tick(PICK_EDGE_RIGHT, 0, &speed, &x, &y));
    EXPECT_EQ(x, PICK_SCROLL_MAX);
    EXPECT_FALSE(target_pick_scroll_tick(PICK_EDGE_RIGHT, 0, &speed, &x, &y)) << "at the end";
    x = 230;
    target_pick_scroll_tick(PICK_EDGE_LEFT, 0, &speed, &x, &y);
    EXPECT_EQ(x, PICK_SCROLL_MIN);
    EXPECT_FALSE(target_pick_scroll_tick(PICK_EDGE_NONE, 0, &speed, &x, &y));
}

} // namespace
