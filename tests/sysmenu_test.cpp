// The system window under scripted mouse: its options taken only on OK and
// written to the settings file, the layout bit, the date dialog's limits, the
// hot-key dialog's chords, and the game actions behind a confirmation.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "board/calendar.h"
#include "board/decisions.h"
#include "board/game_state.h"
#include "board/world_reset.h"
#include "engine/layout.h"
#include "engine/music.h"
#include "engine/options.h"
#include "engine/record_io.h"
#include "platform/clock.h"
#include "platform/mci.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "shell/sysmenu.h"
#include "shell/sysmenu_layout.h"
#include "support/popup_fixture.h"
#include "support/ring_board.h"

namespace fs = std::filesystem;

namespace {

constexpr uint16_t BACKGROUND = 0x1234;
// The window and the dialogs are centred on the screen.
constexpr int LEFT = (SCREEN_W - SYSMENU_WINDOW_W) / 2, TOP = (SCREEN_H - SYSMENU_WINDOW_H) / 2;
constexpr int DATE_LEFT = (SCREEN_W - SYSMENU_DATE_W) / 2;
constexpr int DATE_TOP = (SCREEN_H - SYSMENU_DATE_H) / 2;
constexpr int KEYS_LEFT = (SCREEN_W - SYSMENU_HOTKEY_W) / 2;
constexpr int KEYS_TOP = (SCREEN_H - SYSMENU_HOTKEY_H) / 2;
constexpr int middle_x(const PlatRect& r) {
    return (r.left + r.right) / 2;
}
constexpr int middle_y(const PlatRect& r) {
    return (r.top + r.bottom) / 2;
}
// The centre of the day grid's cell in column `column` and row `row`.
constexpr int day_x(int column) {
    return SYSMENU_DAY_X + SYSMENU_DAY_STEP_X * column;
}
constexpr int day_y(int row) {
    return SYSMENU_DAY_Y + SYSMENU_DAY_STEP_Y * row;
}

struct Seen {
    bool taken = false;
    int window_pixels = 0;    // pixels of the window's rectangle that are not the background
    int outside_pixels = 0;   // pixels beside it that are not
    int track_frame_off = -1; // pixels of the track list's frame not in the frame's colour
};
Seen seen;
uint32_t look_at = 0; // the virtual time the screen is looked at

void look_at_screen() {
    if (seen.taken || !app_active || screen_depth < 1 || plat_tick_count() < look_at) return;
    seen.taken = true;
    seen.window_pixels = PopupTest::screen_differs(LEFT, TOP, LEFT + SYSMENU_WINDOW_W,
                                                   TOP + SYSMENU_WINDOW_H, BACKGROUND);
    seen.outside_pixels = PopupTest::screen_differs(0, 0, LEFT, 480, BACKGROUND);
    // The track list's frame round its hot spot, its colour taken at the
    // bottom-left corner.
    const SysmenuRect& t = sysmenu_spots[SM_TRACKS];
    const int x0 = LEFT + t.left - 1, y0 = TOP + t.top - 1, x1 = LEFT + t.right,
              y1 = TOP + t.bottom;
    const uint16_t frame = PopupTest::screen_at(x0, y1);
    seen.track_frame_off = 0;
    for (int x = x0; x <= x1; ++x)
        seen.track_frame_off +=
            (PopupTest::screen_at(x, y0) != frame) + (PopupTest::screen_at(x, y1) != frame);
    for (int y = y0; y <= y1; ++y)
        seen.track_frame_off +=
            (PopupTest::screen_at(x0, y) != frame) + (PopupTest::screen_at(x1, y) != frame);
    PopupTest::save_shot(::testing::UnitTest::GetInstance()->current_test_info()->name());
}

std::vector<uint8_t> file_bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class SystemMenu : public PopupTest {
  protected:
    void SetUp() override {
        PopupTest::SetUp();
        home = fs::temp_directory_path() / ("karvo_sysmenu_" + std::to_string(::getpid()));
        fs::remove_all(home);
        fs::create_directories(home);
        setenv("KARVO_HOME", home.c_str(), 1);
        setenv("KARVO_TODAY", "2005-03-15", 1);
        cfg_read();
        paint_screen(BACKGROUND);
        app_active = 1;
        app_quit = 0;
        seen = Seen{};
        t0 = plat_tick_count();
        look_at = t0 + 200;
        plat_set_cursor_hook(look_at_screen);
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        decision_script_clear();
        app_quit = 0;
        fs::remove_all(home);
        PopupTest::TearDown();
    }
    // A click on hot spot `spot` of the window, dx pixels into it.
    void click_spot(uint32_t ms, int spot, int dx = 2) {
        const SysmenuRect& r = sysmenu_spots[spot];
        point_and_click(ms, LEFT + r.left + dx, TOP + (r.top + r.bottom) / 2);
    }
    fs::path cfg() const { return home / SETTINGS_FILE_NAME; }
    fs::path home;
};

TEST_F(SystemMenu, TheWindowIsDrawnCentredAndTheScreenComesBackWhenItCloses) {
    right_click(300, 400, 300);
    EXPECT_EQ(sysmenu_run(SYSMENU_TITLE), 0);
    ASSERT_TRUE(seen.taken);
    EXPECT_GT(seen.window_pixels, SYSMENU_WINDOW_W * SYSMENU_WINDOW_H / 2)
        << "the window covers its rectangle";
    EXPECT_EQ(seen.outside_pixels, 0) << "nothing drawn beside it";
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0) << "the screen under it restored";
    EXPECT_EQ(screen_depth, 0);
}

