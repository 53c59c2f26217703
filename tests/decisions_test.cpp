#include "board/decisions.h"
#include "board/world_reset.h"

#include <gtest/gtest.h>

namespace {

class DecisionsTest : public ::testing::Test {
  protected:
    void SetUp() override { game_world_reset(); }
    void TearDown() override { game_world_reset(); }
};

TEST_F(DecisionsTest, ScriptedAnswersComeInOrderAndAreRecorded) {
    decision_script_push(1);
    decision_script_push(0);
    decision_script_push(3);
    EXPECT_TRUE(decide_yes_no(DECIDE_BUY, 2, "buy?", 5000, 2007));
    EXPECT_EQ(decision_last_kind(), DECIDE_BUY);
    EXPECT_EQ(decision_last_player(), 2);
    EXPECT_EQ(decision_last_amount(), 5000);
    EXPECT_EQ(decision_last_object(), 2007);
    EXPECT_EQ(decision_last_text(), "buy?");
    EXPECT_FALSE(decide_yes_no(DECIDE_BAIL, 1, nullptr));
    EXPECT_EQ(decision_last_text(), "");
    EXPECT_EQ(decide_facility_kind(0, 4003), 3);
    EXPECT_EQ(decision_asked_count(), 3);
    EXPECT_EQ(decision_script_left(), 0);
}

TEST_F(DecisionsTest, AnswersAreNormalised) {
    decision_script_push(7);  // any non-zero is yes
    decision_script_push(9);  // no such facility kind: the park
    decision_script_push(-1); // a cancel is not offered here: the park
    EXPECT_TRUE(decide_yes_no(DECIDE_BUILD, 0, "x"));
    EXPECT_EQ(decide_facility_kind(0, 4001), 0);
    EXPECT_EQ(decide_facility_kind(0, 4001), 0);
}

int answer_by_kind(const DecisionRequest& r, void* context) {
    ++*static_cast<int*>(context);
    return r.kind == DECIDE_FACILITY_KIND ? 2 : (r.amount < 1000 ? 1 : 0);
}

TEST_F(DecisionsTest, InstalledAnswererIsAskedWhenTheScriptIsEmpty) {
    int calls = 0;
    decision_set_answerer(answer_by_kind, &calls);
    decision_script_push(0);
    EXPECT_FALSE(decide_yes_no(DECIDE_BUY, 0, "a", 10)); // the script comes first
    EXPECT_TRUE(decide_yes_no(DECIDE_BUY, 0, "b", 10));
    EXPECT_FALSE(decide_yes_no(DECIDE_BUY, 0, "c", 5000));
    EXPECT_EQ(decide_facility_kind(1, 4002), 2);
    EXPECT_EQ(calls, 3);
    decision_set_answerer(nullptr, nullptr);
    // Without an answerer the plain pop-up answers; with nothing shown it says no.
    EXPECT_FALSE(decide_yes_no(DECIDE_BAIL, 0, "d"));
    // ...but a spin with nobody to stop it stops at once.
    EXPECT_TRUE(decide_yes_no(DECIDE_SPIN_STOP, 0, nullptr, 1, 0));
}

TEST_F(DecisionsTest, ResetForgetsEverything) {
    int calls = 0;
    decision_set_answerer(answer_by_kind, &calls);
    decision_script_push(1);
    decide_yes_no(DECIDE_BUY, 3, "q", 1);
    decisions_reset();
    EXPECT_EQ(decision_asked_count(), 0);
    EXPECT_EQ(decision_script_left(), 0);
    EXPECT_EQ(decision_last_player(), -1);
    EXPECT_FALSE(decide_yes_no(DECIDE_BUY, 0, "z", 1));
    EXPECT_EQ(calls, 0);
}

} // namespace

namespace {

struct PadCase {
    const char* name;
    int scripted;
    int32_t most;
    int expected;
};

TEST_F(DecisionsTest, TheNumberPadThroughTheSeamTakesOnlyWhatThePadCouldGive) {
    const PadCase cases[] = {
        {"within the maximum", 25, 40, 25},
        {"the maximum itself", 40, 40, 40},
        {"above the maximum is the pad's cancel", 41, 40, 0},
        {"a negative number is the pad's cancel", -3, 40, 0},
    };
    for (const PadCase& c : cases) {
        game_world_reset();
        decision_script_push(c.scripted);
        EXPECT_EQ(decide_number(1, "how many?", c.most, 6003), c.expected) << c.name;
        EXPECT_EQ(decision_last_kind(), DECIDE_NUMBER) << c.name;
        EXPECT_EQ(decision_last_amount(), c.most) << c.name;
    }
}

TEST_F(DecisionsTest, ANumberWithNothingToChooseIsNotAsked) {
    decision_script_push(5);
    EXPECT_EQ(decide_number(0, "how many?", 0), 0);
    EXPECT_EQ(decision_asked_count(), 0);
    EXPECT_EQ(decision_script_left(), 1);
}

TEST_F(DecisionsTest, TheConfirmationThroughTheSeamIsYesOrNoAndKeepsItsPoint) {
    decision_script_push(1);
    decision_script_push(2); // the pop-up has no third answer: no
    decision_script_push(0);
    EXPECT_TRUE(decide_confirm(2, "sure?", 320, 200));
    EXPECT_FALSE(decide_confirm(2, "sure?"));
    EXPECT_FALSE(decide_confirm(2, "sure?"));
    int x = 0, y = 0;
    decision_confirm_point(decision_confirm_param(320, 200), &x, &y);
    EXPECT_EQ(x, 320);
    EXPECT_EQ(y, 200);
}

TEST_F(DecisionsTest, WithNobodyToAskTheNumberIsNoneAndTheConfirmationNo) {
    EXPECT_EQ(decide_number(0, "how many?", 99), 0);
    EXPECT_FALSE(decide_confirm(0, "sure?"));
    EXPECT_EQ(decision_asked_count(), 2);
}

} // namespace
