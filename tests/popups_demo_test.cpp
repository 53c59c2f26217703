// Draws each pop-up from the stand-in data over a board-like background and
// saves the screen as it was shown: popup_message.bmp, popup_bubble.bmp,
// popup_balloon.bmp, popup_numpad.bmp and popup_confirm.bmp in the tests'
// build directory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "board/game_state.h"
#include "board/speech.h"
#include "engine/balloon.h"
#include "engine/confirm.h"
#include "engine/cursor.h"
#include "engine/message.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/numpad.h"
#include "engine/shown.h"
#include "engine/sound.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "support/popup_fixture.h"

namespace {

std::string g_name;       // the picture to save, empty when saved
uint32_t g_save_at = 0;   // not before this time
std::string g_saved_path; // where it went

// The cursor's own hook, then the picture once its time has come.
void serve_and_save() {
    cursor_serve_ticks();
    if (g_name.empty() || plat_tick_count() < g_save_at) return;
    g_saved_path = PopupTest::save_screen_bmp(g_name);
    g_name.clear();
}

class Demo : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        app_active = 1;
        snd_init(0);
        game_state_reset();
        map_archive = mkf_open("MAP.MKF");
        player_table[0].control = CTRL_HUMAN;
        player_table[0].character = 0;
        actor_anim_table[0].portrait =
            static_cast<FrameSet*>(mkf_read(map_archive, 15, nullptr, nullptr));
        // A board-like background: green squares with darker seams.
        for (PlatSurface* s : {back_surface, primary_surface})
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x) {
                    const bool seam = x % 40 == 0 || y % 40 == 0;
                    const uint32_t rgb = x >= 440 ? 0x303848 : seam ? 0x285020 : 0x50A040;
                    s->pixels[y * (s->pitch / 2) + x] = gfx_rgb_to_pixel(rgb);
                }
        cursor_start();
        cursor_set_shape(41, 1, 0);
        cursor_set_mode(1);
        plat_set_cursor_hook(serve_and_save);
        speech_last_text = nullptr;
        shown_clear();
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        spr_unlink(actor_anim_table[0].portrait);
        std::free(actor_anim_table[0].portrait);
        actor_anim_table[0].portrait = nullptr;
        mkf_close(map_archive);
        snd_shutdown();
        PopupTest::TearDown();
    }
    void save_when(const char* name, uint32_t after_ms) {
        g_name = name;
        g_save_at = plat_tick_count() + after_ms;
        g_saved_path.clear();
    }
    void expect_saved() {
        EXPECT_TRUE(g_name.empty()) << "the picture was taken while shown";
        EXPECT_FALSE(g_saved_path.empty());
    }
    int map_archive = -1;
};

TEST_F(Demo, SavesTheMessagePanel) {
    plat_set_cursor_pos(300, 300);
    save_when("popup_message", 500);
    msg_show("您的现金不足！\n请先到银行提款。", 1500);
    expect_saved();
}

TEST_F(Demo, SavesTheBubbleWithItsFaceAndVoice) {
    save_when("popup_bubble", 300);
    speech_bubble(0, 3, speech_line(0, 6));
    expect_saved();
    EXPECT_EQ(shown_count(Shown::Voice, 1056), 1u);
}

TEST_F(Demo, SavesTheBalloon) {
    balloon_set(spr_frame(board_panel_set, 5), 320, 200, 0, 0, 0xFFFF80, 0x101010);
    balloon_show("欢迎光临！\n要办理业务吗？");
    g_saved_path = save_screen_bmp("popup_balloon");
    EXPECT_FALSE(g_saved_path.empty());
    balloon_hide(BALLOON_HIDE_NOW);
}

TEST_F(Demo, SavesTheNumberPadWithAValueTyped) {
    const uint32_t t0 = plat_tick_count();
    move(t0 + 50, 330, 260);
    for (uint32_t vk : {'1', '2', '5', '0', '0'}) {
        static uint32_t t = 0;
        t = (vk == '1') ? t0 + 100 : t + 100;
        key_down(t, vk);
        key_up(t + 20, vk);
    }
    key_down(t0 + 1500, 0x0D);
    key_up(t0 + 1520, 0x0D);
    save_when("popup_numpad", 1000);
    EXPECT_EQ(numpad_input(50000), 12500);
    expect_saved();
}

TEST_F(Demo, SavesThePopUpWithYesLit) {
    const uint32_t t0 = plat_tick_count();
    move(t0 + 100, 190, 325);
    at(t0 + 900, SCRIPT_LEFT_UP, 190, 325);
    save_when("popup_confirm", 600);
    EXPECT_EQ(msg_ask_yes_no("要买下这块地吗？"), 1);
    expect_saved();
}

} // namespace
