#include "board/spinner_screen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "board/game_state.h"
#include "board/spinner.h"
#include "board/world_reset.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/layout.h"
#include "engine/random.h"
#include "mkf_writer.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "support/popup_fixture.h"

namespace {

// A frame set whose frames are solid rectangles of distinct colours, so a
// pixel tells which frame was drawn; read as the archive reader would
// (pixels converted to the display's format, frames linked).
struct SolidSet {
    void* set = nullptr;
    std::vector<uint16_t> colours; // display pixels by frame
    SolidSet(int frames, int w, int h, int hot_x, int hot_y, int first_colour) {
        std::vector<FrameImage> images;
        for (int f = 0; f < frames; ++f) {
            FrameImage img;
            img.width = static_cast<uint16_t>(w);
            img.height = static_cast<uint16_t>(h);
            img.hot_x = static_cast<int16_t>(hot_x);
            img.hot_y = static_cast<int16_t>(hot_y);
            const uint16_t c = static_cast<uint16_t>(0x4000 | ((first_colour + f * 37) & 0x3FFF));
            img.pixels.assign(static_cast<size_t>(w) * h, c);
            images.push_back(img);
            uint16_t shown = c;
            gfx_convert_pixels(&shown, 2);
            colours.push_back(shown);
        }
        const FrameSetBytes bytes = frameset_smp(images);
        set = std::malloc(bytes.data.size());
        std::memcpy(set, bytes.data.data(), bytes.data.size());
        gfx_convert_pixels(static_cast<uint8_t*>(set) + bytes.pixel_offset, bytes.pixel_byte_count);
        spr_link_frames(set, static_cast<uint32_t>(bytes.data.size()));
    }
    ~SolidSet() {
        spr_unlink(set);
        std::free(set);
    }
};

class SpinnerScreen : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        game_world_reset();
        game_player_count = 2;
        player_table[0].control = CTRL_COMPUTER;
        player_table[1].control = CTRL_HUMAN;
        game_active_mover = 0;
        app_active = 1;
        // A board of many colours, so a restore in the wrong place shows.
        for (int y = 0; y < SCREEN_H; ++y)
            for (int x = 0; x < SCREEN_W; ++x) {
                const uint16_t p = static_cast<uint16_t>((x * 7 + y * 131) | 0x0421);
                back_surface->pixels[y * (back_surface->pitch / 2) + x] = p;
                primary_surface->pixels[y * (primary_surface->pitch / 2) + x] = p;
            }
        before.assign(primary_surface->pixels,
                      primary_surface->pixels + SCREEN_H * (primary_surface->pitch / 2));
        samples.clear();
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        spin_screen_use_pictures(nullptr, nullptr);
        game_world_reset();
        PopupTest::TearDown();
    }
    int board_changed() const {
        int n = 0;
        const int pitch = primary_surface->pitch / 2;
        const PlatRect& a = LAYOUT_BOARD_AREA;
        for (int y = a.top; y < a.bottom; ++y)
            for (int x = a.left; x < a.right; ++x)
                if (primary_surface->pixels[y * pitch + x] != before[y * pitch + x]) ++n;
        return n;
    }
    std::vector<uint16_t> before;
    static inline std::vector<std::vector<uint16_t>> samples;
};

