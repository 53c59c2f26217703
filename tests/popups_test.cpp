#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "board/decisions.h"
#include "engine/confirm.h"
#include "engine/cursor.h"
#include "engine/message.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/numpad.h"
#include "engine/shown.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "platform/queue.h"
#include "platform/surface.h"
#include "shell/app.h"
#include "shell/settings.h"
#include "support/popup_fixture.h"

namespace {

constexpr uint16_t BACKGROUND = 0x0842;

// ---- The pad's value rules

TEST(NumpadValue, TypingClearingBackspaceAndMaximumKeepTheValueInRange) {
    const int one = numpad_key_button('1'), two = numpad_key_button('2'),
              three = numpad_key_button('3'), seven = numpad_key_button('7'),
              zero = numpad_key_button('0'), nine = numpad_key_button('9');
    struct Case {
        const char* name;
        const char* start;
        std::vector<int> ids;
        int32_t max;
        const char* expect;
    };
    const Case cases[] = {
        {"1 then 2", "0", {one, two}, 100, "12"},
        {"123 above 100 becomes 100", "0", {one, two, three}, 100, "100"},
        {"backspace on 7", "7", {NUMPAD_BACKSPACE}, 100, "0"},
        {"backspace on 0", "0", {NUMPAD_BACKSPACE}, 100, "0"},
        {"backspace on 12", "12", {NUMPAD_BACKSPACE}, 100, "1"},
        {"0 on 0", "0", {zero}, 100, "0"},
        {"7 replaces a lone 0", "0", {seven}, 100, "7"},
        {"clear", "345", {NUMPAD_CLEAR}, 1000, "0"},
        {"maximum", "3", {NUMPAD_MAXIMUM}, 4321, "4321"},
        {"a tenth digit is ignored", "123456789", {nine}, NUMPAD_MAX, "123456789"},
        {"a huge maximum is cut to nine digits", "0", {NUMPAD_MAXIMUM}, 2147483647, "999999999"},
        {"OK leaves the value", "55", {NUMPAD_OK}, 100, "55"},
    };
    for (const Case& c : cases) {
        char text[NUMPAD_DIGITS + 1];
        std::snprintf(text, sizeof text, "%s", c.start);
        for (int id : c.ids)
            numpad_apply(text, id, c.max);
        EXPECT_STREQ(text, c.expect) << c.name;
    }
}

TEST(NumpadValue, KeysSelectTheButtonsOfTheTable) {
    const std::pair<uint32_t, int> keys[] = {
        {VK_BACK, 6}, {VK_RETURN, 3}, {'0', 5},  {'1', 13}, {'2', 14}, {'3', 15},
        {'4', 10},    {'5', 11},      {'6', 12}, {'7', 7},  {'8', 8},  {'9', 9},
        {'C', 4},     {'M', 2},       {'H', 16}, {'Q', 0},
    };
    for (const auto& [vk, id] : keys)
        EXPECT_EQ(numpad_key_button(vk), id) << vk;
}

TEST(NumpadValue, TheSliderStepsFromZeroToTheMaximumWithoutOverflow) {
    struct Case {
        int p;
        int32_t max, expect;
    };
    const Case cases[] = {
        {0, 1000, 0},
        {-3, 1000, 0},
        {1, 3300, 0},
        {3, 3300, 0},
        {4, 3300, 100},
        {107, 3300, 3300},
        {108, 3300, -1},
        {50, 3300, 1500},
        {107, NUMPAD_MAX, NUMPAD_MAX},
        {104, NUMPAD_MAX, 969696968},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numpad_slider_value(c.p, c.max), c.expect) << c.p << " of " << c.max;
    EXPECT_EQ(numpad_bar_width(0, 100), 0);
    EXPECT_EQ(numpad_bar_width(100, 100), 107);
    EXPECT_EQ(numpad_bar_width(50, 100), 53) << "step 16";
    EXPECT_EQ(numpad_bar_width(NUMPAD_MAX, NUMPAD_MAX), 107);
    EXPECT_EQ(numpad_bar_width(5, 0), 0);
}

TEST(NumpadValue, DraggingStopsAtTheScreenEdges) {
    int x = 0, y = 0;
    numpad_drag_position(700, 500, 10, 5, &x, &y);
    EXPECT_EQ(x, 512);
    EXPECT_EQ(y, 288);
    numpad_drag_position(3, 2, 10, 5, &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

// ---- The confirmation pop-up's rules

TEST(ConfirmRules, HalvesAndChords) {
    EXPECT_EQ(confirm_half(100, 100, 120), 1);
    EXPECT_EQ(confirm_half(159, 100, 120), 1);
    EXPECT_EQ(confirm_half(160, 100, 120), 2);
    EXPECT_EQ(confirm_half(219, 100, 120), 2);
    EXPECT_EQ(confirm_half(220, 100, 121), 2) << "the last column of an odd width";
    EXPECT_EQ(confirm_chord(0, VK_CONTROL), 0x1100u);
    EXPECT_EQ(confirm_chord(0x1100, 'Y'), 0x1159u);
    EXPECT_EQ(confirm_chord(0, 'N'), 0x4Eu);
}

// ---- On a display

class Popups : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        paint_screen(BACKGROUND);
        app_active = 1;
        t0 = plat_tick_count();
    }
    void TearDown() override {
        settings_set_hotkey(HK_YES, 0x59);
        PopupTest::TearDown();
    }
    void key(uint32_t ms, uint32_t vk) {
        key_down(t0 + ms, vk);
        key_up(t0 + ms + 5, vk);
    }
};

TEST_F(Popups, ThePadTakesTypedDigitsAndReturnsThemWithOk) {
    key(100, '1');
    key(200, '2');
    key(300, '3');
    key(400, VK_RETURN);
    EXPECT_EQ(numpad_input(100), 100);
    EXPECT_EQ(numpad_open, 0);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0) << "the screen under the pad is back";
}

