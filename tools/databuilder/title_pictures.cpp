// data.mkf 1: the title screen's background and its four labelled buttons,
// each plain and lit.
#include "builder.h"
#include "canvas.h"
#include "shell/title_layout.h"

namespace {

const uint16_t kInk = rgb555(24, 20, 20);

FrameImage title_background() {
    Canvas cv(640, 480);
    for (int y = 0; y < 480; ++y) {
        const int t = y * 255 / 479;
        cv.fill(0, y, 640, 1, rgb555(20 + t / 3, 40 + t / 4, 110 + t / 3));
    }
    // A board of squares in perspective under the name.
    for (int row = 0; row < 6; ++row) {
        const int y0 = 250 + row * 14 + row * row, h = 12 + row * 2;
        const int w = 40 + row * 10;
        for (int x = 320 - 7 * w / 2; x < 320 + 7 * w / 2; x += w + 2) {
            const bool lit = ((x / w) + row) % 2 == 0;
            cv.fill(x, y0, w, h, lit ? rgb555(230, 190, 80) : rgb555(80, 150, 90));
        }
    }
    cv.ellipse(320, 130, 230, 80, rgb555(250, 220, 90));
    cv.ellipse(320, 130, 222, 72, rgb555(200, 40, 40));
    cv.label("卡尔沃", 320, 78, 72, rgb555(250, 240, 200), true);
    cv.label("KARVO", 320, 160, 28, rgb555(250, 220, 90), true);
    return cv.img;
}

FrameImage button(const char* word, bool lit) {
    constexpr int W = 124, H = 40;
    Canvas cv(W, H, W / 2, H / 2);
    const uint16_t face = lit ? rgb555(250, 220, 80) : rgb555(200, 200, 220);
    cv.fill(0, 0, W, H, face);
    cv.fill(0, 0, W, 2, rgb555(250, 250, 250));
    cv.fill(0, 0, 2, H, rgb555(250, 250, 250));
    cv.fill(0, H - 2, W, 2, rgb555(90, 90, 110));
    cv.fill(W - 2, 0, 2, H, rgb555(90, 90, 110));
    cv.frame(0, 0, W, H, kInk);
    cv.label(word, W / 2, 11, 18, lit ? rgb555(160, 20, 20) : kInk, true);
    return cv.img;
}

void build_title_pictures(DataBuilder& b) {
    const char* const words[TITLE_BUTTON_COUNT] = {"新的游戏", "载入进度", "游戏设定", "离开游戏"};
    std::vector<FrameImage> frames{title_background()};
    for (const char* w : words) {
        frames.push_back(button(w, false));
        frames.push_back(button(w, true));
    }
    mkf_writer_add_frameset(builder_archive(b, "data.mkf"), TITLE_SET_ENTRY, frameset_smp(frames));
}

} // namespace

KARVO_DATA_GENERATOR(build_title_pictures);