TEST_F(SpinnerScreen, TheUnitsReelIsDrawnRightmost) {
    for (int three = 0; three <= 1; ++three) {
        const int n = three ? 3 : 4;
        for (int reel = 1; reel <= n; ++reel)
            EXPECT_EQ(spin_screen_reel_x_of(three, reel), spin_screen_reel_x(three, n - reel));
    }
    EXPECT_EQ(spin_screen_reel_x_of(1, 1), SPIN_REEL_X_THREE[2]);
    EXPECT_EQ(spin_screen_reel_x_of(0, 4), SPIN_REEL_X_FOUR[0]);

    SolidSet reels(24, 36, 50, 0, 25, 0x100);
    spin_screen_use_pictures(reels.set, nullptr);
    plat_set_cursor_hook([] {
        std::vector<uint16_t> s;
        for (int place = 0; place < 3; ++place)
            s.push_back(PopupTest::back_at(spin_screen_reel_x(1, place) + 10, SPIN_REEL_Y));
        samples.push_back(s);
    });
    // Three different digits, so that the order shows.
    int amount = 0;
    for (uint32_t seed = 1; seed < 50; ++seed) {
        game_srand(seed);
        samples.clear();
        amount = spin_god_amount(SPIN_SMALL_WEALTH);
        const int h = amount / 100, t = amount / 10 % 10, u = amount % 10;
        if (h != t && t != u && h != u) break;
    }
    const int h = amount / 100, t = amount / 10 % 10, u = amount % 10;
    ASSERT_TRUE(h != t && t != u && h != u) << amount;
    ASSERT_FALSE(samples.empty());
    const std::vector<uint16_t>& last = samples.back();
    EXPECT_EQ(last[0], reels.colours[SPIN_FRAME_REEL_FIRST + 2 * h]) << "hundreds leftmost";
    EXPECT_EQ(last[1], reels.colours[SPIN_FRAME_REEL_FIRST + 2 * t]);
    EXPECT_EQ(last[2], reels.colours[SPIN_FRAME_REEL_FIRST + 2 * u]) << "units rightmost";
    EXPECT_EQ(board_changed(), 0) << "the board area restored pixel for pixel";
}

TEST_F(SpinnerScreen, TheWheelShowsEachPositionsFrameAndTheBoardComesBack) {
    SolidSet wheels(14, 120, 120, 60, 60, 0x2000);
    spin_screen_use_pictures(nullptr, wheels.set);
    plat_set_cursor_hook(
        [] { samples.push_back({PopupTest::screen_at(SPIN_DEVICE_X, SPIN_DEVICE_Y + 10)}); });
    game_srand(7);
    const int value = spin_building_prompt(WHEEL_HOTEL_DAYS, "x");
    EXPECT_GE(value, 1);
    ASSERT_FALSE(samples.empty());
    // On the display, not only in the back buffer: the frame of the position it stopped on.
    EXPECT_EQ(samples.back()[0], wheels.colours[SPIN_FRAME_WHEEL_FIRST + spin_wheel_position()]);
    bool other = false;
    for (const auto& s : samples)
        if (s[0] != samples.back()[0]) other = true;
    EXPECT_TRUE(other) << "the wheel turned on the display";
    EXPECT_EQ(board_changed(), 0);
}

TEST_F(SpinnerScreen, AHumansButtonReleaseStopsTheWheelAfterTheFirstTick) {
    game_active_mover = 1;
    at(plat_tick_count() + 1, SCRIPT_LEFT_DOWN, 300, 300);
    at(plat_tick_count() + 2, SCRIPT_LEFT_UP, 300, 300);
    spin_building_prompt(WHEEL_TRAVEL, "x");
    EXPECT_EQ(spin_last_spin_ticks(), 1);
    // Nothing pressed: the result stands its 40 ticks, the spin waits for him.
    at(plat_tick_count() + 5 * WHEEL_TICK_MS + 5, SCRIPT_KEY_UP, 0x20);
    spin_wheel_run(WHEEL_TRAVEL);
    EXPECT_EQ(spin_last_spin_ticks(), 6);
}

TEST_F(SpinnerScreen, WithoutItsPicturesASpinnerStillAnswers) {
    SolidSet none(1, 4, 4, 0, 0, 0x10); // only the first pointer
    spin_screen_use_pictures(none.set, none.set);
    game_srand(3);
    const int value = spin_building_prompt(WHEEL_INSURANCE_DAYS, "x");
    EXPECT_TRUE(value == 3 || value == 5 || value == 10 || value == 15 || value == 20 ||
                value == 30)
        << value;
    const int amount = spin_god_amount(SPIN_BIG_WEALTH);
    EXPECT_GE(amount, 0);
    EXPECT_LE(amount, 9999);
    EXPECT_EQ(board_changed(), 0);
}

} // namespace
