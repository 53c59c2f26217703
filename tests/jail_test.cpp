#include <gtest/gtest.h>

#include "board/decisions.h"
#include "board/game_state.h"
#include "board/gods.h"
#include "board/jail.h"
#include "board/map.h"
#include "board/speech.h"
#include "engine/options.h"
#include "engine/random.h"
#include "engine/shown.h"
#include "engine/util.h"
#include "support/encounter_board.h"

namespace {

class JailTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(encounter_board_setup(3)); }
    void TearDown() override { EXPECT_EQ(god_board_check(), ""); }
};

TEST_F(JailTest, SendingAPlayerMovesHimInWithHisGod) {
    encounter_board_put(1, 3);
    god_place(GK_ANGEL, 0, 0, 0);
    god_attach(1, 0, 9);
    player_table[1].control = CTRL_COMPUTER | CTRL_BLAST_HIT;
    jail_send(1, 3);
    const PlayerRecord& r = player_table[1];
    EXPECT_EQ(r.jail_days, 3);
    EXPECT_EQ(jail_flags[1], 1);
    EXPECT_EQ(r.square, EB_JAIL_SQUARE);
    EXPECT_EQ(r.prev_square, 0);
    EXPECT_EQ(r.saved_facing, 15);
    EXPECT_EQ(r.x, 700);
    EXPECT_EQ(r.y, 160);
    EXPECT_EQ(r.control, CTRL_COMPUTER); // turn bits cleared
    EXPECT_EQ(map_square_table[3].flags & sqf_player(1), 0u);
    EXPECT_EQ(god_table[9].square, EB_JAIL_SQUARE); // the god came along
    EXPECT_EQ(r.days_lost_month, 3);

    jail_send_hospital(0, 4);
    EXPECT_EQ(player_table[0].hospital_days, 4);
    EXPECT_EQ(hospital_flags[0], 1);
    EXPECT_EQ(player_table[0].square, EB_HOSPITAL_SQUARE);
    EXPECT_EQ(player_table[0].x, 800);
}

// An insured player sent in is paid days x 2000 x price index by the
// insurance company, after his reaction line; the film of his way in plays
// with the animations on and only when he was not held already.
TEST_F(JailTest, AnInsuredPlayerSentInIsPaidForHisDaysAfterHisReaction) {
    const struct {
        const char* what;
        int hospital, days, price_index;
        bool insured, animations, held_before;
        int32_t paid;
        int film; // 0 none
    } cases[] = {
        {"jail, animated", 0, 3, 1, true, true, false, 6000, 497},
        {"hospital, animated", 1, 5, 2, true, true, false, 20000, 483},
        {"jail, no animations", 0, 4, 3, true, false, false, 24000, 0},
        {"held already: days added, no film", 1, 2, 1, true, true, true, 4000, 0},
        {"uninsured", 0, 3, 1, false, true, false, 0, 497},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(encounter_board_setup(3));
        map_company_table[1].kind = COMPANY_KIND_INSURANCE;
        game_price_index = c.price_index;
        settings_set_animations(c.animations ? 1 : 0);
        PlayerRecord& r = player_table[1];
        r.insurance_days = c.insured ? 5 : 0;
        if (c.held_before) (c.hospital ? jail_send_hospital : jail_send)(1, 1);
        const int32_t cash = r.cash, earnings = map_company_table[1].earnings;
        shown_clear();
        (c.hospital ? jail_send_hospital : jail_send)(1, c.days);
        EXPECT_EQ(r.cash, cash + c.paid);
        EXPECT_EQ(map_company_table[1].earnings, earnings - c.paid);
        EXPECT_EQ(shown_count(Shown::Flc, 497) + shown_count(Shown::Flc, 483), c.film ? 1u : 0u);
        if (c.film) {
            EXPECT_EQ(shown_count(Shown::Flc, c.film), 1u);
        }
        // His line of the place, then the payment's message naming the amount.
        const std::string line = speech_line(r.character, c.hospital ? 20 : 19);
        const std::string amount = std::to_string(c.paid) + "元";
        int said = -1, told = -1;
        for (size_t i = 0; i < shown_log().size(); ++i) {
            const ShownEvent& e = shown_log()[i];
            if (e.kind == Shown::Speech && e.number == 1 && e.text == line)
                said = static_cast<int>(i);
            if (e.kind == Shown::Message && e.text.find(amount) != std::string::npos)
                told = static_cast<int>(i);
        }
        EXPECT_GE(said, 0) << "the reaction line";
        if (c.paid != 0) {
            EXPECT_GT(told, said) << "the payment told after the reaction";
        } else {
            EXPECT_EQ(shown_count(Shown::Message), 0u);
        }
    }
    settings_set_animations(0);
}

