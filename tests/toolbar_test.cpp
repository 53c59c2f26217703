// The toolbar's table: a row per button with its hot key, registered once by
// the module of its window, and the button and the hot key running the same
// row.
#include "board/board_refresh.h"
#include "board/toolbar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/board_screen.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "engine/shown.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "shell/app.h"
#include "shell/keyboard.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "support/popup_fixture.h"
#include "support/ring_board.h"

namespace {

struct Button {
    int command;
    int hot_key;
};
// The buttons from left to right and the hot key each has always had.
constexpr Button BUTTONS[TOOLBAR_COMMAND_COUNT] = {
    {TOOLBAR_HELP, HK_HELP},   {TOOLBAR_SYSTEM, HK_SYSTEM}, {TOOLBAR_HAND_OVER, HK_AUTOPLAY},
    {TOOLBAR_LOAD, HK_LOAD},   {TOOLBAR_SAVE, HK_SAVE},     {TOOLBAR_MAP, HK_MAP},
    {TOOLBAR_QUERY, HK_QUERY}, {TOOLBAR_ITEMS, HK_ITEMS},   {TOOLBAR_CARDS, HK_CARDS},
    {TOOLBAR_TRADE, HK_TRADE}, {TOOLBAR_STOCKS, HK_STOCKS},
};

bool stand_in() {
    return true;
}

TEST(ToolbarCommands, EveryButtonHasOneRowWithItsHotKeyAndItsTwoFrames) {
    int toolbar_keys = 0;
    for (const Button& b : BUTTONS) {
        SCOPED_TRACE(b.command);
        const ToolbarCommandRow* row = toolbar_command_row(b.command);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->command, b.command);
        EXPECT_NE(row->open, nullptr);
        EXPECT_EQ(row->hot_key, b.hot_key);
        EXPECT_EQ(toolbar_command_of_hot_key(b.hot_key), b.command);
        // The picture's frames: the strip, eleven buttons, eleven lit ones.
        EXPECT_EQ(toolbar_button_frame(b.command, false), b.command + 1);
        EXPECT_EQ(toolbar_button_frame(b.command, true), b.command + 12);
    }
    for (int slot = 0; slot < HOTKEY_COUNT; ++slot)
        if (toolbar_command_of_hot_key(slot) >= 0) ++toolbar_keys;
    EXPECT_EQ(toolbar_keys, TOOLBAR_COMMAND_COUNT) << "no other slot opens a window";
    EXPECT_EQ(toolbar_command_of_hot_key(TOOLBAR_NO_HOT_KEY), -1);
    EXPECT_EQ(toolbar_command_row(-1), nullptr);
    EXPECT_EQ(toolbar_command_row(TOOLBAR_COMMAND_COUNT), nullptr);
}

TEST(ToolbarCommandsDeathTest, ASecondRowOrABadRowAbortsWithAMessage) {
    EXPECT_DEATH(toolbar_command_register({TOOLBAR_MAP, stand_in, TOOLBAR_NO_HOT_KEY}),
                 "toolbar command 5 registered twice");
    EXPECT_DEATH(toolbar_command_register({TOOLBAR_COMMAND_COUNT, stand_in, TOOLBAR_NO_HOT_KEY}),
                 "toolbar command 11 is no toolbar button");
    EXPECT_DEATH(toolbar_command_register({-1, stand_in, TOOLBAR_NO_HOT_KEY}),
                 "toolbar command -1 is no toolbar button");
    EXPECT_DEATH(toolbar_command_register({TOOLBAR_MAP, nullptr, TOOLBAR_NO_HOT_KEY}),
                 "toolbar command 5 registered without an opener");
    EXPECT_DEATH(toolbar_command_register({TOOLBAR_MAP, stand_in, HK_HELP}),
                 "toolbar command 5 registered with a hot key another command has");
    EXPECT_DEATH(toolbar_command_register({TOOLBAR_MAP, stand_in, HOTKEY_COUNT}),
                 "toolbar command 5 registered with no hot-key slot");
}

// A board waiting for its human, its pictures loaded.
class ToolbarOnTheBoard : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        app_active = 1;
        decision_script_clear();
        ASSERT_TRUE(ring_human_and_computer());
        screen_depth = 1;
        board_load_graphics();
    }
    void TearDown() override {
        screen_depth = 0;
        board_input_enabled = 0;
        board_free_graphics();
        PopupTest::TearDown();
    }
    // What was shown from the command's own record on.
    static std::vector<std::string> shown_from_command(int command) {
        std::vector<std::string> out;
        bool started = false;
        for (const ShownEvent& e : shown_log()) {
            started = started || (e.kind == Shown::Panel && e.number == 100 + command);
            if (started)
                out.push_back(std::to_string(static_cast<int>(e.kind)) + " " +
                              std::to_string(e.number) + " " + e.text);
        }
        return out;
    }
};

int32_t point(int x, int y) {
    return static_cast<int32_t>((static_cast<uint32_t>(y) << 16) | static_cast<uint16_t>(x));
}

TEST_F(ToolbarOnTheBoard, TheButtonAndItsHotKeyOpenTheSameWindow) {
    // The windows that need no answer with nothing on the screen.
    for (int command : {TOOLBAR_HELP, TOOLBAR_SYSTEM, TOOLBAR_HAND_OVER, TOOLBAR_LOAD, TOOLBAR_SAVE,
                        TOOLBAR_QUERY, TOOLBAR_STOCKS}) {
        SCOPED_TRACE(command);
        const int slot = toolbar_command_row(command)->hot_key;
        shown_clear();
        board_input_enabled = 1;
        app_keyboard_hook(0, settings_hotkey(slot), 1);
        app_keyboard_hook(0, settings_hotkey(slot), 1 | KEY_FLAG_REPEAT | KEY_FLAG_RELEASE);
        const std::vector<std::string> by_key = shown_from_command(command);

        shown_clear();
        board_input_enabled = 1;
        const int x = toolbar_button_centre_x(command), y = TOOLBAR_BUTTON_CENTRE_Y;
        board_wndproc(nullptr, WM_LBUTTONDOWN, 0, point(x, y));
        board_wndproc(nullptr, WM_LBUTTONUP, 0, point(x, y));
        const std::vector<std::string> by_click = shown_from_command(command);

        ASSERT_FALSE(by_key.empty()) << "the command ran";
        EXPECT_EQ(by_key, by_click);
    }
}

} // namespace
