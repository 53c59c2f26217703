// The asset window under scripted mouse and keys over the stand-in board: the
// player, page and filter tabs, the land list's rows and its paging, the
// summary's pictures, the exit button, the page and filter kept across a new
// game, and the toolbar button and hot key that open it. Pixels are read from
// the display and compared with the window's own pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/toolbar.h"
#include "board/view.h"
#include "board/world_reset.h"
#include "cards/cards.h"
#include "data/characters.h"
#include "engine/cursor.h"
#include "engine/image.h"
#include "engine/message_draw.h"
#include "engine/options.h"
#include "engine/shown.h"
#include "finance/assets.h"
#include "finance/assets_screen.h"
#include "finance/stock.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/queue.h"
#include "shell/app.h"
#include "shell/keyboard.h"
#include "shell/screen.h"
#include "support/popup_fixture.h"

namespace {

// ---- What the cursor hook looks at while the window is open

struct Look {
    uint32_t at;
    std::string shot; // a BMP of the screen at that moment, when KARVO_SHOT_DIR is set
    std::function<void()> check;
    bool taken = false;
};
std::vector<Look> looks;
int deepest = 0;

void look_at_window() {
    if (screen_depth > deepest) deepest = screen_depth;
    if (screen_depth < 1) return;
    for (Look& l : looks) {
        if (l.taken || plat_tick_count() < l.at) continue;
        l.taken = true;
        if (l.check) l.check();
        if (!l.shot.empty()) PopupTest::save_shot(l.shot);
    }
}

class AssetWindow : public PopupTest {
  protected:
    void* pictures = nullptr; // the window's own, to compare with

    void SetUp() override {
        PopupTest::SetUp();
        asset_page = 0;
        asset_land_filter = 0;
        fill_world();
        pictures = spr_read_set("PANEL.MKF", ASSET_PICTURES_ENTRY);
        ASSERT_NE(pictures, nullptr);
        looks.clear();
        deepest = 0;
        shown_clear();
        app_active = 1;
        t0 = plat_tick_count();
        plat_set_cursor_hook(look_at_window);
    }
    void TearDown() override {
        plat_set_cursor_hook(nullptr);
        spr_free_set(pictures);
        board_free_graphics();
        PopupTest::TearDown();
    }

    // A game on map 1 with three players.
    void fill_world() {
        game_world_reset();
        game_map = 1;
        game_player_count = 3;
        for (int p = 0; p < 3; ++p) {
            player_table[p] = character_table[p * 3];
            player_table[p].setup_control = p == 0 ? CTRL_HUMAN : CTRL_COMPUTER;
        }
        stock_new_game(game_map);
        ASSERT_TRUE(map_load()) << map_last_error();
        ASSERT_GE(map_lot_count, 26);
        ASSERT_GE(map_facility_count, 2);
        for (int p = 0; p < 3; ++p)
            player_table[p].control = p == 0 ? CTRL_HUMAN : CTRL_COMPUTER;
        player_table[3].control = 0; // out of the game: no tab
        // Seat 0: plots 1-23 at levels i % 6, two of them chain stores, and two
        // facilities; seat 1: plots 24-26; seat 2 nothing.
        for (int i = 1; i <= 23; ++i) {
            map_lot_table[i].owner = owner_of_seat(0);
            map_lot_table[i].level = static_cast<uint8_t>(i % 6);
            map_lot_table[i].chain_store = i == 7 || i == 14 ? 1 : 0;
        }
        map_lot_table[2].expiry = (1999u << 16) | (3u << 8) | 5u; // shown as 99/3/5
        for (int i = 24; i <= 26; ++i) {
            map_lot_table[i].owner = owner_of_seat(1);
            map_lot_table[i].level = static_cast<uint8_t>((i - 22) % 4);
        }
        for (int i = 1; i <= 2; ++i) {
            map_facility_table[i].owner = owner_of_seat(0);
            map_facility_table[i].kind = FK_HOTEL;
            map_facility_table[i].level = static_cast<uint8_t>(i == 1 ? 3 : 0);
        }
        game_active_mover = 0;
        game_price_index = 1;
        board_load_graphics();
        cursor_start();
    }