TEST_F(JailTest, DaysAddUpToTheDaysHeldAndStopAt127) {
    const struct {
        uint8_t held;
        int add;
        uint8_t expect;
    } cases[] = {
        {5, 3, 8},       // 5 days held, 3 more
        {0x80, 3, 3},    // the end mark holds no day
        {120, 20, 127},  // capped
        {0x80, 0, 0x80}, // nothing added: still leaving at the next count
    };
    for (const auto& c : cases) {
        SetUp();
        jail_send(0, 1);
        player_table[0].jail_days = c.held;
        jail_flags[0] = (c.held & 0x80) ? 0 : 1;
        jail_send(0, c.add);
        EXPECT_EQ(player_table[0].jail_days, c.expect) << int(c.held) << "+" << c.add;
        // Held again, so others can bail him: the flag is set in both branches.
        EXPECT_EQ(jail_flags[0], 1);
    }
}

TEST_F(JailTest, BailedPlayerJailedAgainCanBeBailedAgain) {
    jail_send(1, 3);
    player_table[0].points = 100;
    jail_ai_visit(0); // may or may not bail by chance; force the bail instead
    player_table[1].jail_days = 0x80;
    jail_flags[1] = 0;
    jail_send(1, 2);
    EXPECT_EQ(jail_flags[1], 1);
    EXPECT_TRUE(jail_anyone_held(0));
    player_table[0].control = CTRL_HUMAN;
    game_active_mover = 0;
    decision_script_push(1 + 1); // the cell, then yes
    decision_script_push(1);
    EXPECT_EQ(jail_human_visit(0), 1);
    EXPECT_EQ(player_table[1].jail_days, 0x80);
}

TEST_F(JailTest, WanderingCharacterStaysUntilBailedAndThenWorksForThePayer) {
    encounter_board_put(MOVER_ROBBER, 4);
    walker_of_mover(MOVER_ROBBER).memory = 0x81;
    walker_of_mover(MOVER_ROBBER).sleepwalk_days = 3;
    jail_send(MOVER_ROBBER, 9);
    const WalkerRecord& w = walker_of_mover(MOVER_ROBBER);
    EXPECT_EQ(w.place, WALKER_IN_JAIL);
    EXPECT_EQ(w.memory, 0);
    EXPECT_EQ(w.sleepwalk_days, 0);
    EXPECT_EQ(jail_flags[MOVER_ROBBER], 1);
    EXPECT_EQ(map_square_table[4].flags & sqf_walker(MOVER_ROBBER), 0u);

    game_active_mover = 2;
    jail_release(MOVER_ROBBER);
    EXPECT_EQ(w.place, WALKER_FREE);
    EXPECT_EQ(w.patron, 2);
    EXPECT_EQ(w.square, EB_JAIL_SQUARE);
    EXPECT_EQ(w.x, 700);
    // Put down on a jail square: armed at once.
    EXPECT_EQ(w.memory, 0x81);
    EXPECT_EQ(jail_flags[MOVER_ROBBER], 0);

    jail_send_hospital(MOVER_SPY, 0);
    jail_release_hospital(MOVER_SPY);
    EXPECT_EQ(walker_of_mover(MOVER_SPY).memory, 0x82);
    EXPECT_EQ(walker_of_mover(MOVER_SPY).square, EB_HOSPITAL_SQUARE);

    // The robot doll is never sent.
    jail_send(MOVER_ROBOT_DOLL, 3);
    EXPECT_EQ(walker_of_mover(MOVER_ROBOT_DOLL).place, WALKER_OFF_BOARD);
}

