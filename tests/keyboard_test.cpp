// The keyboard hook called directly: the cursor keys, the confirm and cancel
// keys, the board's hot keys with their chords, and the keys SDL delivers.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/toolbar.h"
#include "board/turn_flow.h"
#include "board/view.h"
#include "engine/cursor.h"
#include "engine/numpad.h"
#include "engine/shown.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/app.h"
#include "shell/keyboard.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "support/popup_fixture.h"
#include "support/ring_board.h"

namespace {

constexpr uint32_t PRESS = 1;
constexpr uint32_t REPEAT = 1 | KEY_FLAG_REPEAT;
constexpr uint32_t RELEASE = 1 | KEY_FLAG_REPEAT | KEY_FLAG_RELEASE;

void hook(uint32_t vk, uint32_t flags) {
    app_keyboard_hook(0, vk, flags);
}
void tap(uint32_t vk) {
    hook(vk, PRESS);
    hook(vk, RELEASE);
}

// The messages waiting, mouse moves left out.
std::vector<PlatMessage> waiting() {
    std::vector<PlatMessage> out;
    PlatMessage m;
    while (plat_peek_message(&m, true))
        if (m.message != WM_MOUSEMOVE && m.message != WM_PAINT) out.push_back(m);
    return out;
}

void cursor_at(int* x, int* y) {
    plat_get_cursor_pos(x, y);
}

class Hook : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        open_window();
        app_active = 1;
        plat_set_cursor_pos(100, 100);
        waiting();
        shown_clear();
        decision_script_clear();
    }
    // A human on the board, waiting for the go.
    void board_waits_for_human() {
        ASSERT_TRUE(ring_human_and_computer());
        board_input_enabled = 1;
        screen_depth = 1;
    }
};

TEST_F(Hook, TakesTheFirstRuleThatAppliesToAKey) {
    struct Case {
        uint32_t vk, flags;
        int dx, dy;      // the cursor's move
        uint32_t posted; // the message posted, 0 none
        const char* why;
    };
    const Case cases[] = {
        {VK_UP, PRESS, 0, -10, 0, "up"},
        {VK_RIGHT, PRESS, 10, 0, 0, "right"},
        {VK_DOWN, PRESS, 0, 10, 0, "down"},
        {VK_LEFT, PRESS, -10, 0, 0, "left"},
        {VK_UP, RELEASE, 0, 0, 0, "a cursor key's release moves nothing"},
        {VK_RETURN, PRESS, 0, 0, WM_LBUTTONDOWN, "confirm pressed"},
        {VK_RETURN, RELEASE, 0, 0, WM_LBUTTONUP, "confirm released"},
        {VK_ESCAPE, PRESS, 0, 0, 0, "the cancel key acts on its release"},
        {VK_ESCAPE, RELEASE, 0, 0, WM_RBUTTONUP, "cancel off the board"},
        {'Q', PRESS, 0, 0, 0, "a key of no rule"},
    };
    for (const Case& c : cases) {
        plat_set_cursor_pos(100, 100);
        waiting();
        confirm_key_down = 0;
        hook(c.vk, c.flags);
        std::vector<PlatMessage> got = waiting();
        int x = 0, y = 0;
        cursor_at(&x, &y);
        EXPECT_EQ(x, 100 + c.dx) << c.why;
        EXPECT_EQ(y, 100 + c.dy) << c.why;
        ASSERT_EQ(got.size(), c.posted ? 1u : 0u) << c.why;
        if (c.posted) {
            EXPECT_EQ(got[0].message, c.posted) << c.why;
            EXPECT_EQ(got[0].wparam, 0u) << c.why;
            const int32_t at = c.posted == WM_RBUTTONUP ? 0 : plat_pack_point(100, 100);
            EXPECT_EQ(got[0].lparam, at) << c.why;
        }
    }
}

TEST_F(Hook, FollowsTheSlotsAndNeverMatchesAChordInTheMouseRules) {
    settings_set_hotkey(HK_CURSOR_UP, 'W');
    settings_set_hotkey(HK_CONFIRM, 0x1100 | 'E');
    hook('W', PRESS);
    hook(VK_UP, PRESS);
    hook('E', PRESS);
    int x = 0, y = 0;
    cursor_at(&x, &y);
    EXPECT_EQ(y, 90) << "only the key now in the slot moves the cursor";
    EXPECT_TRUE(waiting().empty()) << "a slot with a modifier never clicks";
}

