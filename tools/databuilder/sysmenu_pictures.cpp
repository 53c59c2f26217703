// data.mkf 3: the system window (frame 0, 340 x 350), the date dialog's page
// (frame 1, 200 x 220) and the hot-key dialog's page (frame 2, 330 x 320).
// The labels, bars, checks and buttons are drawn on them by the game.
#include "builder.h"
#include "canvas.h"

namespace {

const uint16_t kInk = rgb555(16, 16, 16);
const uint16_t kLight = rgb555(250, 246, 232);
const uint16_t kShade = rgb555(120, 104, 80);

void bevel(Canvas& cv, int x, int y, int w, int h, uint16_t face) {
    cv.fill(x, y, w, h, face);
    cv.fill(x, y, w, 2, kLight);
    cv.fill(x, y, 2, h, kLight);
    cv.fill(x, y + h - 2, w, 2, kShade);
    cv.fill(x + w - 2, y, 2, h, kShade);
    cv.frame(x, y, w, h, kInk);
}

// A sunken group box.
void group(Canvas& cv, int x, int y, int w, int h) {
    cv.frame(x, y, w, h, kShade);
    cv.frame(x + 1, y + 1, w - 2, h - 2, kLight);
}

FrameImage system_window() {
    Canvas cv(340, 350);
    bevel(cv, 0, 0, 340, 350, rgb555(216, 208, 184));
    group(cv, 6, 8, 208, 164);     // the options
    group(cv, 6, 190, 208, 158);   // the music tracks
    group(cv, 218, 6, 116, 156);   // the three action buttons
    group(cv, 208, 186, 126, 122); // the side-panel layouts
    return cv.img;
}

FrameImage date_page() {
    Canvas cv(200, 220);
    bevel(cv, 0, 0, 200, 220, rgb555(216, 208, 184));
    cv.fill(8, 48, 184, 130, rgb555(248, 244, 232));
    cv.frame(8, 48, 184, 130, kShade);
    const char* const days[7] = {"日", "一", "二", "三", "四", "五", "六"};
    for (int c = 0; c < 7; ++c)
        cv.label(days[c], 28 + 23 * c, 54, 12, c == 0 ? rgb555(200, 30, 30) : kInk, true, false);
    return cv.img;
}

FrameImage hotkey_page() {
    Canvas cv(330, 320);
    bevel(cv, 0, 0, 330, 320, rgb555(40, 52, 84));
    cv.label("热键设定", 165, 6, 16, rgb555(240, 240, 240), true);
    for (int col = 0; col < 2; ++col) {
        const int x = col ? 257 : 105, rows = col ? 13 : 15;
        cv.fill(x - 2, 25, 58, 16 * rows, rgb555(20, 26, 44));
    }
    return cv.img;
}

void build_sysmenu_pictures(DataBuilder& b) {
    std::vector<FrameImage> frames{system_window(), date_page(), hotkey_page()};
    mkf_writer_add_frameset(builder_archive(b, "data.mkf"), 3, frameset_smp(frames));
}

} // namespace

KARVO_DATA_GENERATOR(build_sysmenu_pictures);