    void look(uint32_t ms, std::function<void()> check, std::string shot = "") {
        looks.push_back(Look{t0 + ms, std::move(shot), std::move(check)});
    }
    void expect_all_looked() {
        for (const Look& l : looks)
            EXPECT_TRUE(l.taken) << "nothing seen at " << l.at - t0 << " ms";
    }

    const ImageRecord* frame(int n) const { return popup_frame(pictures, n); }
    uint16_t frame_pixel(int n, int x, int y) const {
        const ImageRecord* f = frame(n);
        return f->pixels[y * f->width + x];
    }

    // Which player tab, page tab and filter tab show lit: each is compared
    // with the lit and the plain picture at a point the captions leave free;
    // -1 when none is lit (or a tab shows neither picture).
    int lit_player_tab(int tabs) const {
        int lit = -1;
        for (int k = 0; k < tabs; ++k) {
            const uint16_t px = screen_at(ASSET_PLAYER_TAB_X + ASSET_PLAYER_TAB_STEP * k + 5,
                                          ASSET_PLAYER_TAB_Y + 8);
            if (px == frame_pixel(ASSET_F_PLAYER_TAB_LIT, 5, 8))
                lit = lit == -1 ? k : -2;
            else if (px != frame_pixel(ASSET_F_PLAYER_TAB, 5, 8))
                return -3;
        }
        return lit;
    }
    int lit_page_tab() const {
        int lit = -1;
        for (int k = 0; k < ASSET_PAGE_COUNT; ++k) {
            const int y = ASSET_PAGE_TAB_Y + ASSET_PAGE_TAB_STEP * k;
            const uint16_t px = screen_at(ASSET_PAGE_TAB_LEFT + 6, y + 6);
            if (px == frame_pixel(ASSET_F_PAGE_TAB_LIT, 6, 6))
                lit = lit == -1 ? k : -2;
            else if (px != frame_pixel(ASSET_F_BACKGROUND, ASSET_PAGE_TAB_LEFT + 6, y + 6))
                return -3;
        }
        return lit;
    }
    int lit_filter_tab() const {
        int lit = -1;
        for (int i = 0; i < ASSET_FILTER_COUNT; ++i) {
            const uint16_t px = screen_at(ASSET_FILTER_TAB_X + ASSET_FILTER_TAB_W * i + 5,
                                          ASSET_FILTER_TAB_TOP + 5);
            if (px == frame_pixel(ASSET_F_FILTER_TAB_LIT, 5, 5))
                lit = lit == -1 ? i : -2;
            else if (px != frame_pixel(ASSET_F_FILTER_TAB, 5, 5))
                return -3;
        }
        return lit;
    }

