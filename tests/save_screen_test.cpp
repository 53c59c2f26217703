// The load and save lists under scripted mouse: rows only for loadable
// slots, the yellow highlight on the display alone, a chosen slot loaded, a
// refused read or a cancel giving -1, and the save list redrawn after saving.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "board/game_state.h"
#include "board/map.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "engine/record_io.h"
#include "engine/shown.h"
#include "engine/surfaces.h"
#include "platform/clock.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/save.h"
#include "shell/save_layout.h"
#include "shell/screen.h"
#include "support/popup_fixture.h"
#include "support/runner_process.h"

namespace fs = std::filesystem;

namespace {

constexpr int CONFIRM_EFFECT = 2; // EFFECT.MKF entries of the common list
constexpr int CANCEL_EFFECT = 4;  // element 3 of the list is entry 4
const uint16_t BLANK = 0x0841;
// A point in the middle of load list row (slot) `slot`, and of the save list's
// row of slot `slot`.
constexpr int LIST_X = 300;
constexpr int load_row_y(int slot) {
    return save_list_load_row_top(slot) + 30;
}
constexpr int save_row_y(int slot) {
    return save_list_save_row_top(slot) + 30;
}

// Save files made once by the runner: slot 0 its autosave, slot 1 a save
// of day 3 of a four-player game on map 2.
const fs::path& made_saves() {
    static fs::path dir;
    if (dir.empty()) {
        dir = fs::temp_directory_path() / ("karvo_save_lists_" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        run_runner("8 2 4 6 --autosave --save-dir " + dir.string() + " --roundtrip-at 3");
    }
    return dir;
}

std::vector<uint8_t> bytes_of(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class SaveLists : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        app_active = 1;
        home = fs::temp_directory_path() / ("karvo_lists_home_" + std::to_string(getpid()));
        fs::remove_all(home);
        fs::create_directories(home);
        setenv("KARVO_HOME", home.c_str(), 1);
        shown_clear();
        t0 = plat_tick_count();
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        map_free();
        fs::remove_all(home);
        PopupTest::TearDown();
    }
    void copy_save(int from, int to) {
        fs::copy_file(made_saves() / save_slot_name(from), home / save_slot_name(to),
                      fs::copy_options::overwrite_existing);
    }
    fs::path home;
};

// What the cursor hook saw while a list was open.
struct Seen {
    uint32_t at = 0;
    bool checked = false;
    uint16_t screen_outline = 0, back_outline = 0, inner_outline = 0;
    int yellow_elsewhere = 0;
    std::string shot;
} seen;

// The yellow pixels on the line where the highlight of the row at `top`
// would have its outer outline, a little beyond its ends.
int yellow_in_row(int top, uint16_t yellow) {
    const PlatRect r = save_list_highlight(top);
    int n = 0;
    for (int x = r.left - 7; x < r.right + 11; ++x)
        if (PopupTest::screen_at(x, r.top) == yellow) ++n;
    return n;
}

} // namespace

TEST_F(SaveLists, TheLoadListHighlightsALoadableRowAndLoadsTheChosenSlot) {
    copy_save(0, 0);
    copy_save(1, 1);
    copy_save(1, 4);
    seen = Seen{};
    seen.at = t0 + 400;
    move(t0 + 300, LIST_X, load_row_y(1));
    point_and_click(700, LIST_X, load_row_y(2)); // row 2 has no file: nothing
    point_and_click(900, LIST_X, load_row_y(1));
    plat_set_cursor_hook([] {
        if (seen.checked || plat_tick_count() < seen.at) return;
        seen.checked = true;
        const uint16_t yellow = gfx_rgb_to_pixel(SAVE_LIST_HIGHLIGHT_RGB);
        const PlatRect lit = save_list_highlight(save_list_load_row_top(1));
        seen.screen_outline = PopupTest::screen_at(lit.left + 200, lit.top);
        seen.inner_outline = PopupTest::screen_at(lit.left + 1, load_row_y(1));
        seen.back_outline = PopupTest::back_at(lit.left + 200, lit.top);
        seen.yellow_elsewhere = yellow_in_row(save_list_load_row_top(0), yellow) +
                                yellow_in_row(save_list_load_row_top(4), yellow);
        seen.shot = PopupTest::save_screen_bmp("save_load_list");
    });
    EXPECT_EQ(save_load_screen(0), 1);
    ASSERT_TRUE(seen.checked);
    const uint16_t yellow = gfx_rgb_to_pixel(SAVE_LIST_HIGHLIGHT_RGB);
    EXPECT_EQ(seen.screen_outline, yellow);
    EXPECT_EQ(seen.inner_outline, yellow);
    EXPECT_NE(seen.back_outline, yellow) << "the highlight is on the display only";
    EXPECT_EQ(seen.yellow_elsewhere, 0);
    EXPECT_EQ(shown_count(Shown::Effect, CONFIRM_EFFECT), 1u) << "the empty row answered nothing";
    const std::vector<uint8_t> file = bytes_of(home / "SAVE1.DAT");
    EXPECT_EQ(game_date, le_get32(file.data() + SAVE_DATE));
    EXPECT_EQ(game_map, 2);
    EXPECT_TRUE(map_data_loaded());
    EXPECT_EQ(save_image_encode(), file);
}

