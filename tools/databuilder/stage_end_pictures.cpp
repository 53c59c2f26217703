// The stage end's pictures: PANEL.MKF 93 (the companion walking, 19 frames:
// 0-6 to the right, 12-18 to the left), PANEL.MKF 112 (the continue offer's
// panel and the numbers 1 to 10) and data.mkf 515 (a cheer of confetti and
// stars over the board, an FLC whose colour 0 lets the board show through).
#include <cmath>

#include "builder.h"
#include "canvas.h"
#include "flc_writer.h"

namespace {

const uint16_t kInk = rgb555(20, 20, 20);

// A small round dog, its legs swinging with the frame.
FrameImage companion(int frame) {
    constexpr int W = 44, H = 40;
    Canvas cv(W, H, W / 2, H - 1);
    const bool left = frame >= 12;
    const int phase = frame % 6;
    const uint16_t fur = rgb555(230, 170, 90), dark = rgb555(150, 90, 40);
    cv.ellipse(22, 22, 14, 9, fur);
    const int head_x = left ? 9 : 35;
    cv.ellipse(head_x, 14, 8, 7, fur);
    cv.ellipse(head_x + (left ? -2 : 2), 13, 2, 2, kInk);
    cv.ellipse(head_x + (left ? 5 : -5), 8, 3, 4, dark);
    const int swing = (phase % 3) * 2 - 2;
    for (int leg = 0; leg < 4; ++leg) {
        const int x = 12 + leg * 6 + ((leg % 2) ? swing : -swing);
        cv.fill(x, 28, 3, 11, dark);
    }
    cv.line(left ? 36 : 8, 20, left ? 42 : 2, 12 + phase % 2 * 2, dark, 2);
    return cv.img;
}

FrameImage offer_panel() {
    constexpr int W = 360, H = 150;
    Canvas cv(W, H, W / 2, H / 2);
    cv.fill(0, 0, W, H, rgb555(250, 236, 190));
    cv.frame(0, 0, W, H, kInk);
    cv.frame(3, 3, W - 6, H - 6, rgb555(200, 60, 40));
    cv.label("再接再厉！", W / 2, 22, 30, rgb555(190, 40, 30), true);
    cv.label("十秒内按下鼠标左键或“是”键", W / 2, 74, 18, kInk, true, false);
    cv.label("载入进度继续游戏", W / 2, 102, 18, kInk, true, false);
    return cv.img;
}

FrameImage number(int n) {
    constexpr int W = 80, H = 100;
    Canvas cv(W, H, W / 2, H / 2);
    cv.ellipse(40, 50, 38, 46, rgb555(250, 220, 80));
    cv.ellipse(40, 50, 33, 41, rgb555(200, 50, 40));
    cv.label(std::to_string(n), 40, 20, 56, rgb555(255, 255, 255), true);
    return cv.img;
}

FlcBytes cheer() {
    constexpr int W = 440, H = 440, FRAMES = 20;
    std::vector<FlcRgb> palette(256, FlcRgb{0, 0, 0});
    const FlcRgb colours[6] = {{250, 60, 60},  {250, 220, 60},  {60, 200, 90},
                               {70, 140, 250}, {250, 250, 250}, {230, 90, 220}};
    for (int i = 0; i < 6; ++i)
        palette[static_cast<size_t>(i + 1)] = colours[i];
    std::vector<std::vector<uint8_t>> frames;
    for (int f = 0; f < FRAMES; ++f) {
        std::vector<uint8_t> px(static_cast<size_t>(W) * H, 0);
        // Confetti falling from the top, spreading as it goes.
        for (int k = 0; k < 90; ++k) {
            const int x0 = (k * 97) % W, speed = 12 + (k * 7) % 14;
            const int y = (k * 31) % 60 - 60 + f * speed;
            const int x = x0 + static_cast<int>(8 * std::sin(0.5 * f + k));
            for (int dy = 0; dy < 5; ++dy)
                for (int dx = 0; dx < 4; ++dx) {
                    const int xx = x + dx, yy = y + dy;
                    if (xx >= 0 && yy >= 0 && xx < W && yy < H)
                        px[static_cast<size_t>(yy) * W + xx] = static_cast<uint8_t>(1 + k % 6);
                }
        }
        // A star growing in the middle.
        const int r = 10 + f * 6;
        for (int a = 0; a < 8; ++a)
            for (int t = 0; t < r; ++t) {
                const double ang = a * 3.14159265 / 4;
                const int xx = W / 2 + static_cast<int>(t * std::cos(ang));
                const int yy = H / 2 + static_cast<int>(t * std::sin(ang));
                if (xx >= 0 && yy >= 0 && xx < W && yy < H)
                    px[static_cast<size_t>(yy) * W + xx] = 2;
            }
        frames.push_back(std::move(px));
    }
    return flc_encode(W, H, 70, palette, frames);
}

void build_stage_end_pictures(DataBuilder& b) {
    std::vector<FrameImage> walk;
    for (int f = 0; f < 19; ++f)
        walk.push_back(companion(f));
    ArchiveWriter& panel = builder_archive(b, "PANEL.MKF");
    mkf_writer_add_frameset(panel, 93, frameset_smp(walk));
    std::vector<FrameImage> offer{offer_panel()};
    for (int n = 1; n <= 10; ++n)
        offer.push_back(number(n));
    mkf_writer_add_frameset(panel, 112, frameset_smp(offer));
    mkf_writer_add(builder_archive(b, "data.mkf"), 515, cheer());
}

} // namespace

KARVO_DATA_GENERATOR(build_stage_end_pictures);