TEST_F(SystemMenu, TheTrackListWithTheFirstTrackLitStaysInsideItsFrame) {
    const uint8_t music_before = music_current;
    music_current = MUSIC_BACKGROUND_BIT | 0;
    right_click(300, 400, 300);
    EXPECT_EQ(sysmenu_run(SYSMENU_TITLE), 0);
    music_current = music_before;
    ASSERT_TRUE(seen.taken);
    EXPECT_EQ(seen.track_frame_off, 0) << "neither the lit row nor the last name crosses the frame";
}

TEST_F(SystemMenu, OptionsTakeEffectOnlyOnOkAndOkWritesTheFile) {
    const SettingsRecord before = settings;
    struct Case {
        int close_spot;
        bool taken;
    };
    for (const Case c : {Case{SM_CANCEL, false}, Case{SM_OK, true}}) {
        settings_replace(before);
        fs::remove(cfg());
        t0 = plat_tick_count();
        click_spot(100, SM_SPEED, 40);     // speed 2
        click_spot(200, SM_MUSIC_BAR, 20); // level 2
        click_spot(300, SM_SOUND_ON);      // 4 -> 0
        click_spot(400, SM_ANIMATIONS);    // toggled
        click_spot(500, SM_AUTOSAVE);      // toggled
        click_spot(600, SM_LAYOUT_2);
        click_spot(700, c.close_spot);
        const int r = sysmenu_run(SYSMENU_TITLE);
        if (!c.taken) {
            EXPECT_EQ(r, 0);
            EXPECT_EQ(std::memcmp(&settings, &before, sizeof settings), 0) << "cancel keeps all";
            EXPECT_FALSE(fs::exists(cfg())) << "cancel writes nothing";
            continue;
        }
        EXPECT_EQ(r, before.side_panel_layout != 2 ? SYSMENU_LAYOUT_CHANGED : 0);
        EXPECT_EQ(settings.game_speed, 2);
        EXPECT_EQ(settings.music_level, 2);
        EXPECT_EQ(settings.sound_level, 0);
        EXPECT_EQ(settings.animations, before.animations ? 0 : 1);
        EXPECT_EQ(settings.autosave, before.autosave ? 0 : 1);
        EXPECT_EQ(settings.side_panel_layout, 2);
        const std::vector<uint8_t> bytes = file_bytes(cfg());
        ASSERT_EQ(bytes.size(), SETTINGS_FILE_SIZE);
        EXPECT_EQ(bytes[0], 2);
        EXPECT_EQ(bytes[2], 2);
        EXPECT_EQ(bytes[3], 0);
        EXPECT_EQ(bytes[5], 2);
    }
}

