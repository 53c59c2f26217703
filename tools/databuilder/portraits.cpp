#include "portraits.h"

#include "builder.h"
#include "canvas.h"
#include "data/characters.h"

namespace {

const uint16_t kInk = rgb555(24, 16, 16);

uint16_t colour_of(uint32_t rgb) {
    return rgb555((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF) | 0x0421; // never 0
}

// A head of size s in cv at (ox, oy): skin, hair in the character's colour
// (its style by the character number), eyes and mouth by expression
// (-1 the portrait's calm look, 0 pleased, 1 cross, 2 dismayed, 3 delighted).
void draw_head(Canvas& cv, int ox, int oy, int s, int character, int expression) {
    const CharacterTemplate& t = character_table[character];
    const uint16_t hair = colour_of(t.colour);
    const uint16_t skin = rgb555(250, 214, 170);
    const int cx = ox + s / 2, cy = oy + s / 2 + s / 16;
    const int r = s * 7 / 16;
    const int style = character % 4;
    if (style == 1 || t.sex == 0) cv.ellipse(cx, cy + r / 3, r + 2, r, hair); // long hair
    cv.ellipse(cx, cy, r, r, kInk);
    cv.ellipse(cx, cy, r - 1, r - 1, skin);
    // Hair on top: a cap, a fringe, spikes or a bun.
    cv.fill(cx - r, cy - r, 2 * r + 1, r / 2, 0);
    cv.ellipse(cx, cy - r / 2, r, r / 2, hair);
    if (style == 2)
        for (int k = -2; k <= 2; ++k) {
            const int tri[] = {cx + k * r / 3 - 3, cy - r / 2,     cx + k * r / 3 + 3,
                               cy - r / 2,         cx + k * r / 3, cy - r - 3};
            cv.polygon(tri, 3, hair);
        }
    if (style == 3) cv.ellipse(cx, cy - r - 1, r / 3, r / 4, hair);
    // Eyes and brows.
    const int ey = cy + r / 8, ex = r * 2 / 5;
    for (int side = -1; side <= 1; side += 2) {
        const int x = cx + side * ex;
        if (expression == 3) {
            cv.line(x - 3, ey, x, ey - 3, kInk, 2); // closed, laughing
            cv.line(x, ey - 3, x + 3, ey, kInk, 2);
        } else {
            cv.ellipse(x, ey, 2, 3, kInk);
        }
        if (expression == 1)
            cv.line(x - side * 5, ey - 8, x + side * 3, ey - 5, kInk, 2); // frowning
        else if (expression == 2)
            cv.line(x - side * 5, ey - 5, x + side * 3, ey - 8, kInk, 2); // worried
    }
    // Mouth.
    const int my = cy + r / 2, mw = r / 2;
    switch (expression) {
    case 0:
        cv.line(cx - mw, my - 2, cx, my + 2, kInk, 2);
        cv.line(cx, my + 2, cx + mw, my - 2, kInk, 2);
        break;
    case 1:
        cv.line(cx - mw, my, cx + mw, my, kInk, 2);
        break;
    case 2:
        cv.line(cx - mw, my + 2, cx, my - 2, kInk, 2);
        cv.line(cx, my - 2, cx + mw, my + 2, kInk, 2);
        cv.ellipse(cx + r - 3, cy - 2, 2, 4, rgb555(120, 180, 250)); // a drop of sweat
        break;
    case 3:
        cv.ellipse(cx, my, mw, mw / 2 + 2, kInk);
        cv.ellipse(cx, my - 1, mw - 2, mw / 2, rgb555(220, 70, 70));
        break;
    default:
        cv.line(cx - mw / 2, my, cx + mw / 2, my, kInk, 2);
        break;
    }
}

} // namespace

void standin_draw_head(Canvas& cv, int ox, int oy, int s, int character, int expression) {
    draw_head(cv, ox, oy, s, character, expression);
}

FrameSetBytes standin_portrait_set(int character) {
    std::vector<FrameImage> frames;
    Canvas portrait(PORTRAIT_SIZE, PORTRAIT_SIZE, 0, 0);
    portrait.fill(0, 0, PORTRAIT_SIZE, PORTRAIT_SIZE, rgb555(200, 220, 240));
    portrait.frame(0, 0, PORTRAIT_SIZE, PORTRAIT_SIZE, kInk);
    draw_head(portrait, 2, 2, PORTRAIT_SIZE - 4, character, -1);
    frames.push_back(portrait.img);
    for (int e = 0; e < 4; ++e) {
        Canvas face(FACE_SIZE, FACE_SIZE, FACE_SIZE / 2, FACE_SIZE / 2);
        draw_head(face, 0, 0, FACE_SIZE, character, e);
        frames.push_back(face.img);
    }
    // Frame 5: the small token that marks the player on the minimap.
    Canvas token(TOKEN_SIZE, TOKEN_SIZE, TOKEN_SIZE / 2, TOKEN_SIZE / 2);
    token.ellipse(TOKEN_SIZE / 2, TOKEN_SIZE / 2, TOKEN_SIZE / 2 - 1, TOKEN_SIZE / 2 - 1, kInk);
    token.ellipse(TOKEN_SIZE / 2, TOKEN_SIZE / 2, TOKEN_SIZE / 2 - 2, TOKEN_SIZE / 2 - 2,
                  colour_of(character_table[character].colour));
    frames.push_back(token.img);
    return frameset_smp(frames);
}

void standin_add_portraits(ArchiveWriter& map_mkf) {
    for (int c = 0; c < CHARACTER_COUNT; ++c)
        mkf_writer_add_frameset(map_mkf, PORTRAIT_FIRST_ENTRY + c, standin_portrait_set(c));
}

static void build_portraits(DataBuilder& b) {
    standin_add_portraits(builder_archive(b, "MAP.MKF"));
}
KARVO_DATA_GENERATOR(build_portraits);

FrameImage standin_chooser_portrait(int character) {
    Canvas cv(72, 66, 0, 0);
    cv.fill(0, 0, 72, 66, rgb555(200, 220, 240));
    cv.frame(0, 0, 72, 66, kInk);
    draw_head(cv, 5, 2, 62, character, -1);
    // The head leaves see-through pixels above the hair; the picture is copied whole.
    for (uint16_t& p : cv.img.pixels)
        if (p == 0) p = rgb555(200, 220, 240);
    return cv.img;
}
