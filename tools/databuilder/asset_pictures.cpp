// The asset window's pictures, PANEL.MKF 9 (frames as finance/assets_screen.h
// names them): the background with the page tabs' plates and the exit
// button, the player and filter tabs plain and lit, the lit page tab, the
// pressed exit button, the page buttons plain and pressed, the level mark,
// the three pages' plates and the summary's box for the face. The window
// writes every caption and figure itself.
#include "builder.h"
#include "canvas.h"

#include <vector>

#include "finance/assets_screen.h"

namespace {

constexpr uint16_t INK = rgb555(16, 16, 16);
constexpr uint16_t WHITE = rgb555(250, 250, 250);
constexpr uint16_t GOLD = rgb555(240, 200, 70);
constexpr uint16_t NAVY = rgb555(26, 40, 70);
constexpr uint16_t DEEP = rgb555(18, 28, 52);
constexpr uint16_t PLATE = rgb555(44, 62, 100);
constexpr uint16_t PLATE_LIT = rgb555(70, 110, 170);
constexpr uint16_t BUTTON = rgb555(170, 60, 50);

// A plate with a light top-left edge and a dark bottom-right one.
void raised(Canvas& cv, int x, int y, int w, int h, uint16_t face) {
    cv.fill(x, y, w, h, face);
    cv.fill(x, y, w, 2, rgb555(200, 210, 230));
    cv.fill(x, y, 2, h, rgb555(200, 210, 230));
    cv.fill(x, y + h - 2, w, 2, INK);
    cv.fill(x + w - 2, y, 2, h, INK);
}

FrameImage background() {
    Canvas cv(640, 480);
    cv.fill(0, 0, 640, 480, NAVY);
    cv.fill(0, 0, 640, 46, DEEP); // the player tabs' strip
    cv.fill(0, 46, 640, 2, GOLD);
    // The left column: the page tabs' plates.
    for (int k = 0; k < ASSET_PAGE_COUNT; ++k)
        raised(cv, ASSET_PAGE_TAB_LEFT, ASSET_PAGE_TAB_Y + ASSET_PAGE_TAB_STEP * k,
               ASSET_PAGE_TAB_RIGHT - ASSET_PAGE_TAB_LEFT, ASSET_PAGE_TAB_H, PLATE);
    const PlatRect& e = ASSET_EXIT_BUTTON;
    raised(cv, e.left, e.top, e.right - e.left, e.bottom - e.top, BUTTON);
    cv.label("离  开", (e.left + e.right) / 2, e.top + 5, 20, WHITE, true);
    return cv.img;
}

FrameImage player_tab(bool lit) {
    Canvas cv(ASSET_PLAYER_TAB_W, ASSET_PLAYER_TAB_H);
    const uint16_t face = lit ? PLATE_LIT : PLATE;
    cv.fill(2, 4, ASSET_PLAYER_TAB_W - 4, ASSET_PLAYER_TAB_H - 4, face);
    cv.fill(6, 0, ASSET_PLAYER_TAB_W - 12, 4, face);
    cv.frame(2, 4, ASSET_PLAYER_TAB_W - 4, ASSET_PLAYER_TAB_H - 4, lit ? GOLD : INK);
    return cv.img;
}

FrameImage page_tab_lit() {
    Canvas cv(ASSET_PAGE_TAB_RIGHT - ASSET_PAGE_TAB_LEFT, ASSET_PAGE_TAB_H);
    raised(cv, 0, 0, cv.img.width, cv.img.height, PLATE_LIT);
    cv.frame(3, 3, cv.img.width - 6, cv.img.height - 6, GOLD);
    return cv.img;
}

FrameImage filter_tab(bool lit) {
    const int h = ASSET_FILTER_TAB_BOTTOM - ASSET_FILTER_TAB_TOP;
    Canvas cv(ASSET_FILTER_TAB_W, h);
    cv.fill(2, 2, ASSET_FILTER_TAB_W - 4, h - 2, lit ? PLATE_LIT : PLATE);
    cv.frame(2, 2, ASSET_FILTER_TAB_W - 4, h - 2, lit ? GOLD : INK);
    if (lit) cv.fill(8, h - 5, ASSET_FILTER_TAB_W - 16, 3, GOLD); // the chosen one's bar
    return cv.img;
}

// The exit button pressed in: darker, its word moved a pixel down and right.
FrameImage exit_pressed() {
    const PlatRect& e = ASSET_EXIT_BUTTON;
    const int w = e.right - e.left, h = e.bottom - e.top;
    Canvas cv(w, h);
    cv.fill(0, 0, w, h, rgb555(120, 40, 34));
    cv.fill(0, 0, w, 2, INK);
    cv.fill(0, 0, 2, h, INK);
    cv.label("离  开", w / 2 + 1, 6, 20, WHITE, true);
    return cv.img;
}

// A page button with its arrow (up or down), plain or pressed in.
FrameImage page_button(bool up, bool pressed) {
    const int w = ASSET_PAGE_UP_BUTTON.right - ASSET_PAGE_UP_BUTTON.left;
    const int h = ASSET_PAGE_UP_BUTTON.bottom - ASSET_PAGE_UP_BUTTON.top;
    Canvas cv(w, h);
    if (pressed) {
        cv.fill(0, 0, w, h, rgb555(120, 100, 40));
        cv.fill(0, 0, w, 2, INK);
        cv.fill(0, 0, 2, h, INK);
    } else {
        raised(cv, 0, 0, w, h, rgb555(190, 150, 60));
    }
    const int d = pressed ? 1 : 0;
    const int cx = w / 2 + d, top = 8 + d, bottom = h - 8 + d;
    const int xy_up[6] = {cx, top, cx - 9, bottom, cx + 9, bottom};
    const int xy_down[6] = {cx - 9, top, cx + 9, top, cx, bottom};
    cv.polygon(up ? xy_up : xy_down, 3, WHITE);
    return cv.img;
}

// One level of development: a small house.
FrameImage level_mark() {
    const int s = ASSET_LEVEL_MARK_W;
    Canvas cv(s, s, s / 2, s / 2);
    const int roof[6] = {s / 2, 0, 0, 5, s, 5};
    cv.polygon(roof, 3, rgb555(220, 70, 50));
    cv.fill(2, 5, s - 4, s - 5, rgb555(250, 230, 160));
    cv.fill(5, 8, 2, 4, INK);
    return cv.img;
}

// The plate under a page: the area and, for the lists, the row stripes.
FrameImage page_plate(int page) {
    const PlatRect& a = ASSET_PAGE_AREA;
    const int w = a.right - a.left, h = a.bottom - a.top;
    Canvas cv(w, h);
    cv.fill(0, 0, w, h, DEEP);
    cv.frame(0, 0, w, h, GOLD);
    if (page == 0) {
        // The money rows and the property rows, and the goods' place.
        for (int i = 0; i < 4; ++i) {
            cv.fill(142 - a.left - 8, 88 + 48 * i - a.top - 18, 200, 36, PLATE);
            cv.fill(430 - a.left - 8, 88 + 48 * i - a.top - 18, 188, 36, PLATE);
            cv.fill(142 - a.left - 8, 296 + 48 * i - a.top - 18, 124, 36, PLATE);
        }
        cv.frame(280 - a.left, 262 - a.top, 340, 204, rgb555(120, 130, 160));
        cv.line(280 - a.left, 366 - a.top, 619 - a.left, 366 - a.top, rgb555(120, 130, 160));
    } else if (page == 1) {
        cv.fill(8, 112 - a.top - 12, w - 54, 24, PLATE); // the column heads
        for (int r = 0; r < 10; r += 2)
            cv.fill(8, ASSET_LAND_ROW_Y + ASSET_LAND_ROW_STEP * r - a.top - 15, w - 54, 30,
                    rgb555(28, 40, 70));
    } else {
        cv.fill(204 - a.left - 12, 68 - a.top - 12, 360, 24, PLATE);
        for (int i = 0; i < 12; i += 2)
            cv.fill(204 - a.left - 12, 100 + 32 * i - a.top - 15, 360, 30, rgb555(28, 40, 70));
    }
    return cv.img;
}

// The summary's box in the left column, with a frame round the face.
FrameImage face_panel() {
    const PlatRect& a = ASSET_FACE_AREA;
    const int w = a.right - a.left, h = a.bottom - a.top;
    Canvas cv(w, h);
    cv.fill(0, 0, w, h, DEEP);
    cv.frame(0, 0, w, h, GOLD);
    cv.frame(60 - 25 - a.left, 100 - 25 - a.top, 50, 50, rgb555(120, 130, 160));
    return cv.img;
}

void build_asset_pictures(DataBuilder& b) {
    std::vector<FrameImage> frames(ASSET_FRAME_COUNT);
    frames[ASSET_F_BACKGROUND] = background();
    frames[ASSET_F_PLAYER_TAB] = player_tab(false);
    frames[ASSET_F_PLAYER_TAB_LIT] = player_tab(true);
    frames[ASSET_F_PAGE_TAB_LIT] = page_tab_lit();
    frames[ASSET_F_FILTER_TAB] = filter_tab(false);
    frames[ASSET_F_FILTER_TAB_LIT] = filter_tab(true);
    frames[ASSET_F_EXIT_PRESSED] = exit_pressed();
    frames[ASSET_F_PAGE_UP] = page_button(true, false);
    frames[ASSET_F_PAGE_UP_PRESSED] = page_button(true, true);
    frames[ASSET_F_PAGE_DOWN] = page_button(false, false);
    frames[ASSET_F_PAGE_DOWN_PRESSED] = page_button(false, true);
    frames[ASSET_F_LEVEL_MARK] = level_mark();
    for (int page = 0; page < 3; ++page)
        frames[ASSET_F_SUMMARY_PANEL + page] = page_plate(page);
    frames[ASSET_F_FACE_PANEL] = face_panel();
    mkf_writer_add_frameset(builder_archive(b, "PANEL.MKF"), ASSET_PICTURES_ENTRY,
                            frameset_smp(frames));
}

} // namespace

KARVO_DATA_GENERATOR(build_asset_pictures);