// A number asked through the decisions with the caller's question: the
// question stands in the message panel left of the pad, clear of it, while
// the pad is open; without a question only the pad shows.
TEST_F(Popups, ANumberAskedWithAQuestionShowsItBesideThePadUntilThePadCloses) {
    struct Seen {
        bool taken = false;
        int left = 0, top = 0, right = 0, bottom = 0; // changed pixels left of the pad
    };
    static Seen seen;
    plat_set_cursor_hook([] {
        // Looked at once the pad shows.
        if (seen.taken || !numpad_open) return;
        if (screen_differs(256, 144, 384, 336, BACKGROUND) < 128 * 192 / 2) return;
        seen.taken = true;
        seen.left = seen.top = 640;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 256; ++x)
                if (screen_at(x, y) != BACKGROUND) {
                    seen.left = std::min(seen.left, x);
                    seen.top = std::min(seen.top, y);
                    seen.right = std::max(seen.right, x + 1);
                    seen.bottom = std::max(seen.bottom, y + 1);
                }
    });
    const PlatRect panel{msg_panel_rect.left - MSG_PROMPT_SHIFT, msg_panel_rect.top,
                         msg_panel_rect.right - MSG_PROMPT_SHIFT, msg_panel_rect.bottom};
    for (const char* question : {"请输入欲卖出的张数", static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(question ? "with a question" : "without");
        seen = Seen{};
        shown_clear();
        decisions_reset();
        t0 = plat_tick_count();
        key(100, '1');
        key(200, '2');
        key(300, VK_RETURN);
        EXPECT_EQ(decide_number(0, question, 50), 12);
        ASSERT_TRUE(seen.taken) << "the pad showed";
        if (question) {
            // The panel is drawn, all of it inside its moved rectangle.
            EXPECT_LT(seen.left, seen.right);
            EXPECT_GE(seen.left, panel.left);
            EXPECT_GE(seen.top, panel.top);
            EXPECT_LE(seen.right, panel.right);
            EXPECT_LE(seen.bottom, panel.bottom);
            EXPECT_GT(seen.right - seen.left, (panel.right - panel.left) / 2);
            EXPECT_LT(panel.right, 256) << "clear of the pad";
        } else {
            EXPECT_EQ(seen.left, 640) << "nothing beside the pad";
        }
        EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0) << "all put back";
        EXPECT_EQ(shown_count(Shown::Question), question ? 1u : 0u);
    }
    plat_set_cursor_hook(nullptr);
}