TEST_F(JailTest, PlayerOutOfTheGameIsNotSent) {
    player_table[2].control = CTRL_OUT;
    encounter_board_put(2, 4);
    jail_send(2, 3);
    jail_send_hospital(2, 3);
    EXPECT_EQ(player_table[2].jail_days, 0);
    EXPECT_EQ(jail_flags[2], 0);
    EXPECT_EQ(hospital_flags[2], 0);
    EXPECT_EQ(player_table[2].square, 4);
}

TEST_F(JailTest, ReleasedPlayerStepsBackOntoTheBoard) {
    jail_send(1, 2);
    player_table[1].jail_days = 0; // as the count that ends the stay leaves it
    jail_release(1);
    EXPECT_EQ(jail_flags[1], 0);
    EXPECT_NE(player_table[1].control & CTRL_STEPPING, 0);
}

// The computer's visit, over many seeds: which persons it may free.
struct AiCase {
    uint8_t personality;
    int points;
    bool frees_players;
    bool frees_characters;
};

class JailAiTest : public ::testing::TestWithParam<AiCase> {};

TEST_P(JailAiTest, PersonalityAndPointsDecide) {
    const AiCase c = GetParam();
    bool freed_player = false, freed_character = false;
    for (uint32_t seed = 1; seed <= 120; ++seed) {
        ASSERT_TRUE(encounter_board_setup(3));
        jail_send(1, 3);
        jail_flags[MOVER_THIEF] = 1;
        walker_of_mover(MOVER_THIEF).place = WALKER_IN_JAIL;
        player_table[0].personality = c.personality;
        player_table[0].points = static_cast<uint16_t>(c.points);
        game_srand(seed);
        const int freed = jail_ai_visit(0);
        if (freed == 1) {
            freed_player = true;
            EXPECT_EQ(player_table[1].jail_days, 0x80);
            EXPECT_EQ(jail_flags[1], 0);
            EXPECT_EQ(player_table[0].points, c.points - 30);
            EXPECT_EQ(player_table[1].grudge[0], 0);
        } else if (freed >= MOVER_THIEF) {
            freed_character = true;
            EXPECT_EQ(walker_of_mover(freed).place, WALKER_FREE);
            EXPECT_EQ(walker_of_mover(freed).patron, 0);
            EXPECT_EQ(player_table[0].points, c.points - 300);
        } else {
            EXPECT_EQ(player_table[0].points, c.points);
        }
    }
    EXPECT_EQ(freed_player, c.frees_players);
    EXPECT_EQ(freed_character, c.frees_characters);
}

INSTANTIATE_TEST_SUITE_P(Cases, JailAiTest,
                         ::testing::Values(AiCase{PERS_GOOD, 1000, true, false},
                                           AiCase{PERS_NORMAL, 1000, true, true},
                                           AiCase{PERS_CUNNING, 1000, false, true},
                                           AiCase{PERS_GOOD, 30, false, false}, // must exceed 30
                                           AiCase{PERS_GOOD, 31, true, false},
                                           AiCase{PERS_CUNNING, 699, false, false},
                                           AiCase{PERS_CUNNING, 700, false, true}));

TEST_F(JailTest, NobodyHeldMeansNoVisit) {
    player_table[0].points = 1000;
    EXPECT_EQ(jail_ai_visit(0), -1);
    jail_bail_visit();
    jail_hospital_bail_visit();
    EXPECT_EQ(player_table[0].points, 1000);
}