TEST_F(SystemMenu, MusicTurnedOffAndOnAgainRestartsThePieceThatWasPlaying) {
    // The last piece the music device was asked to open.
    const auto last_opened = [] {
        for (auto it = mci_log().rbegin(); it != mci_log().rend(); ++it)
            if (it->rfind("open sequencer!", 0) == 0) return *it;
        return std::string();
    };
    const auto set_music = [](uint8_t level) {
        sysmenu_options_copy = settings;
        sysmenu_options_copy.music_level = level;
        sysmenu_ok();
    };
    struct Case {
        bool background;
        int piece; // background 1..8 or event tune
        const char* file;
    };
    for (const Case c : {Case{true, 3, "KARV17.MID"}, Case{false, 4, "MIDI05.MID"}}) {
        SettingsRecord on = settings;
        on.music_level = 4;
        settings_replace(on);
        if (c.background)
            music_next_background(c.piece);
        else
            music_play_event(c.piece);
        const uint8_t playing = music_current;
        set_music(0);
        EXPECT_EQ(music_midi_on, 0) << c.file << ": stopped";
        mci_log_clear();
        set_music(4);
        EXPECT_EQ(music_current, playing) << c.file;
        const std::string opened = last_opened();
        EXPECT_NE(opened.find(std::string(c.file) + " alias mid"), std::string::npos) << opened;
        EXPECT_EQ(music_midi_on, 1) << c.file << ": playing again";
        music_stop();
    }
}

// Whether the track list shows track `lit` lit: a point of its row's bar
// against the same point of the next row.
struct TrackList {
    uint32_t at = 0;
    int lit = 0;
    bool taken = false, lit_shown = false;
} tracks;
void look_at_tracks() {
    if (tracks.taken || screen_depth < 1 || plat_tick_count() < tracks.at) return;
    tracks.taken = true;
    const SysmenuRect& t = sysmenu_spots[SM_TRACKS];
    const int x = LEFT + t.left + 150;
    const int y = TOP + t.top + SYSMENU_TRACK_ROW_H * tracks.lit + SYSMENU_TRACK_BAR_H / 2;
    tracks.lit_shown =
        PopupTest::screen_at(x, y) != PopupTest::screen_at(x, y + SYSMENU_TRACK_ROW_H);
}

TEST_F(SystemMenu, TheTrackListShowsAgainWhenTheMusicIsTurnedBackOn) {
    SettingsRecord on = settings;
    on.music_level = 4;
    settings_replace(on);
    music_next_background(6); // the board's sixth piece
    for (uint8_t level : {0, 4}) {
        sysmenu_options_copy = settings;
        sysmenu_options_copy.music_level = level;
        sysmenu_ok();
    }
    tracks = TrackList{t0 + 200, 5};
    plat_set_cursor_hook(look_at_tracks);
    right_click(300, 400, 300);
    sysmenu_run(SYSMENU_TITLE);
    plat_set_cursor_hook(nullptr);
    music_stop();
    ASSERT_TRUE(tracks.taken);
    EXPECT_TRUE(tracks.lit_shown) << "the sixth track lit while it plays";
}

TEST_F(SystemMenu, OnlyALayoutChangeSetsTheRepaintBitAndFromTheTitleNoBoardIsDrawn) {
    settings_set_side_panel_layout(0);
    click_spot(100, SM_LAYOUT_0);
    click_spot(200, SM_OK);
    EXPECT_EQ(sysmenu_run(SYSMENU_TITLE), 0) << "the same layout";
    t0 = plat_tick_count();
    click_spot(100, SM_LAYOUT_1);
    click_spot(200, SM_OK);
    EXPECT_EQ(sysmenu_run(SYSMENU_TITLE), SYSMENU_LAYOUT_CHANGED);
    EXPECT_EQ(settings.side_panel_layout, 1);
    EXPECT_EQ(screen_differs(0, 0, 640, 480, BACKGROUND), 0) << "no board repainted over the title";
}