TEST_F(Hook, RepeatsMoveTenEachAndAHeldConfirmClicksOnce) {
    hook(VK_DOWN, PRESS);
    for (int i = 0; i < 3; ++i)
        hook(VK_DOWN, REPEAT);
    int x = 0, y = 0;
    cursor_at(&x, &y);
    EXPECT_EQ(y, 140);
    waiting();
    hook(VK_RETURN, PRESS);
    for (int i = 0; i < 4; ++i)
        hook(VK_RETURN, REPEAT);
    hook(VK_RETURN, RELEASE);
    std::vector<PlatMessage> got = waiting();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(got[1].message, WM_LBUTTONUP);
    EXPECT_EQ(confirm_key_down, 0);
}

TEST_F(Hook, LeavesTheConfirmKeyToTheOpenNumberPad) {
    numpad_open = 1;
    tap(VK_RETURN);
    numpad_open = 0;
    EXPECT_TRUE(waiting().empty());
    EXPECT_EQ(confirm_key_down, 0);
}

TEST_F(Hook, CancelOnTheBoardAloneStopsTheAutoPlayUnlessAHumanPlaysByHand) {
    board_waits_for_human();
    board_input_enabled = 0; // the computer plays
    struct Case {
        uint8_t control0;
        uint8_t jail0;
        int depth;
        bool stop;
        bool right_click;
        const char* why;
    };
    const Case cases[] = {
        {CTRL_HUMAN, 0, 1, false, false, "a free human plays by hand: nothing"},
        {CTRL_HUMAN | CTRL_HANDED_OVER, 0, 1, true, false, "every human handed over"},
        {CTRL_HUMAN, 3, 1, true, false, "the only human sits in jail"},
        {CTRL_HUMAN | CTRL_HANDED_OVER, 0, 2, false, true, "a window over the board"},
    };
    for (const Case& c : cases) {
        autoplay_stop_request = 0;
        player_table[0].control = c.control0;
        player_table[0].jail_days = c.jail0;
        screen_depth = c.depth;
        tap(VK_ESCAPE);
        EXPECT_EQ(autoplay_stop_request, c.stop ? 1 : 0) << c.why;
        std::vector<PlatMessage> got = waiting();
        EXPECT_EQ(got.size(), c.right_click ? 1u : 0u) << c.why;
    }
    screen_depth = 0;
}

TEST_F(Hook, ARepeatOfCtrlBreaksTheChordAndCtrlQAsksBeforeQuitting) {
    board_waits_for_human();
    // Ctrl, a repeat of Ctrl, then Q: the repeat cleared the chord.
    hook(VK_CONTROL, PRESS);
    hook(VK_CONTROL, REPEAT);
    hook('Q', PRESS);
    EXPECT_EQ(decision_asked_count(), 0);
    EXPECT_EQ(hotkey_chord, 0);

    decision_script_push(0);
    hook(VK_CONTROL, PRESS);
    EXPECT_EQ(hotkey_chord, 0x1100) << "Ctrl alone waits for its key";
    hook('Q', PRESS);
    EXPECT_EQ(decision_asked_count(), 1);
    EXPECT_EQ(decision_last_kind(), DECIDE_CONFIRM);
    EXPECT_EQ(app_quit, 0) << "no";
    EXPECT_EQ(board_input_enabled, 1) << "the board takes input again";
    EXPECT_EQ(cursor_get_mode(), 1);
    EXPECT_EQ(hotkey_chord, 0);

    decision_script_push(1);
    hook(VK_CONTROL, PRESS);
    hook('Q', PRESS);
    EXPECT_EQ(app_quit, 1) << "yes";
    EXPECT_EQ(board_input_enabled, 0);
}

TEST_F(Hook, ActsOnHotKeysOnlyWhileTheBoardTakesInput) {
    board_waits_for_human();
    board_input_enabled = 0;
    tap(VK_OEM_PERIOD);
    tap('H');
    EXPECT_EQ(view_rotation, 0);
    EXPECT_EQ(shown_count(Shown::Panel), 0u);
}

TEST_F(Hook, RunsTheToolbarCommandOfEachToolbarKey) {
    board_waits_for_human();
    struct Case {
        uint32_t vk;
        int command;
    };
    // The keys whose windows need no answer with nothing on the screen.
    const Case cases[] = {{'W', 10}, {'F', 6}, {'A', 2}, {'V', 1}, {'S', 4}, {'L', 3}, {'H', 0}};
    for (const Case& c : cases) {
        shown_clear();
        board_input_enabled = 1;
        tap(c.vk);
        EXPECT_EQ(shown_count(Shown::Panel, 100 + c.command), 1u) << c.command;
    }
}

