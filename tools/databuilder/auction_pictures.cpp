// The auction's pictures: PANEL.MKF 26 (the hall, balloon, bid buttons,
// row, marker, gavel, marks and the properties as the window numbers them)
// and PANEL.MKF 27-62 (three faces a character for its row), and the
// auction's sounds EFFECT.MKF 143 (gavel) and 144 (bid).
#include "builder.h"
#include "canvas.h"
#include "finance_art.h"
#include "sound_synth.h"

#include <string>
#include <vector>

#include "finance/auction.h"
#include "finance/auction_screen.h"

namespace {

const uint16_t WOOD = rgb555(120, 60, 30), WOOD_LIGHT = rgb555(190, 120, 60);
const uint16_t VELVET = rgb555(110, 20, 30), GOLD = rgb555(240, 200, 70);

FrameImage hall() {
    Canvas cv(640, 480);
    cv.fill(0, 0, 640, 480, VELVET);
    for (int x = 0; x < 640; x += 32)
        cv.fill(x, 0, 4, 480, rgb555(90, 14, 24)); // curtain folds
    fin_panel(cv, 0, 0, 640, 40, WOOD, WOOD_LIGHT);
    cv.label("土地拍卖会", 220, 8, 24, GOLD, true);
    // The property's frame and the price plate's place.
    fin_panel(cv, AUCTION_PICTURE_X - 8, AUCTION_PICTURE_Y - 8, 216, 226, WOOD, GOLD);
    // The podium with the auctioneer's stand.
    fin_panel(cv, 256, 300, 92, 170, WOOD, WOOD_LIGHT);
    cv.ellipse(302, 290, 26, 26, rgb555(250, 205, 165));
    cv.fill(284, 282, 8, 4, FIN_INK);
    cv.fill(312, 282, 8, 4, FIN_INK);
    cv.fill(290, 300, 24, 3, FIN_INK);
    // The bidders' column.
    fin_panel(cv, AUCTION_ROW_LEFT - 6, 34, 646 - AUCTION_ROW_LEFT, 452, rgb555(60, 16, 20), GOLD);
    return cv.img;
}

FrameImage button(int choice, bool lit) {
    static const char* const labels[AUCTION_CHOICES] = {"ＰＡＳＳ", "+100",   "+500", "+1000",
                                                        "+5000",    "+10000", "放弃"};
    const int w = AUCTION_BUTTON_RIGHT - AUCTION_BUTTON_LEFT + 1, h = AUCTION_BUTTON_H;
    Canvas cv(w, h);
    const uint16_t face = choice == 0   ? rgb555(70, 110, 190)
                          : choice == 6 ? rgb555(150, 60, 60)
                                        : rgb555(40, 140, 70);
    fin_panel(cv, 0, 0, w, h, lit ? GOLD : face, lit ? FIN_WHITE : rgb555(200, 220, 200));
    cv.label(labels[choice], w / 2 + (lit ? 1 : 0), 12 + (lit ? 1 : 0), 18,
             lit ? FIN_INK : FIN_WHITE, true);
    return cv.img;
}

// A property's picture, by the window's numbering.
FrameImage property(int f) {
    Canvas cv(200, 150);
    cv.fill(0, 0, 200, 100, rgb555(150, 200, 240));
    cv.fill(0, 100, 200, 50, rgb555(90, 170, 80));
    cv.frame(0, 0, 200, 150, FIN_INK);
    const uint16_t roofs[4] = {rgb555(200, 60, 50), rgb555(60, 90, 200), rgb555(220, 170, 40),
                               rgb555(130, 60, 160)};
    auto house = [&](int x, int w, int h, uint16_t roof) {
        cv.fill(x, 110 - h, w, h, rgb555(240, 230, 210));
        cv.frame(x, 110 - h, w, h, FIN_INK);
        const int tri[] = {x - 3, 110 - h, x + w / 2, 92 - h, x + w + 3, 110 - h};
        cv.polygon(tri, 3, roof);
        cv.fill(x + w / 2 - 4, 96, 8, 14, WOOD);
    };
    auto sign = [&](const char* text, uint16_t colour) {
        cv.fill(50, 118, 100, 26, colour);
        cv.frame(50, 118, 100, 26, FIN_INK);
        cv.label(text, 100, 122, 18, FIN_WHITE, true);
    };
    if (f >= 30 && f <= 49) { // a plot built to level 1..5 on map 0..3
        const int map = (f - 30) / 5, level = (f - 30) % 5 + 1;
        for (int k = 0; k < level; ++k)
            house(14 + 36 * k, 28, 26 + 8 * k, roofs[map]);
        sign(("房屋" + std::to_string(level) + "级").c_str(), rgb555(90, 60, 40));
    } else if (f == 50) {
        house(40, 120, 60, rgb555(240, 120, 30));
        sign("连锁店", rgb555(200, 80, 20));
    } else if (f == 51) {
        for (int k = 0; k < 5; ++k) {
            cv.fill(24 + 36 * k, 80, 6, 24, WOOD);
            cv.ellipse(27 + 36 * k, 72, 14, 16, rgb555(40, 130, 50));
        }
        sign("公园", rgb555(40, 120, 50));
    } else if (f >= 52 && f <= 71) { // a facility of kind 1..4 at level 1..5
        static const char* const kinds[4] = {"饭店", "商场", "加油站", "研究所"};
        const int kind = (f - 52) / 5, level = (f - 52) % 5 + 1;
        cv.fill(50, 110 - 14 * level - 20, 100, 14 * level + 20, rgb555(200, 200, 215));
        cv.frame(50, 110 - 14 * level - 20, 100, 14 * level + 20, FIN_INK);
        for (int k = 0; k < level; ++k)
            for (int j = 0; j < 4; ++j)
                cv.fill(58 + 23 * j, 110 - 14 * (k + 1) - 4, 14, 8, rgb555(250, 230, 120));
        sign(kinds[kind], roofs[kind]);
    } else if (f >= 90) { // empty land or an empty facility lot, owned or not
        const bool facility = f >= 103;
        const int owner = f - (facility ? 104 : 91); // character, -1 nobody
        cv.fill(20, 104, 160, 10, rgb555(170, 130, 80));
        if (owner >= 0) {
            cv.fill(96, 40, 4, 66, FIN_INK);
            cv.fill(100, 40, 40, 26, fin_character_colour(owner));
            cv.frame(100, 40, 40, 26, FIN_INK);
        }
        sign(facility ? "设施用地" : "空地", rgb555(110, 90, 60));
    } else {
        return numbered_picture(f, 200, 150, rgb555(150, 150, 150));
    }
    return cv.img;
}

FrameImage small_piece(int n) {
    switch (n) {
    case AUCTION_FRAME_BALLOON:
        return fin_balloon(320, 140);
    case AUCTION_FRAME_ROW: {
        Canvas cv(AUCTION_ROW_W, AUCTION_ROW_H);
        fin_panel(cv, 0, 0, AUCTION_ROW_W, AUCTION_ROW_H, rgb555(90, 30, 36), GOLD);
        return cv.img;
    }
    case AUCTION_FRAME_MARKER: {
        Canvas cv(14, 24, 0, 12);
        const int tri[] = {0, 0, 13, 12, 0, 23};
        cv.polygon(tri, 3, GOLD);
        return cv.img;
    }
    case AUCTION_FRAME_GAVEL: {
        Canvas cv(60, 40);
        cv.line(8, 34, 40, 12, WOOD, 4);
        cv.fill(30, 2, 28, 16, WOOD_LIGHT);
        cv.frame(30, 2, 28, 16, FIN_INK);
        return cv.img;
    }
    case AUCTION_FRAME_PASSED: {
        Canvas cv(64, 24, 32, 12);
        cv.frame(0, 0, 64, 24, rgb555(240, 80, 60));
        cv.frame(1, 1, 62, 22, rgb555(240, 80, 60));
        cv.label("PASS", 32, 4, 16, rgb555(240, 80, 60), true);
        return cv.img;
    }
    case AUCTION_FRAME_PLATE: {
        Canvas cv(200, 48);
        fin_panel(cv, 0, 0, 200, 48, rgb555(40, 30, 20), GOLD);
        return cv.img;
    }
    default:
        return numbered_picture(n, 8, 8, rgb555(120, 120, 120));
    }
}

void build_auction_pictures(DataBuilder& b) {
    ArchiveWriter& panel = builder_archive(b, "PANEL.MKF");
    std::vector<FrameImage> frames;
    for (int n = 0; n < AUCTION_FRAME_COUNT; ++n) {
        if (n == AUCTION_FRAME_WINDOW)
            frames.push_back(hall());
        else if (n >= AUCTION_FRAME_BUTTON && n < AUCTION_FRAME_BUTTON + AUCTION_CHOICES)
            frames.push_back(button(n - AUCTION_FRAME_BUTTON, false));
        else if (n >= AUCTION_FRAME_BUTTON_LIT && n < AUCTION_FRAME_BUTTON_LIT + AUCTION_CHOICES)
            frames.push_back(button(n - AUCTION_FRAME_BUTTON_LIT, true));
        else if (n >= AUCTION_FRAME_PROPERTY_FIRST)
            frames.push_back(property(n));
        else
            frames.push_back(small_piece(n));
    }
    mkf_writer_add_frameset(panel, AUCTION_SET_ENTRY, frameset_smp(frames));
    for (int c = 0; c < 12; ++c)
        for (int k = 0; k < 3; ++k)
            mkf_writer_add_frameset(panel, 27 + 3 * c + k, frameset_smp({fin_face(c, k)}));

    ArchiveWriter& effects = builder_archive(b, "EFFECT.MKF");
    Synth gavel;
    for (int k = 0; k < 2; ++k) {
        gavel.noise(15, 0.9, 0.4, 80);
        gavel.tone(220, 160, 90, 0, 0.8, 30);
        gavel.silence(60);
    }
    mkf_writer_add(effects, 143, wave_image_u8(gavel.u8(), 22050));
    Synth bid;
    bid.tone(1320, 1320, 140, 0, 0.6, 12);
    bid.tone(1760, 1760, 160, 0, 0.5, 10);
    mkf_writer_add(effects, 144, wave_image_u8(bid.u8(), 22050));
}

} // namespace

KARVO_DATA_GENERATOR(build_auction_pictures);