TEST_F(SystemMenu, TheDateDialogStepsWithinItsYearsAndCutsTheDayToItsMonth) {
    const uint32_t today = cal_pack(2005, 3, 15);
    struct Case {
        uint32_t from;
        int button;
        uint32_t to;
    };
    const Case cases[] = {
        {cal_pack(1998, 5, 3), DATE_YEAR_DOWN, cal_pack(1998, 5, 3)},
        {cal_pack(1999, 5, 3), DATE_YEAR_DOWN, cal_pack(1998, 5, 3)},
        {cal_pack(2009, 5, 3), DATE_YEAR_UP, cal_pack(2010, 5, 3)},
        {cal_pack(2010, 5, 3), DATE_YEAR_UP, cal_pack(2010, 5, 3)},
        {cal_pack(2003, 12, 9), DATE_MONTH_UP, cal_pack(2003, 1, 9)},
        {cal_pack(2003, 1, 9), DATE_MONTH_DOWN, cal_pack(2003, 12, 9)},
        {cal_pack(2003, 1, 31), DATE_MONTH_UP, cal_pack(2003, 2, 28)},
        {cal_pack(2004, 3, 31), DATE_MONTH_DOWN, cal_pack(2004, 2, 29)},
        {cal_pack(2004, 2, 29), DATE_YEAR_UP, cal_pack(2005, 2, 28)},
        {cal_pack(2001, 7, 7), DATE_TODAY, today},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sysmenu_date_step(c.from, c.button, today), c.to)
            << std::hex << c.from << " button " << c.button;
}

TEST_F(SystemMenu, ADayPickedInTheDialogBecomesTheGameDateAtOnceAndOkKeepsIt) {
    // March 2005 starts on a Tuesday: the 1st in column 2, the 10th in
    // column 4 of the second row.
    const int dl = DATE_LEFT, dt = DATE_TOP;
    const PlatRect& year_up = SYSMENU_DATE_BUTTON_RECTS[DATE_YEAR_UP];
    const PlatRect& ok = SYSMENU_DATE_BUTTON_RECTS[SYSMENU_DATE_OK];
    const PlatRect& today = SYSMENU_DATE_BUTTON_RECTS[DATE_TODAY];
    EXPECT_EQ(sysmenu_date_day_at(cal_pack(2005, 3, 1), day_x(4) + SYSMENU_DAY_HALF_W - 1,
                                  day_y(1) + SYSMENU_DAY_HALF_H - 1),
              10);
    EXPECT_EQ(
        sysmenu_date_day_at(cal_pack(2005, 3, 1), day_x(4) + SYSMENU_DAY_HALF_W + 2, day_y(1)), 0)
        << "beyond the half width of every cell";
    EXPECT_EQ(sysmenu_date_day_at(cal_pack(2005, 3, 1), day_x(0), day_y(0)), 0) << "before the 1st";
    click_spot(100, SM_BUTTON_0, 20);
    point_and_click(400, dl + day_x(4), dt + day_y(1)); // the 10th
    point_and_click(500, dl + middle_x(year_up), dt + middle_y(year_up));
    point_and_click(600, dl + middle_x(ok), dt + middle_y(ok));
    click_spot(900, SM_OK);
    sysmenu_run(SYSMENU_TITLE);
    EXPECT_EQ(game_date, cal_pack(2006, 3, 10));
    EXPECT_EQ(file_bytes(cfg())[8], 10);

    t0 = plat_tick_count();
    click_spot(100, SM_BUTTON_0, 20);
    point_and_click(400, dl + middle_x(today), dt + middle_y(today));
    point_and_click(500, dl + middle_x(ok), dt + middle_y(ok));
    click_spot(900, SM_CANCEL);
    sysmenu_run(SYSMENU_TITLE);
    EXPECT_EQ(game_date, cal_pack(2005, 3, 15)) << "set at once, a later cancel does not undo it";
}

