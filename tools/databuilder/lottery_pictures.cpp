// The lottery's pictures: PANEL.MKF 12 (the ticket window with the 9 x 4
// ticket, the stamp, the clerk's balloon), 13 (a holder's panel, the jackpot
// panel), 14 (the clerk), 15 (the draw window, its balloon, the host), 16
// (the drum turning) and 17 (the big digits and the winner's banner); and
// its sounds EFFECT.MKF 140 (stamp), 141 (drum, looped) and 142 (fanfare).
#include "builder.h"
#include "canvas.h"
#include "finance_art.h"
#include "sound_synth.h"

#include <cmath>
#include <string>
#include <vector>

#include "finance/lottery_screen.h"

namespace {

const uint16_t NIGHT = rgb555(30, 50, 90), PAPER = rgb555(250, 240, 205);
const uint16_t GOLD = rgb555(240, 200, 70), RED = rgb555(220, 40, 40);

FrameImage ticket_window() {
    Canvas cv(640, 480);
    cv.fill(0, 0, 640, 480, NIGHT);
    for (int y = 0; y < 480; y += 24)
        cv.fill(0, y, 640, 2, rgb555(40, 62, 104));
    cv.label("乐透彩券", 320, 2, 26, GOLD, true);
    // The ticket: 9 x 4 cells of 64 x 48 from (31, 272).
    fin_panel(cv, 24, 265, 592, 206, PAPER, RED);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 9; ++col) {
            const int x = LOTTO_CELL_X0 + LOTTO_CELL_W * col,
                      y = LOTTO_CELL_Y0 + LOTTO_CELL_H * row;
            cv.frame(x, y, LOTTO_CELL_W, LOTTO_CELL_H, rgb555(200, 120, 100));
            cv.ellipse(x + 32, y + 24, 20, 17, rgb555(255, 250, 235));
        }
    return cv.img;
}

FrameImage stamp() {
    Canvas cv(56, 44, 28, 22);
    cv.ellipse(28, 22, 27, 21, RED);
    cv.ellipse(28, 22, 23, 17, 0); // a ring: the number shows through
    for (int k = -1; k <= 1; ++k)
        cv.line(10, 30 + k, 46, 14 + k, RED, 2);
    return cv.img;
}

FrameImage holder_panel() {
    Canvas cv(LOTTO_HOLDER_W, LOTTO_HOLDER_H);
    fin_panel(cv, 0, 0, LOTTO_HOLDER_W, LOTTO_HOLDER_H, rgb555(40, 40, 70), GOLD);
    cv.fill(10, 10, 40, 40, rgb555(20, 20, 40)); // the face's place
    return cv.img;
}

FrameImage jackpot_panel() {
    Canvas cv(150, 60);
    fin_panel(cv, 0, 0, 150, 60, rgb555(120, 30, 20), GOLD);
    return cv.img;
}

// A person from the chest up: the clerk with a cap, the host with a bow tie.
FrameImage person(bool host) {
    const int w = 96, h = host ? 140 : 95;
    Canvas cv(w, h);
    const uint16_t suit = host ? rgb555(30, 30, 30) : rgb555(60, 120, 200);
    cv.ellipse(48, h - 10, 44, 30, suit);
    cv.ellipse(48, h - 58, 26, 28, rgb555(250, 205, 165));
    cv.fill(36, h - 64, 6, 6, FIN_INK);
    cv.fill(55, h - 64, 6, 6, FIN_INK);
    cv.ellipse(48, h - 44, 9, 4, FIN_INK);
    if (host) {
        const int bow[] = {36, h - 24, 48, h - 30, 60, h - 24, 60, h - 36, 48, h - 30, 36, h - 36};
        cv.polygon(bow, 6, RED);
        cv.fill(24, h - 96, 48, 12, FIN_INK); // a top hat
        cv.fill(32, h - 124, 32, 30, FIN_INK);
    } else {
        cv.fill(20, h - 90, 56, 10, rgb555(60, 120, 200)); // the cap
        cv.fill(20, h - 82, 70, 5, rgb555(40, 90, 160));
    }
    return cv.img;
}

FrameImage draw_window() {
    Canvas cv(640, 480);
    cv.fill(0, 0, 640, 480, rgb555(50, 30, 70));
    for (int k = 0; k < 12; ++k)
        cv.ellipse(26 + 53 * k, 470, 20, 30, rgb555(80, 50, 110)); // footlights
    cv.label("本月乐透开奖", 320, 6, 24, GOLD, true);
    return cv.img;
}