    // The level marks in land row r: the roof-coloured pixels of its
    // development column over those of one mark.
    int marks_in_row(int r) const {
        const ImageRecord* mark = frame(ASSET_F_LEVEL_MARK);
        const uint16_t roof = frame_pixel(ASSET_F_LEVEL_MARK, mark->width / 2, 2);
        int per_mark = 0;
        for (int i = 0; i < mark->width * mark->height; ++i)
            per_mark += mark->pixels[i] == roof;
        const int y = ASSET_LAND_ROW_Y + ASSET_LAND_ROW_STEP * r;
        int n = 0;
        for (int yy = y - 10; yy <= y + 10; ++yy)
            for (int x = ASSET_LAND_COLUMN_X[1] - 44; x <= ASSET_LAND_COLUMN_X[1] + 44; ++x)
                n += screen_at(x, yy) == roof;
        return n % per_mark == 0 ? n / per_mark : -1;
    }
    // True when land row r shows nothing but the page's plate.
    bool row_empty(int r) const {
        const int y = ASSET_LAND_ROW_Y + ASSET_LAND_ROW_STEP * r;
        for (int yy = y - 12; yy <= y + 12; ++yy)
            for (int x = ASSET_PAGE_AREA.left + 8; x < 588; ++x)
                if (screen_at(x, yy) != frame_pixel(ASSET_F_LAND_PANEL, x - ASSET_PAGE_AREA.left,
                                                    yy - ASSET_PAGE_AREA.top))
                    return false;
        return true;
    }
    // True when every pixel the picture draws is on the screen with its hot
    // spot at (x, y) (an 8-bit frame through its palette).
    static bool picture_at(const ImageRecord* pic, int x, int y) {
        if (pic == nullptr) return false;
        const uint16_t* palette = spr_record_palette(pic);
        const auto* indices = reinterpret_cast<const uint8_t*>(pic->pixels);
        const int left = x - pic->hot_x, top = y - pic->hot_y;
        int drawn = 0;
        for (int j = 0; j < pic->height; ++j)
            for (int i = 0; i < pic->width; ++i) {
                const int at = j * pic->width + i;
                const uint16_t px =
                    palette ? (indices[at] ? palette[indices[at]] : 0) : pic->pixels[at];
                if (px == 0) continue;
                ++drawn;
                if (screen_at(left + i, top + j) != px) return false;
            }
        return drawn > 0;
    }

    // The rows' level marks the list of seat p under filter f must show from
    // row first: a plot's level (none for a chain store), a facility's level.
    static std::vector<int> expected_marks(int p, int filter, int first) {
        std::vector<int> levels;
        const uint8_t owner = owner_of_seat(p);
        if (filter != 2)
            for (int i = 1; i <= map_lot_count; ++i) {
                const LandLot& l = map_lot_table[i];
                if (l.owner != owner) continue;
                const bool houses = l.level != 0 && l.chain_store == 0;
                const bool chain = l.chain_store != 0 && l.level != 0;
                if (filter == 3 && !houses) continue;
                if (filter == 4 && !chain) continue;
                levels.push_back(l.chain_store ? 0 : l.level);
            }
        if (filter == 0 || filter == 2)
            for (int i = 1; i <= map_facility_count; ++i)
                if (map_facility_table[i].owner == owner)
                    levels.push_back(map_facility_table[i].level);
        std::vector<int> shown;
        for (int n = first; n < first + ASSET_ROWS_PER_PAGE && n < static_cast<int>(levels.size());
             ++n)
            shown.push_back(levels[static_cast<size_t>(n)]);
        return shown;
    }
    // The land page shows exactly those rows, the rest of its ten empty.
    void expect_rows(const std::vector<int>& marks, const std::string& where) const {
        for (int r = 0; r < ASSET_ROWS_PER_PAGE; ++r) {
            if (r < static_cast<int>(marks.size())) {
                EXPECT_FALSE(row_empty(r)) << where << ": row " << r;
                EXPECT_EQ(marks_in_row(r), marks[static_cast<size_t>(r)]) << where << ": row " << r;
            } else {
                EXPECT_TRUE(row_empty(r)) << where << ": row " << r;
            }
        }
    }

