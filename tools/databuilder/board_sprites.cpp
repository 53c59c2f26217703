// data.mkf: the movers' sprite sets (entries 87-354, 480, 481), the god
// sprites (355-374) and the holiday pictures of the calendar (4-86).
//
// Every mover set holds 8 directions of count / 8 frames (the counts of the
// animation table), frame = direction x per-direction + step. Characters are
// told apart by their colour and figure (build, hat); vehicles, the indoor,
// sleepwalking, out-of-game, hospital and jail looks by their shapes.
#include "board/view_sets.h"
#include "board_paint.h"
#include "builder.h"
#include "data/anim_frames.h"
#include "data/characters.h"

namespace {

enum : uint8_t {
    P_OWN = 1, // the character's colour
    P_SKIN = 2,
    P_DARK = 3,
    P_WHITE = 4,
    P_GREY = 5,
    P_BODY = 6, // vehicle body
    P_WHEEL = 7,
    P_YELLOW = 8,
    P_PALE = 9,
    P_RED = 10,
    P_GOLD = 11,
    P_BROWN = 12,
    P_BLUE = 13,
    P_GREEN = 14,
    P_PURPLE = 15,
};

std::vector<uint16_t> mover_palette(uint32_t own) {
    std::vector<uint16_t> p(256, 0);
    p[P_OWN] = rgb555_of(own);
    p[P_SKIN] = rgb555_of(0xF0C8A0);
    p[P_DARK] = rgb555_of(0x282020);
    p[P_WHITE] = rgb555_of(0xF8F8F8);
    p[P_GREY] = rgb555_of(0x909090);
    p[P_BODY] = rgb555_of(own);
    p[P_WHEEL] = rgb555_of(0x181818);
    p[P_YELLOW] = rgb555_of(0xF0C020);
    p[P_PALE] = rgb555_of(0xC8D8F0);
    p[P_RED] = rgb555_of(0xD02020);
    p[P_GOLD] = rgb555_of(0xE8C040);
    p[P_BROWN] = rgb555_of(0x805030);
    p[P_BLUE] = rgb555_of(0x4070E0);
    p[P_GREEN] = rgb555_of(0x40A040);
    p[P_PURPLE] = rgb555_of(0x8040A0);
    return p;
}

constexpr int SW = 40, SH = 56, SX = 20, SY = 52;

struct Figure {
    int width = 8;   // shoulders
    int height = 16; // body
    int hat = 0;     // 0 none, 1 cap, 2 tall hat, 3 bow, 4 mask, 5 horns
    uint8_t body = P_OWN;
    uint8_t head = P_SKIN;
};

Figure figure_of_character(int c) {
    Figure f;
    f.width = 7 + c % 3 * 2;
    f.height = 14 + (c * 5) % 7;
    f.hat = c % 4;
    return f;
}

// A standing or walking figure; step moves the legs, dir shows the face.
void figure(Canvas8& c, const Figure& f, int dir, int step, int lift_arm = -1, int base_y = SY) {
    const int swing = (step % 4 == 1) ? 2 : (step % 4 == 3 ? -2 : 0);
    const int top = base_y - 6 - f.height;
    // Legs.
    c.rect(SX - 3 + swing, base_y - 7, SX - 1 + swing, base_y, P_DARK);
    c.rect(SX + 1 - swing, base_y - 7, SX + 3 - swing, base_y, P_DARK);
    // Body and arms.
    c.rect(SX - f.width / 2, top, SX + f.width / 2 + 1, base_y - 6, f.body);
    c.frame(SX - f.width / 2, top, SX + f.width / 2 + 1, base_y - 6, P_DARK);
    c.rect(SX - f.width / 2 - 2, top + 2, SX - f.width / 2, top + 10 - swing, f.body);
    if (lift_arm >= 0)
        c.rect(SX + f.width / 2 + 1, top - lift_arm, SX + f.width / 2 + 3, top + 6, f.body);
    else
        c.rect(SX + f.width / 2 + 1, top + 2, SX + f.width / 2 + 3, top + 10 + swing, f.body);
    // Head, the face toward the direction.
    const int hy = top - 5;
    c.disc(SX, hy, 5, 5, f.head);
    if (FACING_DY[dir] >= 0) {
        c.set(SX - 2 + FACING_DX[dir] * 2, hy, P_DARK);
        c.set(SX + 2 + FACING_DX[dir] * 2, hy, P_DARK);
    } else {
        c.rect(SX - 4, hy - 4, SX + 5, hy + 2, P_DARK); // the back of the head
    }
    switch (f.hat) {
    case 1:
        c.rect(SX - 5, hy - 6, SX + 6, hy - 3, P_OWN),
            c.rect(SX + FACING_DX[dir] * 4 - 3, hy - 4, SX + FACING_DX[dir] * 4 + 4, hy - 2,
                   P_DARK);
        break;
    case 2:
        c.rect(SX - 4, hy - 12, SX + 5, hy - 4, P_DARK),
            c.rect(SX - 6, hy - 5, SX + 7, hy - 3, P_DARK);
        break;
    case 3:
        c.disc(SX + 4, hy - 5, 3, 2, P_RED);
        break;
    case 4:
        c.rect(SX - 5, hy - 2, SX + 6, hy + 1, P_DARK);
        break;
    case 5:
        c.rect(SX - 5, hy - 9, SX - 3, hy - 4, P_RED),
            c.rect(SX + 3, hy - 9, SX + 5, hy - 4, P_RED);
        break;
    default:
        break;
    }
}

void wheels(Canvas8& c, int x0, int x1, int y) {
    c.disc(x0, y, 4, 4, P_WHEEL);
    c.disc(x1, y, 4, 4, P_WHEEL);
    c.disc(x0, y, 1, 1, P_GREY);
    c.disc(x1, y, 1, 1, P_GREY);
}

// A vehicle under the figure; the nose points toward the direction.
void vehicle(Canvas8& c, const Figure& f, int mode, int dir, int step) {
    const int sx = FACING_DX[dir];
    if (mode == TRAVEL_MOTORBIKE) {
        wheels(c, SX - 10, SX + 10, SY - 4);
        c.rect(SX - 9, SY - 12, SX + 10, SY - 7, P_RED);
        c.rect(SX + 8 * (sx ? sx : 1), SY - 18, SX + 8 * (sx ? sx : 1) + 2, SY - 10,
               P_DARK); // handlebar
        Figure rider = f;
        rider.height = f.height - 4;
        figure(c, rider, dir, 0, -1, SY - 8);
    } else if (mode == TRAVEL_CAR) {
        wheels(c, SX - 12, SX + 12, SY - 4);
        c.rect(SX - 17, SY - 16, SX + 18, SY - 5, P_BODY);
        c.rect(SX - 10, SY - 26, SX + 11, SY - 15, P_BODY);
        c.rect(SX - 8 + sx * 2, SY - 24, SX + 9 + sx * 2, SY - 17, P_PALE);
        c.disc(SX + sx * 4, SY - 21, 3, 3, P_SKIN); // the driver
        c.rect(SX + (sx >= 0 ? 15 : -18), SY - 14, SX + (sx >= 0 ? 18 : -15), SY - 10, P_YELLOW);
    } else if (mode == TRAVEL_CONSTRUCTION) {
        c.rect(SX - 18, SY - 8, SX + 18, SY, P_DARK); // tracks
        c.rect(SX - 16, SY - 22, SX + 12, SY - 8, P_YELLOW);
        c.rect(SX - 8, SY - 34, SX + 6, SY - 22, P_YELLOW);
        c.rect(SX - 6, SY - 32, SX + 4, SY - 25, P_PALE);
        const int arm = step % 4;
        c.line(SX + 12, SY - 18, SX + 19, SY - 10 - arm * 3, 1, P_DARK); // the shovel's arm
        c.rect(SX + 16, SY - 10 - arm * 3, SX + 20, SY - 4 - arm * 3, P_GREY);
        c.disc(SX - 2, SY - 38, 3, 3, P_SKIN);
        c.rect(SX - 4, SY - 42, SX + 1, SY - 39, P_OWN);
    }
}

enum Look { WALK, WAIT, THROW, WORK, INDOOR, INDOOR_THROW, SLEEP, OUT, HOSPITAL, JAIL };

Canvas8 pose(const Figure& f, Look look, int mode, int dir, int step) {
    Canvas8 c(SW, SH);
    switch (look) {
    case WALK:
    case WAIT:
    case THROW:
    case WORK:
        if (mode == TRAVEL_WALK) {
            figure(c, f, dir, look == WALK ? step : 0, look == THROW ? step % 10 : -1);
        } else {
            vehicle(c, f, mode, dir, look == WORK ? step : 0);
        }
        if (look == THROW)
            c.rect(SX + 9, SY - 30 - step % 10, SX + 13, SY - 26 - step % 10, P_WHITE); // a die
        break;
    case INDOOR:
    case INDOOR_THROW: {
        Figure g = f;
        g.height -= 2;
        figure(c, g, dir, step, look == INDOOR_THROW ? step % 10 : -1);
        c.rect(SX + 6, SY - 14, SX + 11, SY - 8, P_BROWN); // a shopping bag
        break;
    }
    case SLEEP: {
        Figure g = f;
        g.body = P_PALE;
        figure(c, g, dir, step / 2, 6);
        break;
    }
    case OUT:
        c.disc(SX, SY - 18, 9, 14, P_GREY);
        c.rect(SX - 9, SY - 18, SX + 10, SY, P_GREY);
        c.set(SX - 3, SY - 22, P_DARK);
        c.set(SX + 3, SY - 22, P_DARK);
        break;
    case HOSPITAL:
        c.rect(SX - 18, SY - 12, SX + 18, SY - 4, P_WHITE);
        c.rect(SX - 18, SY - 4, SX - 16, SY, P_GREY);
        c.rect(SX + 16, SY - 4, SX + 18, SY, P_GREY);
        c.disc(SX - 12, SY - 15, 4, 4, P_SKIN);
        c.rect(SX - 8, SY - 16, SX + 16, SY - 11, P_OWN);
        c.rect(SX - 2, SY - 30, SX + 2, SY - 20, P_RED);
        c.rect(SX - 5, SY - 27, SX + 5, SY - 23, P_RED);
        break;
    case JAIL:
        figure(c, f, 0, 0);
        for (int x = SX - 12; x <= SX + 12; x += 5)
            c.rect(x, SY - 44, x + 2, SY, P_DARK);
        c.rect(SX - 12, SY - 44, SX + 14, SY - 42, P_DARK);
        break;
    }
    return c;
}

FrameSetBytes mover_set(const Figure& f, uint32_t colour, Look look, int mode, int per_direction) {
    std::vector<FrameImage> frames;
    for (int dir = 0; dir < VIEW_DIRECTIONS; ++dir)
        for (int step = 0; step < per_direction; ++step)
            frames.push_back(frame_of(pose(f, look, mode, dir, step), SX, SY));
    return frameset_spr(mover_palette(colour), frames);
}

void add(ArchiveWriter& a, int entry, const FrameSetBytes& s) {
    mkf_writer_add_frameset(a, entry, s);
}

void build_character_sets(ArchiveWriter& a) {
    for (int c = 0; c < CHARACTER_COUNT; ++c) {
        const int base = MOVER_SPRITE_BASE + MOVER_SPRITES_PER_CHARACTER * c;
        const uint32_t colour = character_table[c].colour;
        const Figure f = figure_of_character(c);
        for (int t = 0; t < 4; ++t) {
            add(a, base + 3 * t, mover_set(f, colour, WAIT, t, ANIM_WALK_FRAMES));
            add(a, base + 3 * t + 1, mover_set(f, colour, WALK, t, ANIM_WALK_FRAMES));
            add(a, base + 3 * t + 2, mover_set(f, colour, THROW, TRAVEL_WALK, ANIM_THROW_FRAMES));
        }
        add(a, base + 12, mover_set(f, colour, WORK, TRAVEL_CONSTRUCTION, ANIM_WORK_FRAMES));
        add(a, base + 13, mover_set(f, colour, INDOOR, TRAVEL_WALK, ANIM_WALK_FRAMES));
        add(a, base + 14, mover_set(f, colour, INDOOR, TRAVEL_WALK, ANIM_WALK_FRAMES));
        add(a, base + 15, mover_set(f, colour, INDOOR_THROW, TRAVEL_WALK, ANIM_THROW_FRAMES));
        add(a, base + 16, mover_set(f, colour, SLEEP, TRAVEL_WALK, ANIM_WALK_FRAMES));
        add(a, base + 17, mover_set(f, colour, SLEEP, TRAVEL_WALK, ANIM_WALK_FRAMES));
        add(a, base + 18, mover_set(f, colour, OUT, TRAVEL_WALK, ANIM_WALK_FRAMES));
        add(a, base + 19, mover_set(f, colour, HOSPITAL, TRAVEL_WALK, ANIM_WALK_FRAMES));
        add(a, base + 20, mover_set(f, colour, JAIL, TRAVEL_WALK, ANIM_WALK_FRAMES));
    }
    // The wandering characters: thief, robber, hooligan, spy.
    const uint32_t colours[4] = {0x303040, 0x604030, 0xD04040, 0x506070};
    const int hats[4] = {4, 1, 0, 2};
    for (int m = MOVER_THIEF; m <= MOVER_SPY; ++m) {
        Figure f;
        f.width = 10;
        f.height = 16 + (m % 2) * 2;
        f.hat = hats[m - MOVER_THIEF];
        const uint32_t colour = colours[m - MOVER_THIEF];
        const int base = WALKER_SPRITE_BASE + 4 * m;
        add(a, base, mover_set(f, colour, WAIT, TRAVEL_WALK, ANIM_WALK_FRAMES));
        add(a, base + 1, mover_set(f, colour, WALK, TRAVEL_WALK, ANIM_WALK_FRAMES));
        add(a, base + 2, mover_set(f, colour, INDOOR, TRAVEL_WALK, ANIM_WALK_FRAMES));
        add(a, base + 3, mover_set(f, colour, SLEEP, TRAVEL_WALK, ANIM_WALK_FRAMES));
    }
    // The robot doll: a box with a screen face.
    for (int k = 0; k < 2; ++k) {
        std::vector<FrameImage> frames;
        for (int dir = 0; dir < VIEW_DIRECTIONS; ++dir)
            for (int step = 0; step < ANIM_WALK_FRAMES; ++step) {
                Canvas8 c(SW, SH);
                const int bob = k ? step % 2 : 0;
                c.rect(SX - 3, SY - 6, SX - 1, SY, P_DARK);
                c.rect(SX + 1, SY - 6, SX + 3, SY, P_DARK);
                c.rect(SX - 8, SY - 24 - bob, SX + 9, SY - 6, P_GREY);
                c.rect(SX - 6, SY - 34 - bob, SX + 7, SY - 24 - bob, P_GREY);
                c.rect(SX - 4 + FACING_DX[dir] * 2, SY - 32 - bob, SX + 5 + FACING_DX[dir] * 2,
                       SY - 27 - bob, P_BLUE);
                c.rect(SX, SY - 40 - bob, SX + 1, SY - 34 - bob, P_DARK);
                c.disc(SX, SY - 41 - bob, 2, 2, P_RED);
                frames.push_back(frame_of(c, SX, SY));
            }
        add(a, DOLL_SPRITE_FIRST + k, frameset_spr(mover_palette(0x909098), frames));
    }
}

// The gods and placed objects: kind k at k - 1, 8 directions each.
void build_god_sprites(ArchiveWriter& a) {
    for (int n = 0; n < GOD_SPRITE_COUNT; ++n) {
        const int kind = n + 1;
        std::vector<FrameImage> frames;
        const int count = n == GOD_SPRITE_SLEEP_MARK ? GOD_SLEEP_MARK_FRAMES : VIEW_DIRECTIONS;
        for (int fr = 0; fr < count; ++fr) {
            Canvas8 c(SW, SH);
            Figure f;
            f.width = 10;
            f.height = 14;
            const bool big = kind == 2 || kind == 4 || kind == 6 || kind == 8;
            if (big) f.height = 18, f.width = 12;
            if (n == GOD_SPRITE_SLEEP_MARK) {
                // Bubbles rising over a sleepwalker's head.
                for (int k = 0; k < 3; ++k)
                    c.disc(SX + 4 + k * 3, SY - 44 - k * 4 - fr, 1 + k, 1 + k, P_PALE);
            } else if (n == GOD_SPRITE_CARRIED_BOMB || kind == GK_TIME_BOMB) {
                const int r = n == GOD_SPRITE_CARRIED_BOMB ? 5 : 8;
                c.disc(SX, SY - r - 2, r, r, P_DARK);
                c.line(SX + r - 2, SY - 2 * r, SX + r + 2, SY - 2 * r - 4, 0, P_BROWN);
                c.disc(SX + r + 3, SY - 2 * r - 5, 1, 1, P_RED);
            } else if (kind == GK_GIFT) {
                c.rect(SX - 9, SY - 18, SX + 10, SY, P_RED);
                c.rect(SX - 1, SY - 18, SX + 2, SY, P_GOLD);
                c.rect(SX - 9, SY - 10, SX + 10, SY - 7, P_GOLD);
            } else if (kind == GK_CHEST) {
                c.rect(SX - 11, SY - 16, SX + 12, SY, P_BROWN);
                c.rect(SX - 11, SY - 10, SX + 12, SY - 8, P_GOLD);
            } else if (kind == GK_ROADBLOCK) {
                for (int x = -14; x < 14; x += 7)
                    c.rect(SX + x, SY - 14, SX + x + 4, SY - 8, P_RED);
                c.rect(SX - 14, SY - 14, SX + 14, SY - 13, P_WHITE);
                c.rect(SX - 12, SY - 8, SX - 10, SY, P_DARK);
                c.rect(SX + 10, SY - 8, SX + 12, SY, P_DARK);
            } else if (kind == GK_MINE) {
                c.disc(SX, SY - 4, 8, 4, P_DARK);
                c.rect(SX - 1, SY - 10, SX + 1, SY - 6, P_RED);
            } else if (kind == GK_DOG) {
                c.rect(SX - 10, SY - 14, SX + 8, SY - 6, P_BROWN);
                c.disc(SX + 9 * (FACING_DX[fr] ? FACING_DX[fr] : 1), SY - 16, 5, 4, P_BROWN);
                for (int x : {-9, -5, 3, 7})
                    c.rect(SX + x, SY - 6, SX + x + 2, SY, P_BROWN);
            } else {
                uint8_t body = P_GOLD, head = P_SKIN;
                int hat = 0;
                switch (kind) {
                case GK_SMALL_WEALTH:
                case GK_BIG_WEALTH:
                    body = P_GOLD;
                    break;
                case GK_SMALL_FORTUNE:
                case GK_BIG_FORTUNE:
                    body = P_RED, hat = 2;
                    break;
                case GK_SMALL_POVERTY:
                case GK_BIG_POVERTY:
                    body = P_GREY;
                    break;
                case GK_SMALL_BAD_LUCK:
                case GK_BIG_BAD_LUCK:
                    body = P_PURPLE;
                    break;
                case GK_ANGEL:
                    body = P_WHITE;
                    break;
                case GK_DEVIL:
                    body = P_RED, hat = 5;
                    break;
                case GK_LAND_GOD:
                    body = P_BROWN, hat = 1;
                    break;
                case GK_DEATH:
                    body = P_DARK, head = P_GREY;
                    break;
                default:
                    break;
                }
                f.body = body;
                f.head = head;
                f.hat = hat;
                if (kind == GK_ANGEL) {
                    c.disc(SX - 10, SY - 26, 6, 9, P_PALE);
                    c.disc(SX + 10, SY - 26, 6, 9, P_PALE);
                }
                figure(c, f, fr, 0);
                if (kind <= GK_BIG_FORTUNE || kind == GK_ANGEL || kind == GK_LAND_GOD)
                    c.disc(SX, SY - f.height - 18, 6, 2, P_GOLD); // a halo
            }
            frames.push_back(frame_of(c, SX, SY));
        }
        add(a, GOD_SPRITE_BASE + n, frameset_spr(mover_palette(0xC0C0C0), frames));
    }
}

// Calendar pictures: a sky of the holiday's own colour with lanterns or
// fireworks, 200 x 200.
void build_holiday_pictures(ArchiveWriter& a) {
    for (int e = HOLIDAY_PICTURE_FIRST; e <= HOLIDAY_PICTURE_LAST; ++e) {
        Canvas16 c(HOLIDAY_PICTURE_SIDE, HOLIDAY_PICTURE_SIDE);
        const int hue = (e * 47) % 256;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                c.set(
                    x, y,
                    rgb555((hue + y / 2) % 256, (80 + y / 3) % 256, (200 - y / 2 + hue / 4) % 256));
        const int kind = e % 3;
        // Two or three ornaments down the free column, so that none lies
        // under the month, the day or the weekday drawn over the picture.
        const int count = 2 + e % 2;
        const int step = (CALENDAR_ORNAMENT_Y1 - CALENDAR_ORNAMENT_Y0) / count;
        for (int k = 0; k < count; ++k) {
            const int cx =
                (CALENDAR_ORNAMENT_X0 + CALENDAR_ORNAMENT_X1) / 2 + ((k + e) % 2 ? 6 : -6);
            const int cy = CALENDAR_ORNAMENT_Y0 + step * k + step / 2;
            if (kind == 0) { // lanterns
                c.rect(cx - 1, cy - 24, cx + 1, cy - 14, rgb555_of(0x302010));
                c.disc(cx, cy, 12, 14, rgb555_of(0xE03020));
                c.rect(cx - 6, cy + 13, cx + 6, cy + 16, rgb555_of(0xF0C020));
            } else if (kind == 1) { // fireworks
                for (int r = 0; r < 8; ++r)
                    c.line(cx, cy, cx + FACING_DX[r] * 18, cy + FACING_DY[r] * 18, 0,
                           rgb555_of(0xF0F080 - r * 0x101000));
            } else { // moons and flowers
                c.disc(cx, cy, 14, 14, rgb555_of(0xF8E8A0));
                c.disc(cx + 5, cy - 3, 10, 10,
                       rgb555((hue + cy / 2) % 256, (80 + cy / 3) % 256, 200));
            }
        }
        c.rect(0, 170, 200, 200, rgb555_of(0x403020));
        calendar_page_buttons(c);
        c.frame(0, 0, 200, 200, rgb555_of(0x201810));
        add(a, e, frameset_smp({frame_of(c, 0, 0)}));
    }
}

void build_board_sprites(DataBuilder& b) {
    ArchiveWriter& a = builder_archive(b, "data.mkf");
    build_character_sets(a);
    build_god_sprites(a);
    build_holiday_pictures(a);
}

} // namespace

KARVO_DATA_GENERATOR(build_board_sprites);
