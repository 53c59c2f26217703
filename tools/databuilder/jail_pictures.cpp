// The bail screens' pictures: PANEL.MKF 63 (the jail: its hall, balloon,
// info box, bars, empty cell, the players and the four wandering characters
// behind bars, the exit sign), 64 (the four characters freed) and 65 (the
// hospital: its ward, balloon, info box, the receptionist with her blink and
// mouth frames and her goodbye, the players and the characters in bed, the
// exit sign). The characters in bed when freed are PANEL.MKF 66's frames 2-5.
#include "builder.h"
#include "canvas.h"
#include "finance_art.h"
#include "portraits.h"

#include <string>
#include <vector>

#include "board/jail_screen.h"
#include "data/characters.h"

namespace {

constexpr int SCREEN_W = 640, SCREEN_H = 480;
constexpr uint16_t INK = rgb555(20, 20, 24);
constexpr uint16_t WHITE = rgb555(250, 250, 250);
constexpr uint16_t SKIN = rgb555(250, 210, 170);
constexpr uint16_t CHOOSER_BG = rgb555(200, 220, 240); // the chooser portrait's backdrop
constexpr uint16_t IRON = rgb555(90, 96, 110);
constexpr uint16_t IRON_LIGHT = rgb555(170, 176, 190);
constexpr uint16_t CELL_DARK = rgb555(44, 40, 52);

const char* const WALKER_NAMES[4] = {"小偷", "强盗", "流氓", "间谍"};
const uint16_t WALKER_COATS[4] = {rgb555(48, 48, 48), rgb555(128, 48, 32), rgb555(64, 96, 160),
                                  rgb555(48, 80, 48)};

FrameImage placeholder() {
    Canvas cv(8, 8);
    cv.fill(0, 0, 8, 8, IRON);
    return cv.img;
}

// A picture pasted into a canvas, shrunk by `shrink`, one colour and a
// border of `edge` pixels left out.
void paste(Canvas& cv, const FrameImage& img, int x, int y, int shrink, uint16_t key,
           int edge = 0) {
    for (int sy = edge; sy + shrink <= img.height - edge; sy += shrink)
        for (int sx = edge; sx + shrink <= img.width - edge; sx += shrink) {
            const uint16_t p = img.pixels[static_cast<size_t>(sy) * img.width + sx];
            if (p != 0 && p != key) cv.put(x + sx / shrink, y + sy / shrink, p);
        }
}

// A character's head as the chooser shows it, 72 x 66 (or shrunk), without
// the chooser's backdrop and frame.
void player_head(Canvas& cv, int character, int x, int y, int shrink) {
    paste(cv, standin_chooser_portrait(character), x, y, shrink, CHOOSER_BG, 2);
}

// A wandering character's head centred on (cx, cy), radius r.
void walker_head(Canvas& cv, int w, int cx, int cy, int r) {
    cv.ellipse(cx, cy, r + 1, r + 1, INK);
    cv.ellipse(cx, cy, r, r, SKIN);
    const int ey = cy - r / 6, ex = r * 2 / 5;
    switch (w) {
    case 0: // the thief: a black mask over the eyes
        cv.ellipse(cx, cy - r + r / 4, r, r / 3, INK);
        cv.fill(cx - r, ey - r / 5, 2 * r + 1, r * 2 / 5, INK);
        cv.ellipse(cx - ex, ey, 3, 2, WHITE);
        cv.ellipse(cx + ex, ey, 3, 2, WHITE);
        break;
    case 1: // the robber: a red bandana and a stubble
        cv.ellipse(cx, cy - r + r / 4, r, r / 3, WALKER_COATS[1]);
        cv.ellipse(cx - ex, ey, 2, 3, INK);
        cv.ellipse(cx + ex, ey, 2, 3, INK);
        cv.ellipse(cx, cy + r / 2, r * 2 / 3, r / 3, rgb555(120, 110, 100));
        break;
    case 2: // the hooligan: spiky blue hair
        for (int k = -2; k <= 2; ++k) {
            const int tri[] = {cx + k * r / 3 - 5, cy - r / 2,     cx + k * r / 3 + 5,
                               cy - r / 2,         cx + k * r / 3, cy - r - 8};
            cv.polygon(tri, 3, WALKER_COATS[2]);
        }
        cv.ellipse(cx - ex, ey, 2, 3, INK);
        cv.ellipse(cx + ex, ey, 2, 3, INK);
        cv.line(cx - r / 3, cy + r / 2, cx + r / 3, cy + r / 3, INK, 2);
        break;
    default: // the spy: a hat and dark glasses
        cv.fill(cx - r - 6, cy - r / 2 - 3, 2 * r + 13, 4, INK);
        cv.fill(cx - r * 2 / 3, cy - r - 6, r * 4 / 3, r / 2 + 4, INK);
        cv.fill(cx - ex - 5, ey - 3, 11, 7, INK);
        cv.fill(cx + ex - 5, ey - 3, 11, 7, INK);
        cv.line(cx - ex + 5, ey, cx + ex - 5, ey, INK, 1);
        break;
    }
    if (w != 2) cv.line(cx - r / 3, cy + r / 2, cx + r / 3, cy + r / 2, INK, 2);
}

// A small white card with a name.
void name_card(Canvas& cv, const std::string& name, int cx, int top) {
    cv.fill(cx - 28, top, 56, 20, WHITE);
    cv.frame(cx - 28, top, 56, 20, INK);
    cv.label(name, cx, top + 2, 14, INK, true);
}

// A balloon with its tail below, pointing down from 150 pixels in.
FrameImage balloon() {
    const int w = BAIL_BALLOON_W, h = BAIL_BALLOON_H, body = h - 14;
    Canvas cv(w, h);
    cv.ellipse(w / 2, body / 2, w / 2 - 1, body / 2 - 1, INK);
    cv.ellipse(w / 2, body / 2, w / 2 - 4, body / 2 - 4, WHITE);
    const int tail[] = {136, body - 8, 162, body - 8, 150, h - 1};
    cv.polygon(tail, 3, INK);
    const int inner[] = {140, body - 10, 158, body - 10, 150, h - 5};
    cv.polygon(inner, 3, WHITE);
    return cv.img;
}

// The exit sign: a door with an arrow, and room for the points on its right.
FrameImage exit_sign(uint16_t face) {
    Canvas cv(BAIL_EXIT_W, BAIL_EXIT_H);
    cv.fill(0, 0, BAIL_EXIT_W, BAIL_EXIT_H, INK);
    cv.fill(2, 2, BAIL_EXIT_W - 4, BAIL_EXIT_H - 4, face);
    cv.fill(6, 7, 14, 26, WHITE); // the door
    cv.fill(8, 9, 10, 22, face);
    cv.line(12, 20, 22, 20, WHITE, 2); // the way out
    cv.line(19, 16, 23, 20, WHITE, 2);
    cv.line(19, 24, 23, 20, WHITE, 2);
    cv.fill(27, 8, 56, 24, rgb555(20, 40, 30)); // where the points go
    return cv.img;
}

// ---------------------------------------------------------------------------
// The jail

void cell_inside(Canvas& cv) {
    cv.fill(0, 0, JAIL_CELL_W, JAIL_CELL_H, CELL_DARK);
    cv.fill(0, JAIL_CELL_H - 24, JAIL_CELL_W, 24, rgb555(70, 64, 72)); // the floor
    cv.frame(0, 0, JAIL_CELL_W, JAIL_CELL_H, INK);
}

FrameImage bars() {
    Canvas cv(JAIL_CELL_W, JAIL_CELL_H);
    cv.fill(0, 0, JAIL_CELL_W, 8, IRON);
    cv.fill(0, JAIL_CELL_H - 8, JAIL_CELL_W, 8, IRON);
    for (int x = 8; x < JAIL_CELL_W; x += 22) {
        cv.fill(x, 8, 5, JAIL_CELL_H - 16, IRON);
        cv.fill(x + 1, 8, 1, JAIL_CELL_H - 16, IRON_LIGHT);
    }
    cv.frame(0, 0, JAIL_CELL_W, JAIL_CELL_H, INK);
    return cv.img;
}

FrameImage empty_cell() {
    Canvas cv(JAIL_CELL_W, JAIL_CELL_H);
    cell_inside(cv);
    cv.fill(14, 88, 60, 10, rgb555(110, 80, 50)); // a bench
    cv.fill(18, 98, 5, 14, rgb555(80, 60, 40));
    cv.fill(66, 98, 5, 14, rgb555(80, 60, 40));
    const FrameImage b = bars();
    paste(cv, b, 0, 0, 1, 0);
    return cv.img;
}

// A prisoner's striped body below a head, in the cell.
void prisoner_body(Canvas& cv, uint16_t stripe) {
    cv.ellipse(70, 130, 40, 48, INK);
    cv.ellipse(70, 130, 38, 46, WHITE);
    for (int y = 88; y < JAIL_CELL_H; y += 10)
        for (int x = 30; x < 110; ++x)
            for (int k = 0; k < 4; ++k)
                if (cv.inside(x, y + k) && cv.at(x, y + k) == WHITE) cv.at(x, y + k) = stripe;
}

FrameImage jailed_player(int character) {
    Canvas cv(JAIL_CELL_W, JAIL_CELL_H);
    cell_inside(cv);
    prisoner_body(cv, rgb555(60, 60, 70));
    player_head(cv, character, 34, 12, 1);
    name_card(cv, fin_character_name(character), 70, 100);
    return cv.img;
}

FrameImage jailed_walker(int w) {
    Canvas cv(JAIL_CELL_W, JAIL_CELL_H);
    cell_inside(cv);
    prisoner_body(cv, WALKER_COATS[w]);
    walker_head(cv, w, 70, 52, 28);
    name_card(cv, WALKER_NAMES[w], 70, 100);
    return cv.img;
}

FrameImage jail_info_box() {
    Canvas cv(JAIL_INFO_W, JAIL_INFO_H);
    const uint16_t paper = rgb555(250, 240, 200);
    const int tab[] = {0, 20, 14, 12, 14, 28};
    cv.polygon(tab, 3, INK); // a pointer to the cell above on the left
    cv.fill(14, 0, JAIL_INFO_W - 14, JAIL_INFO_H, INK);
    cv.fill(16, 2, JAIL_INFO_W - 18, JAIL_INFO_H - 4, paper);
    cv.fill(20, 37, JAIL_INFO_W - 26, 1, rgb555(200, 170, 110));
    return cv.img;
}

FrameImage jail_background() {
    Canvas cv(SCREEN_W, SCREEN_H);
    // A wall of grey stone blocks.
    cv.fill(0, 0, SCREEN_W, SCREEN_H, rgb555(96, 92, 100));
    for (int y = 0; y < 330; y += 20)
        for (int x = (y / 20) % 2 * 20 - 20; x < SCREEN_W; x += 40)
            cv.frame(x, y, 40, 20, rgb555(76, 72, 80));
    // The floor in front of the cells.
    cv.fill(0, 330, SCREEN_W, 150, rgb555(120, 100, 80));
    cv.fill(0, 330, SCREEN_W, 3, INK);
    for (int p = 0; p < 8; ++p) // the cells' recesses
        cv.fill(JAIL_CELL_X[p] - 3, JAIL_CELL_Y[p] - 3, JAIL_CELL_W + 6, JAIL_CELL_H + 6, INK);
    // The sign and what to do.
    cv.fill(20, 350, 150, 44, rgb555(30, 50, 110));
    cv.frame(20, 350, 150, 44, WHITE);
    cv.label("监  狱", 95, 360, 24, WHITE, true);
    cv.label("点选要保释的人", 95, 404, 16, WHITE, true);
    cv.label("右键离开", JAIL_EXIT_X + BAIL_EXIT_W / 2, JAIL_EXIT_Y - 22, 16, WHITE, true);
    return cv.img;
}

// A freed character standing, arms up, hot spot at its feet.
FrameImage freed_walker(int w) {
    constexpr int W = 80, H = 110;
    Canvas cv(W, H, W / 2, H);
    const uint16_t coat = WALKER_COATS[w];
    cv.line(24, 58, 8, 30, coat, 7); // arms up
    cv.line(56, 58, 72, 30, coat, 7);
    cv.ellipse(8, 28, 5, 5, SKIN);
    cv.ellipse(72, 28, 5, 5, SKIN);
    cv.fill(24, 50, 32, 36, coat); // the body
    cv.fill(26, 86, 11, 24, INK);  // the legs
    cv.fill(43, 86, 11, 24, INK);
    walker_head(cv, w, 40, 30, 18);
    return cv.img;
}

// ---------------------------------------------------------------------------
// The hospital

void bed(Canvas& cv, int ox, int oy) {
    const int w = HOSPITAL_CELL_W, h = HOSPITAL_CELL_H;
    cv.fill(ox, oy, w, h, rgb555(220, 232, 236)); // the bed's corner of the ward
    cv.frame(ox, oy, w, h, rgb555(150, 170, 180));
    cv.fill(ox + 8, oy + 30, w - 16, h - 44, INK); // the bed
    cv.fill(ox + 10, oy + 32, w - 20, h - 48, WHITE);
    cv.fill(ox + 12, oy + 36, 36, 26, rgb555(230, 230, 244)); // the pillow
    cv.frame(ox + 12, oy + 36, 36, 26, rgb555(170, 170, 190));
    cv.fill(ox + 8, oy + h - 14, 6, 12, IRON); // legs
    cv.fill(ox + w - 14, oy + h - 14, 6, 12, IRON);
    cv.fill(ox + w - 12, oy + 24, 4, h - 36, IRON); // the foot board
}

void blanket(Canvas& cv, uint16_t colour) {
    cv.fill(46, 40, HOSPITAL_CELL_W - 58, 34, colour);
    cv.frame(46, 40, HOSPITAL_CELL_W - 58, 34, INK);
}

FrameImage bedded_player(int character) {
    Canvas cv(HOSPITAL_CELL_W, HOSPITAL_CELL_H);
    bed(cv, 0, 0);
    blanket(cv, fin_character_colour(character));
    player_head(cv, character, 12, 28, 2);
    name_card(cv, fin_character_name(character), 92, 4);
    return cv.img;
}

FrameImage bedded_walker(int w) {
    Canvas cv(HOSPITAL_CELL_W, HOSPITAL_CELL_H);
    bed(cv, 0, 0);
    blanket(cv, WALKER_COATS[w]);
    walker_head(cv, w, 30, 46, 14);
    name_card(cv, WALKER_NAMES[w], 92, 4);
    return cv.img;
}

FrameImage hospital_info_box() {
    Canvas cv(HOSPITAL_INFO_W, HOSPITAL_INFO_H);
    cv.fill(0, 0, HOSPITAL_INFO_W, HOSPITAL_INFO_H, INK);
    cv.fill(2, 2, HOSPITAL_INFO_W - 4, HOSPITAL_INFO_H - 4, rgb555(236, 248, 250));
    cv.fill(6, 37, HOSPITAL_INFO_W - 12, 1, rgb555(120, 180, 200));
    cv.fill(HOSPITAL_INFO_W - 14, 4, 10, 3, rgb555(220, 40, 40)); // a small red cross
    cv.fill(HOSPITAL_INFO_W - 10, 1, 3, 10, rgb555(220, 40, 40));
    return cv.img;
}

constexpr uint16_t NURSE = rgb555(250, 180, 200);
constexpr uint16_t HAIR = rgb555(60, 40, 30);

// The receptionist's face without eyes and mouth, centred on (cx, cy).
void nurse_face(Canvas& cv, int cx, int cy) {
    cv.ellipse(cx, cy - 6, 33, 30, HAIR); // behind her face: only its top and sides show
    cv.ellipse(cx, cy, 29, 31, INK);
    cv.ellipse(cx, cy, 28, 30, SKIN);
    cv.ellipse(cx, cy - 24, 28, 10, HAIR);    // the fringe
    cv.fill(cx - 20, cy - 46, 40, 14, WHITE); // the cap with its cross
    cv.frame(cx - 20, cy - 46, 40, 14, INK);
    cv.fill(cx - 2, cy - 44, 4, 10, rgb555(220, 40, 40));
    cv.fill(cx - 5, cy - 41, 10, 4, rgb555(220, 40, 40));
}

// Eyes and mouth drawn at the places the screen animates.
void nurse_eyes(Canvas& cv, int ox, int oy, int shut) {
    const PlatRect& e = HOSPITAL_EYES;
    const int cy = oy + (e.top + e.bottom) / 2;
    for (int side = 0; side < 2; ++side) {
        const int cx = ox + e.left + 14 + side * 32;
        if (shut == 0) {
            cv.ellipse(cx, cy, 4, 6, INK);
            cv.put(cx - 1, cy - 3, WHITE);
        } else if (shut == 1) {
            cv.ellipse(cx, cy + 2, 4, 3, INK);
            cv.fill(cx - 5, cy - 4, 11, 4, SKIN);
            cv.fill(cx - 5, cy - 1, 11, 1, INK);
        } else {
            cv.fill(cx - 5, cy, 11, 2, INK);
        }
    }
}

void nurse_mouth(Canvas& cv, int ox, int oy, int open) {
    const PlatRect& m = HOSPITAL_MOUTH;
    const int cx = ox + (m.left + m.right) / 2, cy = oy + (m.top + m.bottom) / 2;
    if (open == 0) {
        cv.line(cx - 7, cy, cx + 7, cy, rgb555(200, 60, 70), 2);
    } else {
        cv.ellipse(cx, cy, 5 + 2 * open, 2 + 2 * open, INK);
        cv.ellipse(cx, cy, 4 + 2 * open, 1 + 2 * open, rgb555(200, 60, 70));
    }
}

FrameImage receptionist() {
    Canvas cv(HOSPITAL_CLERK_W, HOSPITAL_CLERK_H);
    cv.ellipse(60, 190, 56, 80, INK); // her uniform
    cv.ellipse(60, 190, 54, 78, NURSE);
    cv.fill(52, 90, 16, 24, SKIN);  // the neck
    cv.fill(40, 118, 40, 6, WHITE); // the collar
    nurse_face(cv, 60, 60);
    nurse_eyes(cv, 0, 0, 0);
    nurse_mouth(cv, 0, 0, 0);
    return cv.img;
}

// A patch of her face: the eyes shut `shut` (1 half, 2 fully) or the mouth
// open `open`, opaque over the place.
FrameImage eyes_patch(int shut) {
    const PlatRect& e = HOSPITAL_EYES;
    const FrameImage whole = receptionist();
    Canvas cv(e.right - e.left, e.bottom - e.top);
    for (int y = 0; y < cv.img.height; ++y)
        for (int x = 0; x < cv.img.width; ++x)
            cv.at(x, y) = whole.pixels[static_cast<size_t>(e.top + y) * whole.width + e.left + x];
    // Skin over the open eyes (their dark and light pixels), then the lids.
    for (int y = 0; y < cv.img.height; ++y)
        for (int x = 0; x < cv.img.width; ++x)
            if (cv.at(x, y) == INK || cv.at(x, y) == WHITE) cv.at(x, y) = SKIN;
    nurse_eyes(cv, -e.left, -e.top, shut);
    return cv.img;
}

FrameImage mouth_patch(int open) {
    const PlatRect& m = HOSPITAL_MOUTH;
    Canvas cv(m.right - m.left, m.bottom - m.top);
    cv.fill(0, 0, cv.img.width, cv.img.height, SKIN);
    nurse_mouth(cv, -m.left, -m.top, open);
    return cv.img;
}

FrameImage goodbye() {
    Canvas cv(HOSPITAL_GOODBYE_W, HOSPITAL_GOODBYE_H);
    const int cx = 73, cy = 62; // her face, tilted a little by the bow
    cv.ellipse(cx, 188, 56, 80, INK);
    cv.ellipse(cx, 188, 54, 78, NURSE);
    cv.line(cx + 40, 140, cx + 62, 70, NURSE, 10); // the waving arm
    cv.ellipse(cx + 63, 64, 8, 8, SKIN);
    cv.fill(cx - 8, 92, 16, 22, SKIN);
    cv.fill(cx - 20, 116, 40, 6, WHITE);
    nurse_face(cv, cx, cy);
    for (int side = -1; side <= 1; side += 2) { // smiling, eyes closed
        cv.line(cx + side * 16 - 5, cy - 6, cx + side * 16, cy - 10, INK, 2);
        cv.line(cx + side * 16, cy - 10, cx + side * 16 + 5, cy - 6, INK, 2);
    }
    cv.ellipse(cx, cy + 16, 8, 5, INK);
    cv.ellipse(cx, cy + 15, 7, 3, rgb555(200, 60, 70));
    return cv.img;
}

FrameImage hospital_background() {
    Canvas cv(SCREEN_W, SCREEN_H);
    cv.fill(0, 0, SCREEN_W, SCREEN_H, rgb555(200, 226, 232)); // the wall
    cv.fill(0, 330, 290, 150, rgb555(170, 190, 196));         // the hall's floor
    cv.fill(286, 0, 4, SCREEN_H, rgb555(150, 170, 180));      // the ward's partition
    for (int p = 0; p < 8; ++p)
        bed(cv, HOSPITAL_CELL_X[p], HOSPITAL_CELL_Y[p]);
    // The reception desk in front of the receptionist.
    cv.fill(60, HOSPITAL_CLERK_Y + HOSPITAL_CLERK_H, 220, 70, INK);
    cv.fill(62, HOSPITAL_CLERK_Y + HOSPITAL_CLERK_H + 2, 216, 66, rgb555(190, 150, 100));
    cv.label("出院服务台", 170, HOSPITAL_CLERK_Y + HOSPITAL_CLERK_H + 22, 20, WHITE, true);
    // The sign and what to do.
    cv.fill(14, 130, 76, 34, rgb555(220, 40, 40));
    cv.label("医院", 52, 136, 20, WHITE, true);
    cv.label("点选要出院的人", 170, 400, 16, INK, true);
    cv.label("右键离开", HOSPITAL_EXIT_X + BAIL_EXIT_W / 2, HOSPITAL_EXIT_Y - 22, 16, INK, true);
    return cv.img;
}

void build_jail_pictures(DataBuilder& b) {
    ArchiveWriter& panel = builder_archive(b, "PANEL.MKF");
    std::vector<FrameImage> jail{jail_background(), balloon(), jail_info_box(), bars(),
                                 empty_cell()};
    for (int c = 0; c < CHARACTER_COUNT; ++c)
        jail.push_back(jailed_player(c)); // 5-16
    for (int w = 0; w < 4; ++w)
        jail.push_back(jailed_walker(w)); // 17-20
    jail.push_back(exit_sign(rgb555(30, 120, 60)));
    mkf_writer_add_frameset(panel, JAIL_PICTURES, frameset_smp(jail));

    std::vector<FrameImage> freed;
    for (int w = 0; w < 4; ++w)
        freed.push_back(freed_walker(w));
    mkf_writer_add_frameset(panel, JAIL_FREED, frameset_smp(freed));

    std::vector<FrameImage> hosp{
        hospital_background(), balloon(),      placeholder(), hospital_info_box(), receptionist(),
        eyes_patch(1),         eyes_patch(2),  eyes_patch(1), placeholder(),       goodbye(),
        mouth_patch(1),        mouth_patch(2), placeholder(), placeholder()};
    for (int c = 0; c < CHARACTER_COUNT; ++c)
        hosp.push_back(bedded_player(c)); // 14-25
    for (int w = 0; w < 4; ++w)
        hosp.push_back(bedded_walker(w)); // 26-29
    hosp.push_back(exit_sign(rgb555(30, 120, 60)));
    mkf_writer_add_frameset(panel, HOSPITAL_PICTURES, frameset_smp(hosp));
}

} // namespace

KARVO_DATA_GENERATOR(build_jail_pictures);
