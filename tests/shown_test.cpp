#include <gtest/gtest.h>

#include "engine/flc.h"
#include "engine/message.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "engine/wait.h"

namespace {

class ShownTest : public ::testing::Test {
  protected:
    void SetUp() override { shown_clear(); }
    void TearDown() override { shown_clear(); }
};

TEST_F(ShownTest, ServicesRecordWhatTheyWereAskedInOrderAndReturnWithoutADisplay) {
    msg_show("toll 1200", 1500);
    snd_board_effect_play(20, 0);
    flc_play_entry(514, 0, 40, 0, -1);
    wait_ms(2000);
    const auto& log = shown_log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].kind, Shown::Message);
    EXPECT_EQ(log[0].text, "toll 1200");
    EXPECT_EQ(log[0].ms, 1500u);
    EXPECT_EQ(log[1].kind, Shown::BoardEffect);
    EXPECT_EQ(log[1].number, 20);
    EXPECT_EQ(log[2].kind, Shown::Flc);
    EXPECT_EQ(log[2].number, 514);
    EXPECT_EQ(log[3].kind, Shown::Wait);
    EXPECT_EQ(log[3].ms, 2000u);
}

TEST_F(ShownTest, CountsByKindAndNumberAndFindsByText) {
    shown_record(Shown::Voice, 7);
    shown_record(Shown::Voice, 9);
    shown_record(Shown::Voice, 7);
    shown_record(Shown::Message, 0, 1500, "first line\nsecond");
    shown_record(Shown::Speech, 2, 0, nullptr);
    EXPECT_EQ(shown_count(Shown::Voice), 3u);
    EXPECT_EQ(shown_count(Shown::Voice, 7), 2u);
    EXPECT_EQ(shown_count(Shown::Voice, 8), 0u);
    EXPECT_EQ(shown_count(Shown::Film), 0u);
    const ShownEvent* found = shown_find_text(Shown::Message, "second");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->ms, 1500u);
    EXPECT_EQ(shown_find_text(Shown::Speech, "second"), nullptr); // another kind
    EXPECT_EQ(shown_find_text(Shown::Message, "third"), nullptr);
    EXPECT_EQ(shown_find_text(Shown::Speech, "")->text, ""); // no text is an empty text
    shown_clear();
    EXPECT_TRUE(shown_log().empty());
}

TEST_F(ShownTest, AFullLogDropsItsOlderHalfAndKeepsTheNewest) {
    for (size_t i = 0; i < SHOWN_LOG_CAPACITY; ++i)
        shown_record(Shown::Wait, static_cast<int32_t>(i));
    EXPECT_EQ(shown_log().size(), SHOWN_LOG_CAPACITY);
    shown_record(Shown::Wait, -5);
    const auto& log = shown_log();
    ASSERT_EQ(log.size(), SHOWN_LOG_CAPACITY / 2 + 1);
    EXPECT_EQ(log.front().number, static_cast<int32_t>(SHOWN_LOG_CAPACITY / 2));
    EXPECT_EQ(log.back().number, -5);
}

} // namespace