TEST_F(SystemMenu, HotKeyEditingStoresCtrlChordsAndNeverCtrlAlone) {
    HotkeyEdit e;
    hotkey_edit_start(e);
    hotkey_edit_select(e, HK_CONFIRM);
    EXPECT_EQ(e.selected, -1) << "the first eight cannot be changed";
    hotkey_edit_select(e, HK_QUIT);
    EXPECT_EQ(e.keys[HK_QUIT], 0);
    hotkey_edit_key(e, 0x11);
    EXPECT_EQ(e.keys[HK_QUIT], 0x1100);
    EXPECT_EQ(e.selected, HK_QUIT) << "Ctrl keeps the slot selected";
    hotkey_edit_key(e, 0x51);
    EXPECT_EQ(e.keys[HK_QUIT], 0x1151);
    EXPECT_EQ(e.selected, -1);

    hotkey_edit_select(e, HK_SAVE);
    hotkey_edit_key(e, 0x07); // no name: ignored
    EXPECT_EQ(e.selected, HK_SAVE);
    hotkey_edit_key(e, 0x11);
    hotkey_edit_ok(e); // only Ctrl: the slot keeps its key
    EXPECT_EQ(settings.hotkeys[HK_SAVE], cfg_default_hotkeys[HK_SAVE]);
    EXPECT_EQ(settings.hotkeys[HK_QUIT], 0x1151);

    hotkey_edit_start(e);
    hotkey_edit_select(e, HK_LOAD);
    hotkey_edit_ok(e); // left cleared: stays cleared
    EXPECT_EQ(settings.hotkeys[HK_LOAD], 0);
    EXPECT_EQ(hotkey_cell_at(sysmenu_key_x(HOTKEY_COUNT) + 43, sysmenu_key_y(HOTKEY_COUNT)), -1)
        << "the row after the last slot names no slot";
    EXPECT_EQ(hotkey_cell_at(sysmenu_key_x(14) + 5, sysmenu_key_y(14)), 14);
    EXPECT_EQ(hotkey_cell_at(sysmenu_key_x(27) + 3, sysmenu_key_y(27)), 27);
}

TEST_F(SystemMenu, TheHotKeyDialogTakesCtrlQFromTheKeyboardAndWritesTheFile) {
    const int hl = KEYS_LEFT, ht = KEYS_TOP;
    const PlatRect& ok = SYSMENU_KEY_BUTTON_RECTS[SKB_OK];
    click_spot(100, SM_BUTTON_1, 20);
    // Slot 12, then slot 27 (second column, row 12).
    point_and_click(400, hl + sysmenu_key_x(12) + 5, ht + sysmenu_key_y(12) + 4);
    point_and_click(450, hl + sysmenu_key_x(27) + 3, ht + sysmenu_key_y(27) + 4);
    key_down(t0 + 600, 0x11);
    key_down(t0 + 650, 0x51);
    key_up(t0 + 700, 0x51);
    key_up(t0 + 720, 0x11);
    point_and_click(800, hl + middle_x(ok), ht + middle_y(ok));
    right_click(1200);
    sysmenu_run(SYSMENU_TITLE);
    EXPECT_EQ(settings.hotkeys[HK_QUIT], 0x1151);
    const std::vector<uint8_t> bytes = file_bytes(cfg());
    ASSERT_EQ(bytes.size(), SETTINGS_FILE_SIZE);
    EXPECT_EQ(bytes[16 + 2 * HK_QUIT], 0x51);
    EXPECT_EQ(bytes[17 + 2 * HK_QUIT], 0x11);
}

// The selected cell's blink, seen at every turn of the loop: how often its
// right end changed while the dialog was open.
struct Blink {
    int x = 0, y = 0;
    uint32_t from = 0, to = 0;
    int last = -1, changes = 0;
} blink;
void watch_blink() {
    const uint32_t now = plat_tick_count();
    if (screen_depth != 2 || now < blink.from || now > blink.to) return;
    const int pixel = PopupTest::screen_at(blink.x, blink.y);
    if (blink.last >= 0 && pixel != blink.last) ++blink.changes;
    blink.last = pixel;
}