// Two slots may hold one key: the first in the table's order acts, the
// toolbar's keys standing among the board's own by their slot.
TEST_F(Hook, OfTwoSlotsWithOneKeyTheFirstInTheTablesOrderActs) {
    board_waits_for_human();
    struct Case {
        int first, second;
        int rotation; // view_rotation after the key
        int panel;    // the toolbar command recorded, -1 none
        uint8_t dice; // the dice count after the key
        const char* why;
    };
    const Case cases[] = {
        {HK_DICE_COUNT, HK_STOCKS, 0, -1, 2, "the dice key before the stock market"},
        {HK_MAP, HK_ROTATE_LEFT, 0, TOOLBAR_MAP, 1, "the map before turning left"},
        {HK_ROTATE_RIGHT, HK_AUTOPLAY, 1, -1, 1, "turning right before the hand-over"},
        {HK_HELP, HK_PAGE_UP, 0, TOOLBAR_HELP, 1, "help before the page keys"},
    };
    for (const Case& c : cases) {
        shown_clear();
        board_input_enabled = 1;
        view_rotation = 0;
        player_table[0].travel = TRAVEL_MOTORBIKE;
        player_table[0].dice = 1;
        settings_set_hotkey(c.first, 'Z');
        settings_set_hotkey(c.second, 'Z');
        tap('Z');
        settings_set_hotkey(c.first, cfg_default_hotkeys[c.first]);
        settings_set_hotkey(c.second, cfg_default_hotkeys[c.second]);
        EXPECT_EQ(view_rotation, c.rotation) << c.why;
        EXPECT_EQ(player_table[0].dice, c.dice) << c.why;
        EXPECT_EQ(shown_count(Shown::Panel, 100 + TOOLBAR_MAP) +
                      shown_count(Shown::Panel, 100 + TOOLBAR_HELP) +
                      shown_count(Shown::Panel, 100 + TOOLBAR_STOCKS) +
                      shown_count(Shown::Panel, 100 + TOOLBAR_HAND_OVER),
                  c.panel < 0 ? 0u : 1u)
            << c.why;
        if (c.panel >= 0) {
            EXPECT_EQ(shown_count(Shown::Panel, 100 + c.panel), 1u) << c.why;
        }
    }
}

TEST_F(Hook, TurnsTheViewAndSwitchesTheLayout) {
    board_waits_for_human();
    hitmap_view_pos[0] = hitmap_view_pos[1] = 5;
    tap(VK_OEM_COMMA);
    EXPECT_EQ(view_rotation, 7) << "left from 0 wraps to 7";
    EXPECT_EQ(hitmap_view_pos[0], -1);
    EXPECT_EQ(hitmap_view_pos[1], -1);
    tap(VK_OEM_PERIOD);
    tap(VK_OEM_PERIOD);
    EXPECT_EQ(view_rotation, 1);
    settings_set_side_panel_layout(2);
    tap(VK_TAB);
    EXPECT_EQ(settings_side_panel_layout(), 0) << "2 wraps to 0";
    EXPECT_EQ(board_input_enabled, 1);
    tap(VK_TAB);
    EXPECT_EQ(settings_side_panel_layout(), 1);
}

TEST_F(Hook, PageKeysTurnTheTabsExceptInTheCombinedLayout) {
    board_waits_for_human();
    settings_set_side_panel_layout(0);
    tap(VK_PRIOR);
    EXPECT_EQ(board_tabs[0], 3) << "up from the first tab wraps";
    tap(VK_NEXT);
    tap(VK_NEXT);
    EXPECT_EQ(board_tabs[0], 1);
    settings_set_side_panel_layout(2);
    tap(VK_NEXT);
    tap(VK_PRIOR);
    EXPECT_EQ(board_tabs[0], 1);
}

TEST_F(Hook, TheDiceKeyCyclesByTravelModeUnlessTheMoverMustStay) {
    board_waits_for_human();
    struct Case {
        uint8_t travel, dice, stay;
        std::vector<int> after; // the dice count after each press
    };
    const Case cases[] = {
        {TRAVEL_WALK, 1, 0, {1, 1}},
        {TRAVEL_MOTORBIKE, 1, 0, {2, 1, 2}},
        {TRAVEL_CAR, 1, 0, {2, 3, 1}},
        {TRAVEL_CAR, 2, 2, {2, 2}},
    };
    for (const Case& c : cases) {
        player_table[0].travel = c.travel;
        player_table[0].dice = c.dice;
        player_table[0].stay_days = c.stay;
        for (size_t i = 0; i < c.after.size(); ++i) {
            tap('D');
            EXPECT_EQ(player_table[0].dice, c.after[i]) << int(c.travel) << " press " << i;
        }
    }
}

TEST_F(Hook, TheGoKeyStartsTheHumansMove) {
    board_waits_for_human();
    cursor_set_mode(1);
    tap(VK_SPACE);
    EXPECT_NE(actor_anim_table[0].phase, PHASE_WAIT);
    EXPECT_EQ(board_input_enabled, 0);
    EXPECT_EQ(cursor_get_mode(), 0);
}