TEST_F(Popups, ThePadsButtonsAndSliderWorkByMouseAndTheRightButtonCancels) {
    // Pad at (256, 144): digit 7 at (8, 119), backspace at (88, 95), OK at (64, 63).
    click(100, 256 + 20, 144 + 125);
    click(200, 256 + 20, 144 + 125);
    click(300, 256 + 100, 144 + 100);
    click(400, 256 + 80, 144 + 70);
    EXPECT_EQ(numpad_input(1000), 7);
    at(plat_tick_count() + 100, SCRIPT_LEFT_DOWN, 256 + 10 + 107, 144 + 45);
    at(plat_tick_count() + 150, SCRIPT_LEFT_UP, 256 + 10 + 107, 144 + 45);
    at(plat_tick_count() + 200, SCRIPT_LEFT_DOWN, 256 + 80, 144 + 70);
    at(plat_tick_count() + 250, SCRIPT_LEFT_UP, 256 + 80, 144 + 70);
    EXPECT_EQ(numpad_input(5000), 5000) << "the slider's end gives the maximum";
    at(plat_tick_count() + 100, SCRIPT_RIGHT_DOWN, 300, 200);
    at(plat_tick_count() + 150, SCRIPT_RIGHT_UP, 300, 200);
    EXPECT_EQ(numpad_input(5000), 0);
}

TEST_F(Popups, ThePadIsDraggedByItsTitleStripAndStopsAtTheRightEdge) {
    at(t0 + 100, SCRIPT_LEFT_DOWN, 260, 146);
    move(t0 + 150, 639, 200);
    at(t0 + 200, SCRIPT_LEFT_UP, 639, 200);
    click(300, 512 + 80, 200 - 2 + 70);
    EXPECT_EQ(numpad_input(10), 0);
    EXPECT_EQ(numpad_state.x, 512);
    EXPECT_EQ(numpad_state.y, 200 - 2);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
}

TEST_F(Popups, ThePadShowsItsPointerWhileOpenAndTheNormalOneAfter) {
    cursor_start();
    cursor_set_shape(41, 1, 0);
    cursor_set_mode(1);
    static int shape_seen = -1, mode_seen = -1;
    plat_set_cursor_hook([] {
        if (cursor_state.first == 27) {
            shape_seen = 27;
            mode_seen = cursor_get_mode();
        }
    });
    key(100, VK_RETURN);
    EXPECT_EQ(numpad_input(10), 0);
    EXPECT_EQ(shape_seen, 27);
    EXPECT_EQ(mode_seen, 1);
    EXPECT_EQ(cursor_state.first, 41);
    EXPECT_EQ(cursor_get_mode(), 1) << "the mode it had before";
}