// The drum at turn k of LOTTO_DRUM_FRAMES, its balls thrown round.
FrameImage drum(int k) {
    Canvas cv(150, 150);
    cv.ellipse(75, 75, 70, 70, FIN_INK);
    cv.ellipse(75, 75, 66, 66, rgb555(200, 220, 240));
    const double turn = 2 * 3.14159265 * k / LOTTO_DRUM_FRAMES;
    for (int s = 0; s < 4; ++s) { // spokes
        const double a = turn + s * 3.14159265 / 4;
        cv.line(75 - static_cast<int>(64 * std::cos(a)), 75 - static_cast<int>(64 * std::sin(a)),
                75 + static_cast<int>(64 * std::cos(a)), 75 + static_cast<int>(64 * std::sin(a)),
                rgb555(120, 140, 170), 2);
    }
    const uint16_t balls[5] = {RED, GOLD, rgb555(60, 180, 80), rgb555(70, 110, 230),
                               rgb555(240, 120, 200)};
    for (int b = 0; b < 5; ++b) {
        const double a = turn * (1 + b * 0.3) + b * 1.3;
        const int r = 20 + 8 * b;
        cv.ellipse(75 + static_cast<int>(r * std::cos(a)), 75 + static_cast<int>(r * std::sin(a)),
                   9, 9, balls[b]);
    }
    cv.ellipse(75, 75, 8, 8, FIN_INK);
    return cv.img;
}

FrameImage big_digit(int d) {
    Canvas cv(64, 88);
    cv.ellipse(32, 44, 31, 43, FIN_INK);
    cv.ellipse(32, 44, 28, 40, FIN_WHITE);
    cv.label(std::to_string(d), 32, 12, 60, RED, true);
    return cv.img;
}

FrameImage banner() {
    Canvas cv(280, 60);
    fin_panel(cv, 0, 0, 280, 60, RED, GOLD);
    cv.fill(12, 10, 40, 40, rgb555(120, 20, 20)); // the face's place
    return cv.img;
}

void build_lottery_pictures(DataBuilder& b) {
    ArchiveWriter& panel = builder_archive(b, "PANEL.MKF");
    mkf_writer_add_frameset(panel, LOTTO_TICKET_ENTRY,
                            frameset_smp({ticket_window(), stamp(), fin_balloon(330, 95)}));
    mkf_writer_add_frameset(panel, LOTTO_PANELS_ENTRY,
                            frameset_smp({holder_panel(), jackpot_panel()}));
    mkf_writer_add_frameset(panel, LOTTO_CLERK_ENTRY, frameset_smp({person(false)}));
    mkf_writer_add_frameset(panel, LOTTO_DRAW_ENTRY,
                            frameset_smp({draw_window(), fin_balloon(340, 150), person(true)}));
    std::vector<FrameImage> turns;
    for (int k = 0; k < LOTTO_DRUM_FRAMES; ++k)
        turns.push_back(drum(k));
    mkf_writer_add_frameset(panel, LOTTO_DRUM_ENTRY, frameset_smp(turns));
    std::vector<FrameImage> digits;
    for (int d = 0; d <= 9; ++d)
        digits.push_back(big_digit(d));
    digits.push_back(banner());
    mkf_writer_add_frameset(panel, LOTTO_DIGITS_ENTRY, frameset_smp(digits));

    ArchiveWriter& effects = builder_archive(b, "EFFECT.MKF");
    Synth thump;
    thump.noise(25, 0.9, 0.3, 40);
    thump.tone(160, 90, 120, 0, 0.8, 20);
    mkf_writer_add(effects, 140, wave_image_u8(thump.u8(), 22050));
    Synth rattle;
    for (int k = 0; k < 10; ++k) {
        rattle.noise(18, 0.7, 0.8, 100);
        rattle.tone(900 + 60 * (k % 4), 700, 22, 1, 0.25, 80);
        rattle.silence(20);
    }
    mkf_writer_add(effects, 141, wave_image_u8(rattle.u8(), 22050));
    Synth fanfare;
    for (double f : {523.0, 659.0, 784.0, 1047.0})
        fanfare.tone(f, f, 120, 2, 0.5, 4);
    fanfare.tone(1047, 1047, 380, 2, 0.5, 3);
    mkf_writer_add(effects, 142, wave_image_u8(fanfare.u8(), 22050));
}

} // namespace

KARVO_DATA_GENERATOR(build_lottery_pictures);