TEST_F(JailTest, HumanBailTestsTheCostAndLowersTheGrudge) {
    player_table[0].control = CTRL_HUMAN;
    game_active_mover = 0;
    jail_send(1, 4);
    player_table[1].grudge[0] = 1000;
    // Short of points: the cell is answered, no confirmation is asked, and
    // the next answer leaves.
    player_table[0].points = 29;
    decision_script_push(2);
    decision_script_push(0);
    EXPECT_EQ(jail_human_visit(0), -1);
    EXPECT_EQ(decision_asked_count(), 2);
    EXPECT_EQ(decision_last_kind(), DECIDE_BAIL_CELL);
    EXPECT_EQ(jail_flags[1], 1);
    // A cell nobody is held in counts as leaving.
    player_table[0].points = 30;
    decision_script_push(3);
    EXPECT_EQ(jail_human_visit(0), -1);
    EXPECT_EQ(decision_asked_count(), 3);
    // Declined at the confirmation, then left.
    decision_script_push(2);
    decision_script_push(0);
    decision_script_push(0);
    EXPECT_EQ(jail_human_visit(0), -1);
    EXPECT_EQ(decision_asked_count(), 6);
    EXPECT_EQ(decision_last_kind(), DECIDE_BAIL_CELL);
    EXPECT_EQ(jail_flags[1], 1);
    EXPECT_EQ(player_table[0].points, 30);
    // Yes: exactly the cost is enough for a human.
    decision_script_push(2);
    decision_script_push(1);
    EXPECT_EQ(jail_human_visit(0), 1);
    EXPECT_EQ(decision_last_kind(), DECIDE_BAIL) << "the question shown above the yes/no";
    EXPECT_EQ(decision_last_text(), "保释" + util_without_spaces(player_name(1)));
    EXPECT_EQ(decision_last_object(), 1);
    EXPECT_EQ(decision_script_left(), 0);
    EXPECT_EQ(player_table[0].points, 0);
    EXPECT_EQ(player_table[1].jail_days, 0x80);
    EXPECT_EQ(jail_flags[1], 0);
    EXPECT_EQ(player_table[1].grudge[0], 1000 - 4 * 100);
}

TEST_F(JailTest, HumanBailWithNoDayLeftStillLowersTheGrudgeByOneDay) {
    player_table[0].control = CTRL_HUMAN;
    game_active_mover = 0;
    game_price_index = 2;
    jail_send_hospital(2, 1);
    player_table[2].hospital_days = 0x80; // leaving at the next count
    hospital_flags[2] = 1;
    player_table[2].grudge[0] = 500;
    player_table[0].points = 50;
    decision_script_push(2 + 1);
    decision_script_push(1);
    EXPECT_EQ(jail_human_visit(1), 2);
    EXPECT_EQ(player_table[2].grudge[0], 500 - 200);
    EXPECT_EQ(player_table[0].points, 20);
}

TEST_F(JailTest, AnAnswererThatNeverLeavesStillEndsTheVisit) {
    player_table[0].control = CTRL_HUMAN;
    game_active_mover = 0;
    jail_send(1, 2);
    player_table[0].points = 10; // short: every answer is met by the message
    decision_set_answerer([](const DecisionRequest&, void*) { return 2; }, nullptr);
    EXPECT_EQ(jail_human_visit(0), -1);
    decision_set_answerer(nullptr, nullptr);
    EXPECT_GT(decision_asked_count(), 1);
    EXPECT_EQ(jail_flags[1], 1);
    EXPECT_EQ(player_table[0].points, 10);
}

TEST_F(JailTest, HumanVisitFreesACharacterWhoThenWorksForHim) {
    player_table[1].control = CTRL_HUMAN;
    game_active_mover = 1;
    jail_send_hospital(MOVER_HOOLIGAN, 0);
    player_table[1].points = 400;
    decision_script_push(MOVER_HOOLIGAN + 1);
    decision_script_push(1);
    jail_hospital_bail_visit();
    EXPECT_EQ(walker_of_mover(MOVER_HOOLIGAN).place, WALKER_FREE);
    EXPECT_EQ(walker_of_mover(MOVER_HOOLIGAN).patron, 1);
    EXPECT_EQ(player_table[1].points, 100);
    EXPECT_EQ(hospital_flags[MOVER_HOOLIGAN], 0);
    // The computer path never lowers a grudge; the visit of a computer goes there.
    player_table[1].control = CTRL_COMPUTER;
    jail_send(0, 3);
    player_table[0].grudge[1] = 700;
    for (uint32_t seed = 1; seed < 50 && jail_flags[0]; ++seed) {
        game_srand(seed);
        jail_bail_visit();
    }
    EXPECT_EQ(jail_flags[0], 0);
    EXPECT_EQ(player_table[0].grudge[1], 700);
    EXPECT_EQ(decision_asked_count(), 2) << "the human's cell and confirmation only";
}

} // namespace
