// The bank's pictures: PANEL.MKF 23, the loan counter (the counter, the
// clerk, the menu's buttons, the special-financing page and its buttons, the
// accounts card, the clerk's balloon; the calendar card is drawn on the
// board calendar's pages), and PANEL.MKF 24, the deposit window (the
// window, the pressed looks of its eighteen buttons, the slider's filled bar).
#include "builder.h"
#include "canvas.h"

#include <stdexcept>
#include <vector>

#include "finance/bank_screen.h"

namespace {

constexpr uint16_t INK = rgb555(16, 16, 16); // the darkest colour drawn (0 is see-through)

// The window's buttons in its own order (finance/bank_screen.h): withdraw,
// deposit, leave, the slider, digits 0-9 (as on a calculator), clear,
// backspace, all, OK.
struct Spot {
    int x, y, w, h;
};
std::vector<Spot> deposit_spots() {
    std::vector<Spot> s;
    for (int b = 0; b < BANK_B_COUNT; ++b) {
        const PlatRect r = bank_deposit_spot(b);
        s.push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
    }
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
    constexpr int W = BANK_DEPOSIT_W, H = BANK_DEPOSIT_H;
    Canvas cv(W, H);
    cv.fill(0, 0, W, H, rgb555(40, 70, 60));
    cv.frame(0, 0, W, H, rgb555(220, 200, 120));
    cv.frame(2, 2, W - 4, H - 4, INK);
    // The amount's display and the slider's well.
    cv.fill(16, 56, 288, 36, rgb555(10, 30, 16));
    cv.frame(16, 56, 288, 36, rgb555(120, 160, 120));
    for (int b = 0; b < BANK_B_COUNT; ++b) {
        const Spot& s = spots[b];
        if (b == BANK_B_SLIDER) {
            cv.fill(s.x, s.y, s.w, s.h, rgb555(20, 30, 26));
            cv.frame(s.x - 1, s.y - 1, s.w + 2, s.h + 2, rgb555(200, 200, 200));
            continue;
        }
        const uint16_t face = b < BANK_B_SLIDER  ? rgb555(70, 100, 150)
                              : b < BANK_B_CLEAR ? rgb555(110, 110, 120)
                                                 : rgb555(150, 110, 60);
        FrameImage up = button(s.w, s.h, face, rgb555(230, 230, 230), rgb555(30, 30, 30));
        for (int y = 0; y < s.h; ++y)
            for (int x = 0; x < s.w; ++x)
                cv.at(s.x + x, s.y + y) = up.pixels[y * s.w + x];
    }
    return cv.img;
}

// ---- PANEL.MKF 23: the loan counter

FrameImage counter() { // 440 x 440 over the board view
    Canvas cv(440, 440);
    cv.fill(0, 0, 440, 440, rgb555(200, 190, 160));  // the wall
    cv.fill(0, 230, 440, 30, rgb555(120, 80, 40));   // the counter's top
    cv.fill(0, 260, 440, 180, rgb555(150, 100, 55)); // its front
    for (int x = 20; x < 440; x += 100)
        cv.frame(x, 275, 80, 150, rgb555(110, 70, 35));
    // The sign on the left: the clerk's balloon comes to its right.
    cv.fill(20, 20, 200, 36, rgb555(40, 60, 120));
    cv.label("银  行", 120, 26, 24, rgb555(250, 230, 120), true);
    return cv.img;
}

FrameImage clerk(int mouth) { // 140 x 160, the mouth open by 0..3
    Canvas cv(140, 160);
    const uint16_t skin = rgb555(240, 200, 160), suit = rgb555(40, 50, 90);
    cv.fill(20, 100, 100, 60, suit);                 // shoulders
    cv.fill(60, 100, 20, 40, rgb555(240, 240, 240)); // shirt
    cv.ellipse(70, 60, 38, 46, skin);                // head
    cv.fill(32, 14, 76, 22, rgb555(60, 40, 20));     // hair
    cv.ellipse(55, 55, 5, 5, INK);
    cv.ellipse(85, 55, 5, 5, INK);
    cv.fill(58, 80, 24, 2 + 3 * mouth, rgb555(160, 40, 40)); // mouth
    return cv.img;
}

FrameImage menu_button(int state) { // plain, grey, pressed
    const uint16_t faces[3] = {rgb555(230, 210, 140), rgb555(140, 140, 140), rgb555(190, 160, 80)};
    return state == 2 ? button(140, 36, faces[2], rgb555(60, 50, 30), rgb555(250, 240, 200))
                      : button(140, 36, faces[state], rgb555(250, 240, 200), rgb555(60, 50, 30));
}

FrameImage card(int w, int h, uint16_t face) {
    Canvas cv(w, h);
    cv.fill(0, 0, w, h, face);
    cv.frame(0, 0, w, h, INK);
    cv.frame(3, 3, w - 6, h - 6, rgb555(230, 230, 230));
    return cv.img;
}

// The special-financing page (300 x 220): a title strip, three wells for
// the figures, a strip for the buttons.
FrameImage finance_page() {
    Canvas cv(300, 220);
    cv.fill(0, 0, 300, 220, rgb555(40, 70, 60));
    cv.frame(0, 0, 300, 220, rgb555(220, 200, 120));
    cv.frame(2, 2, 296, 216, INK);
    cv.fill(8, 8, 284, 30, rgb555(90, 60, 30));
    for (int k = 0; k < 3; ++k) {
        const int y = 50 + 36 * k;
        cv.fill(150, y, 136, 28, rgb555(10, 30, 16));
        cv.frame(150, y, 136, 28, rgb555(120, 160, 120));
    }
    cv.fill(6, 164, 288, 50, rgb555(30, 50, 44));
    return cv.img;
}

FrameImage page_button(int state) { // 88 x 34: plain, grey, pressed
    const uint16_t faces[3] = {rgb555(230, 210, 140), rgb555(140, 140, 140), rgb555(190, 160, 80)};
    return state == 2 ? button(88, 34, faces[2], rgb555(60, 50, 30), rgb555(250, 240, 200))
                      : button(88, 34, faces[state], rgb555(250, 240, 200), rgb555(60, 50, 30));
}

FrameImage balloon() { // 200 x 90
    Canvas cv(200, 90);
    cv.ellipse(100, 40, 98, 38, rgb555(250, 250, 240));
    const int tail[6] = {20, 60, 40, 70, 0, 88};
    cv.polygon(tail, 3, rgb555(250, 250, 240));
    return cv.img;
}

void build_bank_pictures(DataBuilder& b) {
    ArchiveWriter& panel = builder_archive(b, "PANEL.MKF");
    std::vector<FrameImage> counter_frames{counter()};
    for (int m = 0; m < 4; ++m)
        counter_frames.push_back(clerk(m));
    for (int item = 0; item < 3; ++item)
        for (int state = 0; state < 3; ++state)
            counter_frames.push_back(menu_button(state));
    counter_frames.push_back(finance_page());
    counter_frames.push_back(card(200, 280, rgb555(50, 60, 100))); // the accounts card
    counter_frames.push_back(balloon());
    for (int state = 0; state < 3; ++state)
        counter_frames.push_back(page_button(state));
    if (counter_frames.size() != BANK_F_PAGE_BUTTON + 3)
        throw std::logic_error("PANEL.MKF 23: the frames are not where the counter reads them");
    mkf_writer_add_frameset(panel, BANK_COUNTER_ENTRY, frameset_smp(counter_frames));

    const std::vector<Spot> spots = deposit_spots();
    std::vector<FrameImage> frames{deposit_window(spots)};
    for (int k = 0; k < BANK_B_COUNT; ++k) {
        const Spot& s = spots[k];
        // Pressed: darker, the light edge at the bottom right.
        frames.push_back(button(s.w, s.h,
                                k < BANK_B_SLIDER ? rgb555(200, 170, 60) : rgb555(60, 60, 70),
                                rgb555(30, 30, 30), rgb555(200, 200, 200)));
    }
    Canvas bar(BANK_BAR_W, BANK_BAR_H);
    bar.fill(0, 0, BANK_BAR_W, BANK_BAR_H, rgb555(80, 220, 120));
    bar.fill(0, 0, BANK_BAR_W, 3, rgb555(170, 250, 190));
    frames.push_back(bar.img);
    mkf_writer_add_frameset(panel, BANK_DEPOSIT_ENTRY, frameset_smp(frames));
}

} // namespace

KARVO_DATA_GENERATOR(build_bank_pictures);