TEST_F(SystemMenu, TheSelectedKeyBlinksEveryQuarterSecondWhateverTimerRunsBelow) {
    const int hl = KEYS_LEFT, ht = KEYS_TOP;
    // The system window's depth gets a fast timer, as a screen below would have.
    plat_set_timer(1, 40);
    click_spot(100, SM_BUTTON_1, 20);
    // Slot 27, cleared and selected.
    point_and_click(400, hl + sysmenu_key_x(27) + 3, ht + sysmenu_key_y(27) + 4);
    right_click(2000);
    right_click(2200);
    blink = Blink{hl + sysmenu_key_x(27) + 50, ht + sysmenu_key_y(27) + 7, t0 + 500, t0 + 1500};
    plat_set_cursor_hook(watch_blink);
    sysmenu_run(SYSMENU_TITLE);
    plat_kill_timer(1);
    EXPECT_GE(blink.changes, 3) << "the cell blinks";
    EXPECT_LE(blink.changes, 5) << "four changes a second, not one at each foreign tick";
}

TEST_F(SystemMenu, GameActionsRunOnlyAfterAYesToTheConfirmation) {
    game_world_reset();
    ASSERT_TRUE(ring_board_load(10, 4, 2));
    game_date = cal_pack(1999, 9, 9);
    decision_script_push(0);
    click_spot(100, SM_BUTTON_0, 20);
    right_click(400);
    EXPECT_EQ(sysmenu_run(SYSMENU_GAME), 0);
    EXPECT_EQ(game_end_code, END_RUNNING) << "no: nothing";
    EXPECT_EQ(decision_last_kind(), DECIDE_CONFIRM);

    t0 = plat_tick_count();
    decision_script_push(1);
    click_spot(100, SM_BUTTON_0, 20);
    EXPECT_EQ(sysmenu_run(SYSMENU_GAME), SM_RESTART);
    EXPECT_EQ(game_end_code, END_TO_TITLE);
    EXPECT_EQ(game_date, cal_pack(2005, 3, 15));

    t0 = plat_tick_count();
    fs::remove(cfg());
    decision_script_push(1);
    click_spot(100, SM_BUTTON_2, 20);
    EXPECT_EQ(sysmenu_run(SYSMENU_GAME), SM_QUIT);
    EXPECT_EQ(app_quit, 1);
    EXPECT_TRUE(fs::exists(cfg()));
}

class Surrender : public ::testing::Test {
  protected:
    void SetUp() override {
        game_world_reset();
        ASSERT_TRUE(ring_board_load(10, 8, 2));
        game_player_count = 4;
        for (int p = 0; p < 4; ++p)
            ring_place_player(p, 2 + p, CTRL_COMPUTER);
        decision_script_clear();
    }
    void TearDown() override { decision_script_clear(); }
};

TEST_F(Surrender, TheDeathGodGoesToThePickOnlyWithSeveralHumansInARunningGame) {
    struct Case {
        int humans;
        bool ends_game; // only the leaver and one computer left
        bool haunted;
        const char* why;
    };
    const Case cases[] = {
        {1, false, false, "one human: only bankrupt"},
        {2, false, true, "two humans: the pick gets the death god"},
        {2, true, false, "the bankruptcy ended the game: nobody is picked"},
    };
    for (const Case& c : cases) {
        SetUp();
        game_human_count = c.humans;
        player_table[0].control = CTRL_HUMAN;
        if (c.humans > 1) player_table[1].control = CTRL_HUMAN;
        if (c.ends_game) {
            player_table[2].control = CTRL_OUT;
            player_table[3].control = CTRL_OUT;
            player_table[1].control = CTRL_HUMAN;
            game_player_count = 2;
        }
        game_active_mover = 0;
        const int asked = decision_asked_count();
        decision_script_push(3); // player 2 (player + 1 = 3)
        sysmenu_surrender();
        EXPECT_EQ(player_table[0].control, CTRL_OUT) << c.why;
        EXPECT_EQ(game_active_mover, 0) << c.why << ": the mover set back";
        EXPECT_EQ(player_table[2].god_slot != 0, c.haunted) << c.why;
        EXPECT_EQ(decision_asked_count() - asked, c.haunted ? 1 : 0) << c.why;
    }
}

} // namespace