TEST_F(SaveLists, WithNothingLoadableTheLoadListGivesMinusOneAndDrawsNothing) {
    // A damaged file is not loadable either.
    std::vector<uint8_t> bad = bytes_of(made_saves() / "SAVE1.DAT");
    bad.pop_back();
    std::ofstream(home / "SAVE2.DAT", std::ios::binary)
        .write(reinterpret_cast<const char*>(bad.data()), static_cast<std::streamsize>(bad.size()));
    paint_screen(BLANK);
    const uint32_t before = plat_tick_count();
    EXPECT_EQ(save_load_screen(0), -1);
    EXPECT_EQ(plat_tick_count(), before) << "no screen ran";
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BLANK), 0);
}

TEST_F(SaveLists, ACancelOrARefusedReadGivesMinusOneAndPutsTheGameScreenBack) {
    copy_save(1, 3);
    paint_screen(BLANK);
    right_click(300, 300, 300);
    EXPECT_EQ(save_load_screen(1), -1);
    EXPECT_EQ(shown_count(Shown::Effect, CANCEL_EFFECT), 1u);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BLANK), 0) << "the saved rectangle restored";
    // The file goes between listing and loading: the read is refused.
    seen = Seen{};
    seen.at = t0 + 600;
    static fs::path doomed;
    doomed = home / "SAVE3.DAT";
    plat_set_cursor_hook([] {
        if (!seen.checked && plat_tick_count() >= seen.at) {
            seen.checked = true;
            fs::remove(doomed);
        }
    });
    t0 = plat_tick_count();
    seen.at = t0 + 200;
    point_and_click(400, LIST_X, load_row_y(3));
    EXPECT_EQ(save_load_screen(1), -1);
    EXPECT_NE(shown_find_text(Shown::Message, "读取存档失败"), nullptr);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BLANK), 0);
}

TEST_F(SaveLists, SavingRedrawsTheListWithTheNewRowBeforeItCloses) {
    copy_save(1, 1);
    ASSERT_EQ(save_read_slot(1), 1);
    game_date = 0x07CE0C19; // 25 December 1998
    shown_clear();
    seen = Seen{};
    t0 = plat_tick_count();
    seen.at = t0 + 700;
    move(t0 + 300, LIST_X, save_row_y(3));
    point_and_click(500, LIST_X, save_row_y(3));
    plat_set_cursor_hook([] {
        // In the half second after the click the list shows slot 3's row.
        if (!seen.checked && plat_tick_count() >= seen.at) {
            seen.checked = true;
            seen.back_outline =
                PopupTest::screen_at(SAVE_LIST_DATE_CELL_X + 5, save_list_save_row_top(3) + 5);
            seen.shot = PopupTest::save_screen_bmp("save_save_list");
        }
    });
    save_save_screen();
    ASSERT_TRUE(seen.checked);
    void* set = spr_read_set(nullptr, SAVE_LIST_SET_ENTRY);
    ASSERT_NE(set, nullptr);
    const ImageRecord* cell = spr_frame(set, SAVE_LIST_FRAME_DATE_CELL);
    EXPECT_EQ(seen.back_outline, cell->pixels[5 * cell->width + 5]) << "the date cell drawn";
    spr_free_set(set);
    const std::vector<uint8_t> saved = bytes_of(home / "SAVE3.DAT");
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(le_get32(saved.data() + SAVE_DATE), 0x07CE0C19u);
    EXPECT_GE(shown_count(Shown::Wait), 1u) << "the half second after saving";
    EXPECT_EQ(screen_depth, 0);
}

TEST_F(SaveLists, AFailedSaveSaysSoAndKeepsTheOldFile) {
    copy_save(0, 2);
    copy_save(1, 1);
    ASSERT_EQ(save_read_slot(1), 1);
    const std::vector<uint8_t> before = bytes_of(home / "SAVE2.DAT");
    shown_clear();
    t0 = plat_tick_count();
    point_and_click(300, LIST_X, save_row_y(2));
    // Files may grow to 4 KiB only: the save cannot be written.
    struct rlimit old_limit;
    getrlimit(RLIMIT_FSIZE, &old_limit);
    struct rlimit small = old_limit;
    small.rlim_cur = 4096;
    auto old_handler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    save_save_screen();
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, old_handler);
    EXPECT_NE(shown_find_text(Shown::Message, "存档失败"), nullptr);
    EXPECT_EQ(bytes_of(home / "SAVE2.DAT"), before);
    EXPECT_EQ(screen_depth, 0);
}

// A slot that is read shows the loading picture on the display at once, for
// the whole of the load's second, not only in the back surface.
TEST_F(SaveLists, ReadingASlotShowsTheLoadingPictureOnTheDisplay) {
    copy_save(1, 1);
    paint_screen(BLANK);
    uint32_t size = 0;
    static uint16_t* picture = nullptr;
    picture = static_cast<uint16_t*>(mkf_read(data_archive, 560, nullptr, &size));
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(size, 640u * 480u * 2u);
    seen = Seen{};
    plat_set_cursor_hook([] {
        if (seen.checked) return;
        int same = 0;
        for (int y = 0; y < 480; y += 40)
            for (int x = 0; x < 640; x += 40)
                same += PopupTest::screen_at(x, y) == picture[y * 640 + x];
        if (same < 16 * 12) return;
        seen.checked = true;
        seen.at = plat_tick_count();
        seen.shot = PopupTest::save_screen_bmp("save_loading_picture");
    });
    const uint32_t before = plat_tick_count();
    ASSERT_EQ(save_read_slot(1), 1);
    std::free(picture);
    EXPECT_TRUE(seen.checked) << "the picture never reached the display";
    EXPECT_EQ(seen.at, before) << "shown before the load's work and wait";
    EXPECT_GE(plat_tick_count() - before, 1000u);
}
