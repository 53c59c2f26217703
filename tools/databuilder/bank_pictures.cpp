// The bank's pictures: PANEL.MKF 24, the deposit window (the window, the
// pressed looks of its eighteen buttons, the slider's filled bar).
#include "builder.h"
#include "canvas.h"

#include <vector>

namespace {

constexpr uint16_t INK = rgb555(16, 16, 16); // the darkest colour drawn (0 is see-through)

struct Spot {
    int x, y, w, h;
};
// The buttons in the window's own order: withdraw, deposit, leave, the
// slider, digits 0-9 (as on a calculator), clear, backspace, all, OK.
Spot digit_spot(int d) {
    if (d == 0) return {16, 256, 52, 34};
    const int row = 2 - (d - 1) / 3, col = (d - 1) % 3;
    return {16 + 60 * col, 136 + 40 * row, 52, 34};
}
std::vector<Spot> deposit_spots() {
    std::vector<Spot> s{{16, 16, 90, 30}, {116, 16, 90, 30}, {216, 16, 88, 30}, {58, 104, 204, 16}};
    for (int d = 0; d <= 9; ++d)
        s.push_back(digit_spot(d));
    for (int y : {136, 176, 216, 256})
        s.push_back({196, y, 108, 34});
    return s;
}

FrameImage button(int w, int h, uint16_t face, uint16_t light, uint16_t shade) {
    Canvas cv(w, h);
    cv.fill(0, 0, w, h, face);
    cv.fill(0, 0, w, 2, light);
    cv.fill(0, 0, 2, h, light);
    cv.fill(0, h - 2, w, 2, shade);
    cv.fill(w - 2, 0, 2, h, shade);
    return cv.img;
}

FrameImage deposit_window(const std::vector<Spot>& spots) {
    Canvas cv(320, 300);
    cv.fill(0, 0, 320, 300, rgb555(40, 70, 60));
    cv.frame(0, 0, 320, 300, rgb555(220, 200, 120));
    cv.frame(2, 2, 316, 296, INK);
    // The amount's display and the slider's well.
    cv.fill(16, 56, 288, 36, rgb555(10, 30, 16));
    cv.frame(16, 56, 288, 36, rgb555(120, 160, 120));
    for (size_t b = 0; b < spots.size(); ++b) {
        const Spot& s = spots[b];
        if (b == 3) {
            cv.fill(s.x, s.y, s.w, s.h, rgb555(20, 30, 26));
            cv.frame(s.x - 1, s.y - 1, s.w + 2, s.h + 2, rgb555(200, 200, 200));
            continue;
        }
        const uint16_t face = b < 3    ? rgb555(70, 100, 150)
                              : b < 14 ? rgb555(110, 110, 120)
                                       : rgb555(150, 110, 60);
        FrameImage up = button(s.w, s.h, face, rgb555(230, 230, 230), rgb555(30, 30, 30));
        for (int y = 0; y < s.h; ++y)
            for (int x = 0; x < s.w; ++x)
                cv.at(s.x + x, s.y + y) = up.pixels[y * s.w + x];
    }
    return cv.img;
}

void build_bank_pictures(DataBuilder& b) {
    ArchiveWriter& panel = builder_archive(b, "PANEL.MKF");
    const std::vector<Spot> spots = deposit_spots();
    std::vector<FrameImage> frames{deposit_window(spots)};
    for (size_t k = 0; k < spots.size(); ++k) {
        const Spot& s = spots[k];
        // Pressed: darker, the light edge at the bottom right.
        frames.push_back(button(s.w, s.h, k < 3 ? rgb555(200, 170, 60) : rgb555(60, 60, 70),
                                rgb555(30, 30, 30), rgb555(200, 200, 200)));
    }
    Canvas bar(204, 16);
    bar.fill(0, 0, 204, 16, rgb555(80, 220, 120));
    bar.fill(0, 0, 204, 3, rgb555(170, 250, 190));
    frames.push_back(bar.img);
    mkf_writer_add_frameset(panel, 24, frameset_smp(frames));
}

} // namespace

KARVO_DATA_GENERATOR(build_bank_pictures);
