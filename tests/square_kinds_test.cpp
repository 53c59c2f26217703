#include "board/square_kinds.h"

#include <gtest/gtest.h>

#include "board/map.h"

namespace {

uint8_t stand_in(int, int, int) {
    return LAND_WAIT_OTHER;
}

// Every kind has its row, registered by its module, with the sound each kind
// has always played on landing (types 0 and 1 play nothing).
TEST(SquareKinds, EveryKindHasOneRowWithItsLandingSound) {
    constexpr int expected_sound[SQUARE_TYPE_COUNT] = {-1, -1, 10, 10, 10, 10, 10, 10, 10,
                                                       10, 16, 16, 16, 16, 10, 10, 10};
    for (int kind = 0; kind < SQUARE_TYPE_COUNT; ++kind) {
        SCOPED_TRACE(kind);
        const SquareKindRow* row = square_kind_row(kind);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->kind, kind);
        EXPECT_NE(row->handler, nullptr);
        EXPECT_EQ(row->sound, expected_sound[kind]);
    }
    EXPECT_EQ(square_kind_row(-1), nullptr);
    EXPECT_EQ(square_kind_row(SQUARE_TYPE_COUNT), nullptr);
}

TEST(SquareKindsDeathTest, ASecondRowOrABadRowAbortsWithAMessage) {
    EXPECT_DEATH(square_kind_register(SquareKindRow{SQ_BANK, stand_in, SQUARE_SOUND_VISIT}),
                 "square kind 14 registered twice");
    EXPECT_DEATH(square_kind_register(SquareKindRow{SQUARE_TYPE_COUNT, stand_in, -1}),
                 "square kind 17 is no square type");
    EXPECT_DEATH(square_kind_register(SquareKindRow{SQ_EMPTY, nullptr, -1}),
                 "square kind 1 registered without a handler");
}

} // namespace
