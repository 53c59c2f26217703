// The month-end settlement's and the bulletin board's pictures: PANEL.MKF 25
// (the settlement's background, balloon and award board), 73 (the board's
// window, buttons and offer icons), 74 (item n as frame n - 1); data.mkf
// 375-398 (each character cheering and drooping). The settlement's voices
// are spoken with the game's other lines.
#include "builder.h"
#include "canvas.h"
#include "flc_writer.h"
#include "sound_synth.h"

#include "data/characters.h"
#include "finance/notice_board_screen.h"
#include "finance/settlement_screen.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const uint16_t kInk = rgb555(20, 16, 12);
const uint16_t kPaper = rgb555(248, 240, 216);
const uint16_t kWood = rgb555(150, 96, 50);
const uint16_t kDarkWood = rgb555(96, 58, 30);
const uint16_t kBank = rgb555(24, 70, 120);
const uint16_t kGold = rgb555(240, 200, 70);

// ---- The settlement (PANEL.MKF 25)

FrameImage settle_background() {
    Canvas cv(640, 480);
    cv.fill(0, 0, 640, 480, kBank);
    cv.fill(0, 0, 640, 48, rgb555(16, 44, 84));
    cv.label("月 底 结 算", 320, 10, 28, kGold, true);
    for (int i = 0; i < 4; ++i) {
        const int top = SETTLE_ROW_Y + SETTLE_ROW_H * i;
        for (int col = 0; col < 2; ++col) {
            const int left = col == 0 ? 16 : 336;
            cv.fill(left, top, 288, SETTLE_ROW_H - 8, rgb555(36, 96, 156));
            cv.frame(left, top, 288, SETTLE_ROW_H - 8, kGold);
        }
    }
    cv.line(320, 60, 320, 396, kGold, 2);
    return cv.img;
}

FrameImage settle_balloon() {
    const int w = 600, h = 84;
    Canvas cv(w, h, w / 2, h / 2);
    cv.fill(4, 0, w - 8, h, kPaper);
    cv.fill(0, 4, w, h - 8, kPaper);
    cv.frame(0, 4, w, h - 8, kInk);
    cv.fill(4, 4, w - 8, h - 8, rgb555(60, 60, 70)); // dark inside: the words are light
    cv.frame(6, 8, w - 12, h - 16, kGold);
    return cv.img;
}

FrameImage settle_award_board() {
    Canvas cv(SETTLE_AWARD_W, SETTLE_AWARD_H);
    cv.fill(0, 0, SETTLE_AWARD_W, SETTLE_AWARD_H, rgb555(90, 24, 40));
    cv.frame(0, 0, SETTLE_AWARD_W, SETTLE_AWARD_H, kGold);
    cv.frame(5, 5, SETTLE_AWARD_W - 10, SETTLE_AWARD_H - 10, kGold);
    // The animation's frame.
    cv.fill(SETTLE_FLC_X - SETTLE_AWARD_X - 4, SETTLE_FLC_Y - SETTLE_AWARD_Y - 4, 168, 128, kInk);
    return cv.img;
}

// ---- The bulletin board (PANEL.MKF 73)

FrameImage board_window() {
    Canvas cv(640, 480);
    cv.fill(0, 0, 640, 480, kDarkWood);
    cv.fill(16, 60, 608, 400, rgb555(200, 170, 120)); // the cork
    cv.frame(16, 60, 608, 400, kInk);
    cv.label("公 布 栏", 240, 18, 28, kGold, true);
    for (int seat = 0; seat < 4; ++seat) {
        const int y = NOTICE_GRID_Y + NOTICE_CELL_STEP * seat;
        cv.fill(24, y - 4, 592, NOTICE_CELL_SIZE + 8, rgb555(214, 186, 140));
        cv.frame(24, y - 4, 592, NOTICE_CELL_SIZE + 8, kWood);
        for (int slot = 0; slot < 7; ++slot)
            cv.frame(NOTICE_GRID_X + NOTICE_CELL_STEP * slot, y, NOTICE_CELL_SIZE, NOTICE_CELL_SIZE,
                     kWood);
    }
    return cv.img;
}

FrameImage button(const char* text, int w, int h, bool pressed) {
    Canvas cv(w, h);
    cv.fill(0, 0, w, h, pressed ? rgb555(120, 70, 30) : kWood);
    cv.frame(0, 0, w, h, kInk);
    if (!pressed) cv.frame(2, 2, w - 4, h - 4, kGold);
    cv.label(text, w / 2, h / 2 - 10, 20, pressed ? kGold : kPaper, true);
    return cv.img;
}

FrameImage plain_panel(int w, int h) {
    Canvas cv(w, h);
    cv.fill(0, 0, w, h, kPaper);
    cv.frame(0, 0, w, h, kInk);
    cv.frame(3, 3, w - 6, h - 6, kWood);
    return cv.img;
}

// A pinned note: its colour by type, a man's or a woman's pin.
FrameImage offer_icon(int type, int sex) {
    static const char* const labels[] = {"", "股", "地", "道", "卡"};
    const uint16_t colours[] = {0, rgb555(230, 90, 80), rgb555(90, 170, 90), rgb555(90, 140, 230),
                                rgb555(220, 180, 60)};
    Canvas cv(56, 56, 28, 28);
    cv.fill(4, 6, 48, 46, colours[type]);
    cv.frame(4, 6, 48, 46, kInk);
    cv.ellipse(28, 8, 5, 5, sex ? rgb555(40, 80, 220) : rgb555(230, 60, 160));
    cv.label(labels[type], 28, 18, 24, kInk, true);
    return cv.img;
}

