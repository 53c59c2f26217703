// PANEL.MKF: the board screen's pictures. The side panel's four tab pages,
// header and wandering character's page; the toolbar with eleven buttons
// and their lit twins; the calendar's day pages and month grids by season;
// the dice; the control box with its dice buttons and its raw hit mask.
#include "board/board_panel_sets.h"
#include "board/toolbar.h"
#include "board_paint.h"
#include "builder.h"

namespace {

uint16_t c(uint32_t rgb) {
    return rgb555_of(rgb);
}

FrameSetBytes side_panel() {
    std::vector<FrameImage> frames;
    const uint32_t tints[6] = {0xE8D8B0, 0xD0E0C0, 0xC8D8E8, 0xE0C8D8, 0xE0E0E0, 0xD8C8B8};
    for (int f = 0; f < 6; ++f) {
        const bool header = f == PANEL_HEADER_FRAME;
        Canvas16 p(200, header ? 80 : 280, c(tints[f]));
        p.frame(0, 0, p.w, p.h, c(0x604830));
        if (!header) {
            // The tab column: the selected tab (this page) lit.
            for (int t = 0; t < 4; ++t) {
                const bool on = t == f;
                p.rect(176, 4 + 70 * t, 198, 68 + 70 * t, c(on ? tints[f] : 0xA09078));
                p.frame(176, 4 + 70 * t, 198, 68 + 70 * t, c(0x604830));
            }
            for (int row = 0; row < 3; ++row)
                p.rect(8, 96 + 64 * row, 168, 98 + 64 * row, c(0x907860));
        }
        // The portrait's frame: two pixels round the 36 x 36 portrait the
        // screen draws at (42, 40) of the panel, clear of the colour bar
        // (from x 82) and of the first label (from y 80).
        p.rect(40, 38, 80, 78, c(0x806850));
        frames.push_back(frame_of(p, 0, 0));
    }
    return frameset_smp(frames);
}

// Eleven distinct icons: help, system, hand over, load, save, map, query,
// items, cards, trade, stocks.
void icon(Canvas16& b, int i, uint16_t ink) {
    switch (i) {
    case 0:
        b.disc(17, 12, 7, 7, ink), b.rect(15, 24, 20, 29, ink);
        break; // ?
    case 1:
        b.disc(17, 17, 11, 11, ink), b.disc(17, 17, 5, 5, 0);
        break; // gear
    case 2:
        b.rect(6, 12, 28, 22, ink), b.rect(22, 6, 26, 28, ink);
        break; // hand over
    case 3:
        b.rect(8, 6, 26, 28, ink), b.line(17, 10, 17, 22, 1, 0);
        break; // load
    case 4:
        b.rect(7, 7, 27, 27, ink), b.rect(11, 7, 23, 14, 0);
        break; // floppy
    case 5:
        b.diamond(17, 17, 13, 9, ink), b.diamond(17, 17, 6, 4, 0);
        break; // map
    case 6:
        b.disc(14, 14, 8, 8, ink), b.line(19, 19, 28, 28, 1, ink);
        break; // magnifier
    case 7:
        b.rect(8, 12, 26, 28, ink), b.rect(13, 6, 21, 12, ink);
        break; // bag
    case 8:
        b.rect(10, 5, 24, 29, ink), b.rect(13, 8, 21, 26, 0);
        break; // card
    case 9:
        b.line(6, 12, 28, 12, 2, ink), b.line(6, 22, 28, 22, 2, ink);
        break; // trade
    default:
        b.line(5, 26, 13, 16, 1, ink), b.line(13, 16, 20, 21, 1, ink),
            b.line(20, 21, 29, 8, 1, ink);
        break;
    }
}

FrameSetBytes toolbar() {
    std::vector<FrameImage> frames;
    Canvas16 bg(440, 40, c(0x404858));
    bg.rect(0, 36, 440, 40, c(0x202830));
    frames.push_back(frame_of(bg, 0, 0));
    for (int lit = 0; lit < 2; ++lit)
        for (int i = 0; i < TOOLBAR_COMMAND_COUNT; ++i) {
            Canvas16 b(34, 34, c(lit ? 0xF0D060 : 0xB0B8C8));
            b.frame(0, 0, 34, 34, c(0x202020));
            icon(b, i, c(lit ? 0x802000 : 0x203060));
            frames.push_back(frame_of(b, 17, 17));
        }
    return frameset_smp(frames);
}

FrameSetBytes calendar() {
    const uint32_t season[4] = {0xD0F0C0, 0xF0E0A0, 0xF0C8A0, 0xD8E0F0};
    std::vector<FrameImage> frames;
    for (int grid = 0; grid < 2; ++grid)
        for (int s = 0; s < 4; ++s) {
            Canvas16 p(200, 200, c(season[s]));
            p.frame(0, 0, 200, 200, c(0x604830));
            calendar_page_buttons(p);
            if (grid)
                for (int r = 0; r < 7; ++r)
                    p.rect(18, 90 + 14 * r, 182, 91 + 14 * r, c(0xA0A0A0));
            frames.push_back(frame_of(p, 0, 0));
        }
    return frameset_smp(frames);
}

FrameSetBytes dice() {
    static const int PIPS[6][6][2] = {{{0, 0}},
                                      {{-1, -1}, {1, 1}},
                                      {{-1, -1}, {0, 0}, {1, 1}},
                                      {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}},
                                      {{-1, -1}, {1, -1}, {0, 0}, {-1, 1}, {1, 1}},
                                      {{-1, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {1, 1}}};
    std::vector<FrameImage> frames;
    for (int die = 0; die < 3; ++die)
        for (int v = 1; v <= 6; ++v) {
            Canvas16 d(32, 32, c(0xF8F8F0));
            d.frame(0, 0, 32, 32, c(0x303030));
            for (int k = 0; k < v; ++k)
                d.disc(16 + PIPS[v - 1][k][0] * 8, 16 + PIPS[v - 1][k][1] * 8, 3, 3,
                       c(v == 1 ? 0xD02020 : 0x202020));
            frames.push_back(frame_of(d, 16, 16));
        }
    return frameset_smp(frames);
}

// The box: a title bar, the dice column on the left, the go button.
Canvas16 box(int look) {
    const uint32_t body[3] = {0xC8C0A8, 0xB0D0E8, 0xD0E8B0}; // normal, stay, turtle
    Canvas16 b(BOX_W, BOX_H, c(body[look / 2]));
    b.frame(0, 0, BOX_W, BOX_H, c(0x303030));
    b.rect(1, 1, BOX_W - 1, BOX_TITLE_H, c(0x405080));
    const bool blink = look % 2;
    b.disc(BOX_GO_CX, BOX_GO_CY, 22, 22, c(blink ? 0xF04040 : 0xC02020));
    b.disc(BOX_GO_CX, BOX_GO_CY, 12, 12, c(0xF8F0E0));
    return b;
}

FrameSetBytes control_box() {
    std::vector<FrameImage> frames;
    for (int look = 0; look < 6; ++look)
        frames.push_back(frame_of(box(look), 0, 0));
    // Dice buttons: even frames unlit, odd frames lit.
    for (int i = 0; i < 6; ++i) {
        Canvas16 d(22, 14, c(i % 2 ? 0xF8F8F0 : 0x909090));
        d.frame(0, 0, 22, 14, c(0x303030));
        for (int k = 0; k <= i / 2; ++k)
            d.disc(5 + 6 * k, 7, 2, 2, c(0x202020));
        frames.push_back(frame_of(d, 0, 0));
    }
    return frameset_smp(frames);
}

Bytes box_mask() {
    Bytes m(BOX_W * BOX_H, 0);
    for (int y = 0; y < BOX_H; ++y)
        for (int x = 0; x < BOX_W; ++x) {
            uint8_t v = 0;
            if (y < BOX_TITLE_H)
                v = MASK_TITLE;
            else if (x >= 4 && x < 4 + BOX_DICE_W + 6)
                v = MASK_DICE;
            else if (x >= BOX_GO_X)
                v = MASK_GO;
            m[static_cast<size_t>(y) * BOX_W + x] = v;
        }
    return m;
}

void build_board_panels(DataBuilder& b) {
    ArchiveWriter& a = builder_archive(b, "PANEL.MKF");
    mkf_writer_add_frameset(a, PANEL_SIDE, side_panel());
    mkf_writer_add_frameset(a, PANEL_TOOLBAR, toolbar());
    mkf_writer_add_frameset(a, PANEL_CALENDAR, calendar());
    mkf_writer_add_frameset(a, PANEL_DICE, dice());
    for (int e = 4; e <= 6; ++e) {
        Canvas16 p(8, 8, c(0x808080));
        mkf_writer_add_frameset(a, e, frameset_smp({frame_of(p, 0, 0)}));
    }
    mkf_writer_add_frameset(a, PANEL_BOX, control_box());
    mkf_writer_add(a, PANEL_BOX_MASK, box_mask());
}

} // namespace

KARVO_DATA_GENERATOR(build_board_panels);