    static int tab_x(int k) {
        return ASSET_PLAYER_TAB_X + ASSET_PLAYER_TAB_STEP * k + ASSET_PLAYER_TAB_W / 2;
    }
    static int page_tab_y(int k) {
        return ASSET_PAGE_TAB_Y + ASSET_PAGE_TAB_STEP * k + ASSET_PAGE_TAB_H / 2;
    }
    static int filter_x(int i) {
        return ASSET_FILTER_TAB_X + ASSET_FILTER_TAB_W * i + ASSET_FILTER_TAB_W / 2;
    }
    static constexpr int FILTER_Y = (ASSET_FILTER_TAB_TOP + ASSET_FILTER_TAB_BOTTOM) / 2;
    static constexpr int PAGE_TAB_X = (ASSET_PAGE_TAB_LEFT + ASSET_PAGE_TAB_RIGHT) / 2;
    static int middle_x(const PlatRect& r) { return (r.left + r.right) / 2; }
    static int middle_y(const PlatRect& r) { return (r.top + r.bottom) / 2; }
};

TEST(AssetWindowLayout, EveryPointFindsItsTabOrButton) {
    struct Case {
        int x, y, tabs, page;
        AssetSpotKind kind;
        int index;
    };
    const Case cases[] = {
        {16, 6, 3, 0, ASSET_SPOT_PLAYER_TAB, 0},
        {103, 41, 3, 0, ASSET_SPOT_PLAYER_TAB, 0},
        {104, 20, 3, 0, ASSET_SPOT_PLAYER_TAB, 1},
        {16 + 88 * 2 + 87, 20, 3, 2, ASSET_SPOT_PLAYER_TAB, 2},
        {16 + 88 * 3 + 10, 20, 3, 0, ASSET_SPOT_NONE, 0}, // no fourth player
        {16 + 88 * 3 + 10, 20, 4, 0, ASSET_SPOT_PLAYER_TAB, 3},
        {15, 20, 4, 0, ASSET_SPOT_NONE, 0},
        {50, 42, 4, 0, ASSET_SPOT_NONE, 0},
        {12, 282, 2, 0, ASSET_SPOT_PAGE_TAB, 0},
        {108, 321, 2, 0, ASSET_SPOT_PAGE_TAB, 0},
        {60, 322, 2, 0, ASSET_SPOT_NONE, 0}, // between two page tabs
        {60, 346, 2, 1, ASSET_SPOT_PAGE_TAB, 1},
        {60, 449, 2, 2, ASSET_SPOT_PAGE_TAB, 2},
        {109, 300, 2, 0, ASSET_SPOT_NONE, 0},
        {120, 64, 2, 1, ASSET_SPOT_FILTER_TAB, 0},
        {120 + 75 * 4 + 74, 96, 2, 1, ASSET_SPOT_FILTER_TAB, 4},
        {120 + 75 * 5, 80, 2, 1, ASSET_SPOT_NONE, 0},
        {200, 80, 2, 0, ASSET_SPOT_NONE, 0}, // filters only on the land page
        {200, 97, 2, 1, ASSET_SPOT_NONE, 0},
        {492, 9, 2, 0, ASSET_SPOT_EXIT, 0},
        {601, 37, 2, 2, ASSET_SPOT_EXIT, 0},
        {602, 20, 2, 0, ASSET_SPOT_NONE, 0},
        {593, 369, 2, 1, ASSET_SPOT_PAGE_UP, 0},
        {622, 398, 2, 1, ASSET_SPOT_PAGE_UP, 0},
        {600, 405, 2, 1, ASSET_SPOT_NONE, 0},
        {593, 417, 2, 1, ASSET_SPOT_PAGE_DOWN, 0},
        {622, 446, 2, 1, ASSET_SPOT_PAGE_DOWN, 0},
        {600, 430, 2, 0, ASSET_SPOT_NONE, 0}, // page buttons only on the land page
    };
    for (const Case& c : cases) {
        const AssetSpot s = asset_spot_at(c.x, c.y, c.tabs, c.page);
        EXPECT_EQ(s.kind, c.kind) << c.x << ", " << c.y << " page " << c.page;
        if (s.kind == c.kind) {
            EXPECT_EQ(s.index, c.index) << c.x << ", " << c.y;
        }
    }
}

TEST_F(AssetWindow, TabsPagesAndFiltersFollowTheMouse) {
    ASSERT_NE(frame_pixel(ASSET_F_PLAYER_TAB_LIT, 5, 8), frame_pixel(ASSET_F_PLAYER_TAB, 5, 8));
    ASSERT_NE(frame_pixel(ASSET_F_FILTER_TAB_LIT, 5, 5), frame_pixel(ASSET_F_FILTER_TAB, 5, 5));
    struct Step {
        const char* what;
        int x, y;         // the click, none for the first look
        int player, page; // the lit player tab and page tab after it
        int filter;       // the lit filter tab, -1 off the land page
        int list_seat;    // the land rows shown are this seat's
        const char* shot;
    };
    const Step steps[] = {
        {"opened on the mover", -1, -1, 0, 0, -1, -1, "assets_summary"},
        {"the second player", tab_x(1), 20, 1, 0, -1, -1, ""},
        {"the land page", PAGE_TAB_X, page_tab_y(1), 1, 1, 0, 1, ""},
        {"the houses filter", filter_x(3), FILTER_Y, 1, 1, 3, 1, ""},
        {"back to the first player", tab_x(0), 20, 0, 1, 3, 0, "assets_land_houses"},
        {"every property", filter_x(0), FILTER_Y, 0, 1, 0, 0, "assets_land"},
        {"the chain stores", filter_x(4), FILTER_Y, 0, 1, 4, 0, ""},
        {"the third player, who has none", tab_x(2), 20, 2, 1, 4, 2, ""},
        {"beside the tabs: nothing", 500, 300, 2, 1, 4, 2, ""},
        {"the share page", PAGE_TAB_X, page_tab_y(2), 2, 2, -1, -1, "assets_shares"},
        {"no fourth tab", tab_x(3), 20, 2, 2, -1, -1, ""},
    };
    uint32_t ms = 300;
    for (const Step& s : steps) {
        if (s.x >= 0) point_and_click(ms, s.x, s.y);
        look(
            ms + 150,
            [this, s] {
                SCOPED_TRACE(s.what);
                EXPECT_EQ(lit_player_tab(3), s.player);
                EXPECT_EQ(lit_page_tab(), s.page);
                if (s.filter >= 0) {
                    EXPECT_EQ(lit_filter_tab(), s.filter);
                    expect_rows(expected_marks(s.list_seat, s.filter, 0), s.what);
                }
            },
            s.shot);
        ms += 300;
    }
    right_click(ms);
    asset_open();
    expect_all_looked();
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(screen_depth, 0);
    EXPECT_EQ(asset_page, 2);
    EXPECT_EQ(asset_land_filter, 4);
    EXPECT_GE(shown_count(Shown::BoardRefresh), 1u) << "the board is repainted after";
}

TEST_F(AssetWindow, TheLandListPagesByTenAndStopsAtEitherEnd) {
    asset_page = 1;
    // 25 rows: 0-9, 10-19, 20-24. Clicks on the buttons and the page keys.
    struct Step {
        const char* what;
        enum { CLICK_UP, CLICK_DOWN, DOWN_LET_GO_AWAY, KEY_UP, KEY_DOWN, NONE } how;
        int first; // the first row shown after it
    };
    const Step steps[] = {
        {"opened", Step::NONE, 0},
        {"up on the first page", Step::CLICK_UP, 0},
        {"down", Step::CLICK_DOWN, 10},
        {"down again", Step::CLICK_DOWN, 20},
        {"down at the end", Step::CLICK_DOWN, 20},
        {"the page-up key", Step::KEY_UP, 10},
        {"down let go off the button", Step::DOWN_LET_GO_AWAY, 10},
        {"the page-down key", Step::KEY_DOWN, 20},
        {"up", Step::CLICK_UP, 10},
        {"up again", Step::CLICK_UP, 0},
    };
    const uint32_t up_key = settings_hotkey(HK_PAGE_UP), down_key = settings_hotkey(HK_PAGE_DOWN);
    uint32_t ms = 300;
    for (const Step& s : steps) {
        switch (s.how) {
        case Step::CLICK_UP:
            point_and_click(ms, middle_x(ASSET_PAGE_UP_BUTTON), middle_y(ASSET_PAGE_UP_BUTTON));
            break;
        case Step::CLICK_DOWN:
            point_and_click(ms, middle_x(ASSET_PAGE_DOWN_BUTTON), middle_y(ASSET_PAGE_DOWN_BUTTON));
            break;
        case Step::DOWN_LET_GO_AWAY:
            move(t0 + ms, middle_x(ASSET_PAGE_DOWN_BUTTON), middle_y(ASSET_PAGE_DOWN_BUTTON));
            at(t0 + ms + 5, SCRIPT_LEFT_DOWN);
            move(t0 + ms + 20, 500, 300);
            at(t0 + ms + 25, SCRIPT_LEFT_UP);
            break;
        case Step::KEY_UP:
        case Step::KEY_DOWN: {
            const uint32_t key = s.how == Step::KEY_UP ? up_key : down_key;
            const PlatRect& button =
                s.how == Step::KEY_UP ? ASSET_PAGE_UP_BUTTON : ASSET_PAGE_DOWN_BUTTON;
            const int pressed =
                s.how == Step::KEY_UP ? ASSET_F_PAGE_UP_PRESSED : ASSET_F_PAGE_DOWN_PRESSED;
            key_down(t0 + ms, key);
            look(
                ms + 60,
                [this, button, pressed] {
                    EXPECT_TRUE(picture_at(frame(pressed), button.left, button.top))
                        << "the key holds its button down";
                },
                s.how == Step::KEY_DOWN ? "assets_page_key" : "");
            key_up(t0 + ms + 120, key);
            break;
        }
        case Step::NONE:
            break;
        }
        look(ms + 220, [this, s] {
            SCOPED_TRACE(s.what);
            expect_rows(expected_marks(0, 0, s.first), s.what);
            EXPECT_TRUE(picture_at(frame(ASSET_F_PAGE_UP), ASSET_PAGE_UP_BUTTON.left,
                                   ASSET_PAGE_UP_BUTTON.top));
            EXPECT_TRUE(picture_at(frame(ASSET_F_PAGE_DOWN), ASSET_PAGE_DOWN_BUTTON.left,
                                   ASSET_PAGE_DOWN_BUTTON.top));
        });
        ms += 300;
    }
    // A player without property: the buttons change nothing.
    point_and_click(ms, tab_x(2), 20);
    point_and_click(ms + 100, middle_x(ASSET_PAGE_DOWN_BUTTON), middle_y(ASSET_PAGE_DOWN_BUTTON));
    look(ms + 250, [this] {
        expect_rows({}, "no property");
        EXPECT_EQ(asset_first_row, 0);
    });
    right_click(ms + 400);
    asset_open();
    expect_all_looked();
}

TEST_F(AssetWindow, ThePageAndFilterOutliveANewGameAndTheFirstRowDoesNot) {
    point_and_click(300, PAGE_TAB_X, page_tab_y(1));
    point_and_click(600, filter_x(1), FILTER_Y); // plots: 23 rows
    point_and_click(900, middle_x(ASSET_PAGE_DOWN_BUTTON), middle_y(ASSET_PAGE_DOWN_BUTTON));
    right_click(1200);
    asset_open();
    ASSERT_EQ(asset_first_row, 10);
    ASSERT_EQ(asset_page, 1);
    ASSERT_EQ(asset_land_filter, 1);

    // A new game: the map freed, the world reset and the board filled again.
    map_free();
    game_world_reset();
    EXPECT_EQ(asset_page, 1);
    EXPECT_EQ(asset_land_filter, 1);
    EXPECT_EQ(asset_property_count, 0) << "the list is the game's";
    EXPECT_EQ(asset_first_row, 0);
    fill_world();
    t0 = plat_tick_count();
    look(300, [this] {
        EXPECT_EQ(lit_page_tab(), 1);
        EXPECT_EQ(lit_filter_tab(), 1);
        expect_rows(expected_marks(0, 1, 0), "reopened");
    });
    right_click(600);
    asset_open();
    expect_all_looked();
}

TEST_F(AssetWindow, TheSummaryShowsHisFaceGodItemsInRowsOfFive) {
    PlayerRecord& r = player_table[0];
    // Six kinds held: five in the first row, the sixth wraps to the next.
    const int kinds[] = {1, 3, 4, 6, 9, 13};
    for (int n : kinds)
        player_items[0][n - 1] = 2;
    player_cards[0][0] = 1;
    r.god_slot = GOD_FIRST_SLOT;
    god_table[GOD_FIRST_SLOT].kind = 1;
    god_table[GOD_FIRST_SLOT].days = 4;
    void* items = spr_read_set("PANEL.MKF", ASSET_ITEM_PICTURES_ENTRY);
    ASSERT_NE(items, nullptr);
    look(
        300,
        [&] {
            for (int k = 0; k < 6; ++k) {
                const int x = k < 5 ? 300 + 72 * k : 300, y = k < 5 ? 281 : 313;
                EXPECT_TRUE(picture_at(popup_frame(items, kinds[k] - 1), x, y))
                    << "item " << kinds[k];
            }
            EXPECT_TRUE(picture_at(popup_frame(view_portrait_set(0), 1), 60, 100)) << "his face";
            EXPECT_TRUE(picture_at(popup_frame(view_god_sprite(0), 0), 60, 188)) << "his god";
        },
        "assets_summary_goods");
    // The exit button closes only when let go on it.
    at(t0 + 500, SCRIPT_MOUSE_MOVE, middle_x(ASSET_EXIT_BUTTON), middle_y(ASSET_EXIT_BUTTON));
    at(t0 + 510, SCRIPT_LEFT_DOWN);
    look(560, [this] {
        EXPECT_TRUE(
            picture_at(frame(ASSET_F_EXIT_PRESSED), ASSET_EXIT_BUTTON.left, ASSET_EXIT_BUTTON.top));
    });
    at(t0 + 600, SCRIPT_MOUSE_MOVE, 300, 300);
    at(t0 + 610, SCRIPT_LEFT_UP);
    look(700, [this] {
        EXPECT_FALSE(
            picture_at(frame(ASSET_F_EXIT_PRESSED), ASSET_EXIT_BUTTON.left, ASSET_EXIT_BUTTON.top));
    });
    point_and_click(900, middle_x(ASSET_EXIT_BUTTON), middle_y(ASSET_EXIT_BUTTON));
    asset_open();
    spr_free_set(items);
    expect_all_looked();
    EXPECT_GE(plat_tick_count() - t0, 900u) << "still open after the first release";
    EXPECT_EQ(screen_depth, 0);
}

TEST_F(AssetWindow, TheToolbarButtonAndItsHotKeyOpenIt) {
    board_screen_active = 1;
    for (int by_key = 0; by_key < 2; ++by_key) {
        SCOPED_TRACE(by_key ? "hot key" : "toolbar");
        shown_clear();
        deepest = 0;
        board_input_enabled = 1;
        t0 = plat_tick_count();
        right_click(300, 300, 300);
        if (by_key) {
            const uint32_t key = settings_hotkey(HK_QUERY);
            app_keyboard_hook(0, key, 0);
            app_keyboard_hook(0, key, KEY_FLAG_RELEASE);
        } else {
            board_toolbar_command(TOOLBAR_QUERY);
        }
        EXPECT_EQ(deepest, 1) << "the window ran as a modal screen";
        EXPECT_EQ(screen_depth, 0);
        EXPECT_GE(shown_count(Shown::Panel, ASSET_PICTURES_ENTRY), 1u);
    }
    board_screen_active = 0;
}

} // namespace