FrameSetBytes board_pictures() {
    std::vector<FrameImage> f;
    f.push_back(board_window());                // 0
    f.push_back(button("公布", 70, 38, false)); // 1 the post button
    f.push_back(button("公布", 70, 38, true));  // 2
    f.push_back(button("EXIT", 90, 38, false)); // 3
    f.push_back(button("EXIT", 90, 38, true));  // 4
    f.push_back(plain_panel(360, 300));         // 5 the detail and posting windows
    f.push_back(button("", 110, 36, false));    // 6 a plain button
    f.push_back(button("", 110, 36, true));     // 7
    f.push_back(plain_panel(8, 8));             // 8 (icons start at 9)
    for (int sex = 0; sex < 2; ++sex)
        for (int type = 1; type <= 4; ++type)
            f.push_back(offer_icon(type, sex)); // 8 + type + 4 x sex
    return frameset_smp(f);
}

// ---- Item pictures (PANEL.MKF 74): item n as frame n - 1, 32 x 32.

FrameSetBytes item_pictures() {
    static const char* const names[] = {"偶", "障", "雷", "弹", "摩", "车", "导",
                                        "骰", "工", "时", "传", "推", "核"};
    std::vector<FrameImage> f;
    for (int n = 1; n <= 13; ++n) {
        Canvas cv(32, 32, 16, 16);
        cv.ellipse(16, 16, 15, 15, rgb555(60 + 14 * n, 200 - 10 * n, 120 + 8 * n));
        cv.ellipse(16, 16, 12, 12, kPaper);
        cv.label(names[n - 1], 16, 5, 20, kInk, true);
        f.push_back(cv.img);
    }
    return frameset_smp(f);
}

// ---- The winners' animations (data.mkf 375 + 2k cheering, 376 + 2k drooping)

FlcBytes winner_animation(int character, bool cheer) {
    const int w = 160, h = 120, frames = 10;
    std::vector<FlcRgb> pal(256, FlcRgb{0, 0, 0});
    const uint32_t rgb = character_table[character].colour;
    pal[1] = cheer ? FlcRgb{250, 230, 140} : FlcRgb{70, 80, 110}; // sky
    pal[2] = FlcRgb{250, 210, 170};                               // skin
    pal[3] = FlcRgb{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                    static_cast<uint8_t>(rgb)};
    pal[4] = FlcRgb{20, 20, 20};
    pal[5] = cheer ? FlcRgb{255, 200, 0} : FlcRgb{120, 160, 220}; // confetti or rain
    std::vector<std::vector<uint8_t>> all;
    for (int k = 0; k < frames; ++k) {
        std::vector<uint8_t> px(static_cast<size_t>(w) * h, 1);
        auto put = [&](int x, int y, uint8_t c) {
            if (x >= 0 && y >= 0 && x < w && y < h) px[static_cast<size_t>(y) * w + x] = c;
        };
        auto disc = [&](int cx, int cy, int r, uint8_t c) {
            for (int y = -r; y <= r; ++y)
                for (int x = -r; x <= r; ++x)
                    if (x * x + y * y <= r * r) put(cx + x, cy + y, c);
        };
        auto bar = [&](int x0, int y0, int x1, int y1, uint8_t c) {
            const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + 1;
            for (int i = 0; i <= n; ++i)
                disc(x0 + (x1 - x0) * i / n, y0 + (y1 - y0) * i / n, 2, c);
        };
        // Confetti falls on the cheer, rain on the droop.
        for (int d = 0; d < 14; ++d)
            disc((d * 37 + 11) % w, (d * 23 + k * 9) % h, cheer ? 2 : 1, 5);
        const int bounce = cheer ? (k % 2 == 0 ? 0 : -12) : 0;
        const int slump = cheer ? 0 : std::min(k, 5) * 3;
        const int cx = w / 2, base = 108 + bounce;
        bar(cx, base - 40 + slump, cx, base - 10, 3); // body
        bar(cx, base - 10, cx - 12, base, 3);         // legs
        bar(cx, base - 10, cx + 12, base, 3);
        if (cheer) {
            bar(cx, base - 34, cx - 22, base - 62, 3); // arms up
            bar(cx, base - 34, cx + 22, base - 62, 3);
        } else {
            bar(cx, base - 34 + slump, cx - 16, base - 14 + slump, 3); // arms hang
            bar(cx, base - 34 + slump, cx + 16, base - 14 + slump, 3);
        }
        const int head_y = base - 52 + slump + (cheer ? 0 : slump / 2);
        disc(cx, head_y, 11, 2);
        put(cx - 4, head_y - 2, 4);
        put(cx + 4, head_y - 2, 4);
        for (int x = -4; x <= 4; ++x)
            put(cx + x, head_y + 5 + (cheer ? -(x * x) / 6 : (x * x) / 6), 4);
        all.push_back(std::move(px));
    }
    return flc_encode(w, h, 100, pal, all);
}

void build_settlement_and_board(DataBuilder& b) {
    ArchiveWriter& panel = builder_archive(b, "PANEL.MKF");
    mkf_writer_add_frameset(
        panel, SETTLE_PANEL_ENTRY,
        frameset_smp({settle_background(), settle_balloon(), settle_award_board()}));
    mkf_writer_add_frameset(panel, NOTICE_PANEL_ENTRY, board_pictures());
    mkf_writer_add_frameset(panel, NOTICE_ITEM_PICTURES_ENTRY, item_pictures());
    ArchiveWriter& data = builder_archive(b, "data.mkf");
    for (int c = 0; c < 12; ++c) {
        mkf_writer_add(data, settle_cheer_flc(c), winner_animation(c, true));
        mkf_writer_add(data, settle_droop_flc(c), winner_animation(c, false));
    }
}

} // namespace

KARVO_DATA_GENERATOR(build_settlement_and_board);