TEST_F(Popups, TheConfirmationAnswersByHalfKeyChordAndRightButton) {
    struct Case {
        const char* name;
        int x, y; // where the mouse goes and is released; -1 for a key chord
        uint32_t key, key2;
        bool right;
        int expect;
    };
    // The pop-up (120 x 56) centred on (320, 240): (260, 212)-(380, 268).
    const Case cases[] = {
        {"yes half", 270, 240, 0, 0, false, 1},
        {"no half", 370, 240, 0, 0, false, 0},
        {"Y", -1, 0, 'Y', 0, false, 1},
        {"N", -1, 0, 'N', 0, false, 0},
        {"right button", -1, 0, 0, 0, true, 0},
        {"Ctrl+Y when that is the yes key", -1, 0, VK_CONTROL, 'Y', false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings_set_hotkey(HK_YES, c.key2 ? 0x1159 : 0x59);
        const uint32_t t = plat_tick_count();
        if (c.x >= 0) {
            move(t + 50, c.x, c.y);
            at(t + 100, SCRIPT_LEFT_UP, c.x, c.y);
        } else if (c.right) {
            at(t + 100, SCRIPT_RIGHT_UP);
        } else {
            key_down(t + 100, c.key);
            if (c.key2) key_down(t + 110, c.key2);
        }
        EXPECT_EQ(confirm_ask(320, 240), c.expect);
        plat_input_key(VK_CONTROL, false);
        plat_input_key(c.key2 ? c.key2 : c.key, false);
        plat_drain_input();
        EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
    }
}

TEST_F(Popups, TheConfirmationPutsThePointerOnYesAndLightsTheHalfUnderIt) {
    std::vector<uint16_t> seen;
    static std::vector<uint16_t>* g_seen = &seen;
    g_seen = &seen;
    plat_set_cursor_hook([] { g_seen->push_back(PopupTest::back_at(270, 240)); });
    move(t0 + 100, 370, 240);
    at(t0 + 200, SCRIPT_RIGHT_UP);
    EXPECT_EQ(confirm_ask(320, 240), 0);
    int x = 0, y = 0;
    plat_get_cursor_pos(&x, &y);
    EXPECT_EQ(x, 370);
    ASSERT_FALSE(seen.empty());
    EXPECT_NE(seen.front(), BACKGROUND);
    bool changed = false;
    for (uint16_t p : seen)
        if (p != seen.front()) changed = true;
    EXPECT_TRUE(changed) << "the yes half lit at first, plain once the mouse is on no";
    plat_set_cursor_hook(nullptr);
}

TEST_F(Popups, AMessageWithBit31StandsItsTimeOneHundredPixelsFurtherRight) {
    static uint16_t left_seen = 0, right_seen = 0;
    plat_set_cursor_hook([] {
        left_seen = PopupTest::screen_at(130, 100);
        right_seen = PopupTest::screen_at(400, 100);
    });
    shown_clear();
    msg_show("right", 0x80000000u | 1500);
    EXPECT_EQ(plat_tick_count() - t0, 1500u);
    EXPECT_EQ(left_seen, BACKGROUND);
    EXPECT_NE(right_seen, BACKGROUND);
    msg_show("left", 1500);
    EXPECT_NE(left_seen, BACKGROUND);
    EXPECT_EQ(right_seen, BACKGROUND);
    plat_set_cursor_hook(nullptr);
    ASSERT_EQ(shown_count(Shown::Message), 2u);
    EXPECT_EQ(shown_log()[0].ms, 1500u);
    EXPECT_EQ(shown_log()[0].number, 1);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
}

TEST_F(Popups, AQuestionShowsThePanelAndTheYesNoPopUpBelowIt) {
    // The pop-up centred on (220, 320): its yes half is (160, 292)-(220, 348).
    move(t0 + 100, 180, 320);
    at(t0 + 150, SCRIPT_LEFT_UP, 180, 320);
    EXPECT_EQ(msg_ask_yes_no("buy?"), 1);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
}

TEST_F(Popups, WithoutTheirPicturesThePadAndThePopUpAnswerZero) {
    mkf_close(data_archive);
    data_archive = -1;
    EXPECT_EQ(confirm_ask(320, 240), 0);
    const std::string data_dir = plat_data_dir();
    plat_set_data_dir("/nonexistent");
    EXPECT_EQ(numpad_input(100), 0);
    EXPECT_EQ(numpad_open, 0);
    plat_set_data_dir(data_dir);
}

TEST_F(Popups, WithoutThePanelPictureAMessageStillShowsItsText) {
    board_panels_free();
    static int lit = 0;
    plat_set_cursor_hook(
        [] { lit = std::max(lit, PopupTest::screen_differs(123, 49, 318, 184, BACKGROUND)); });
    msg_show("没有图片", 500);
    plat_set_cursor_hook(nullptr);
    EXPECT_GT(lit, 0) << "the text was drawn";
    EXPECT_LT(lit, 195 * 135 / 4) << "but not the panel";
    EXPECT_EQ(plat_tick_count() - t0, 500u);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0);
}

TEST_F(Popups, WithoutADisplayTheyReturnZeroAtOnce) {
    PlatSurface* back = back_surface;
    back_surface = nullptr;
    shown_clear();
    EXPECT_EQ(numpad_input(100), 0);
    EXPECT_EQ(confirm_ask(320, 240), 0);
    EXPECT_EQ(msg_ask_yes_no("?"), 0);
    msg_show("hello", 1500);
    EXPECT_EQ(plat_tick_count(), t0);
    EXPECT_EQ(shown_count(Shown::Question), 2u);
    EXPECT_EQ(shown_count(Shown::Message), 1u);
    back_surface = back;
}

} // namespace