TEST(SdlKeys, EveryNamedKeyArrivesWithItsCodeRepeatAndReleaseBits) {
    setenv("KARVO_HEADLESS", "1", 1);
    unsetenv("KARVO_SCRIPT");
    ASSERT_TRUE(plat_init());
    plat_set_keyboard_hook(nullptr);
    struct Key {
        SDL_Keycode sym;
        SDL_Scancode scan;
        uint32_t vk;
    };
    std::vector<Key> keys = {
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 0x08},
        {SDLK_TAB, SDL_SCANCODE_TAB, 0x09},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 0x0D},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0x0D},
        {SDLK_LCTRL, SDL_SCANCODE_LCTRL, 0x11},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 0x11},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0x1B},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, 0x20},
        {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 0x21},
        {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 0x22},
        {SDLK_END, SDL_SCANCODE_END, 0x23},
        {SDLK_HOME, SDL_SCANCODE_HOME, 0x24},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25},
        {SDLK_UP, SDL_SCANCODE_UP, 0x26},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 0x27},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 0x28},
        {SDLK_INSERT, SDL_SCANCODE_INSERT, 0x2D},
        {SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, 0x6A},
        {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, 0x6B},
        {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, 0x6D},
        {SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, 0x6F},
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 0xBA},
        {SDLK_EQUALS, SDL_SCANCODE_EQUALS, 0xBB},
        {SDLK_COMMA, SDL_SCANCODE_COMMA, 0xBC},
        {SDLK_MINUS, SDL_SCANCODE_MINUS, 0xBD},
        {SDLK_PERIOD, SDL_SCANCODE_PERIOD, 0xBE},
        {SDLK_SLASH, SDL_SCANCODE_SLASH, 0xBF},
        {SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, 0xC0},
        {SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, 0xDB},
        {SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH, 0xDC},
        {SDLK_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET, 0xDD},
        {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, 0xDE},
    };
    for (int d = 0; d < 10; ++d)
        keys.push_back({SDLK_0 + d, static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (d + 9) % 10),
                        static_cast<uint32_t>('0' + d)});
    for (int l = 0; l < 26; ++l)
        keys.push_back({SDLK_a + l, static_cast<SDL_Scancode>(SDL_SCANCODE_A + l),
                        static_cast<uint32_t>('A' + l)});
    for (int f = 0; f < 12; ++f)
        keys.push_back({SDLK_F1 + f, static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + f),
                        static_cast<uint32_t>(0x70 + f)});
    for (const Key& k : keys) {
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event e{};
            e.type = type;
            e.key.keysym.sym = k.sym;
            e.key.keysym.scancode = k.scan;
            ASSERT_EQ(SDL_PushEvent(&e), 1);
        }
        const uint32_t expected_flags[3] = {0, KEY_FLAG_REPEAT, KEY_FLAG_REPEAT | KEY_FLAG_RELEASE};
        for (int i = 0; i < 3; ++i) {
            PlatMessage m;
            ASSERT_TRUE(plat_take_input(&m)) << k.vk;
            EXPECT_EQ(m.message, i < 2 ? WM_KEYDOWN : WM_KEYUP) << std::hex << k.vk;
            EXPECT_EQ(m.wparam, k.vk) << std::hex << k.sym;
            EXPECT_EQ(static_cast<uint32_t>(m.lparam) & (KEY_FLAG_REPEAT | KEY_FLAG_RELEASE),
                      expected_flags[i])
                << std::hex << k.vk << " message " << i;
        }
    }
    plat_shutdown();
}

// A toolbar window opened by its hot key runs over the board and gives the
// board its input back when it closes.
class HookWindow : public PopupTest {};

TEST_F(HookWindow, AToolbarWindowOpenedByItsKeyReturnsToTheBoard) {
    ASSERT_TRUE(ring_human_and_computer());
    board_input_enabled = 1;
    app_active = 1;
    const uint32_t t = plat_tick_count();
    at(t + 200, SCRIPT_RIGHT_DOWN, 300, 300);
    at(t + 210, SCRIPT_RIGHT_UP, 300, 300);
    int depth_inside = 0;
    static int* seen = nullptr;
    seen = &depth_inside;
    plat_set_cursor_hook([] {
        if (screen_depth > *seen) *seen = screen_depth;
    });
    tap('A');
    plat_set_cursor_hook(nullptr);
    EXPECT_EQ(depth_inside, 1) << "the panel ran as a modal screen";
    EXPECT_EQ(screen_depth, 0);
    EXPECT_GE(shown_count(Shown::Panel, 77), 1u) << "the computer players' panel";
    EXPECT_EQ(board_input_enabled, 1);
}

} // namespace
