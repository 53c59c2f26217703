// Street names on signs painted on the ground of the stand-in maps, in the
// game's font. A sign is painted so that the view turned to rotation 0 shows
// it upright: each ground pixel takes the sign's ink at its place on the
// screen, by the projection near the view's centre (one cell in x goes to
// (34, -11) on the screen, one cell in y to (14, 25); a cell is 32 world
// units). Its place is the free spot nearest to the middle between the
// street's squares and plots, free meaning that, on that screen, nothing of
// the board is drawn over it or under it but plain ground.
#include "street_signs.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "board/map.h"
#include "board/view_sets.h"
#include "platform/text.h"

namespace {

constexpr int STREET_FONT = 16;
constexpr int S = 3; // the letters are drawn this many times as large, then sampled down

// The screen at rotation 0, for the whole map at once: world (x, y) to its
// screen point, shifted so that every point of the map lands inside.
constexpr int WORLD = TERRAIN_CELLS * TERRAIN_TILE_SIDE;
constexpr int SCREEN_X0 = 8, SCREEN_Y0 = 11 * WORLD / 32 + 8;
constexpr int SCREEN_W = (34 + 14) * WORLD / 32 + 16, SCREEN_H = (11 + 25) * WORLD / 32 + 16;

int screen_x(double x, double y) {
    return static_cast<int>(std::floor((34 * x + 14 * y) / 32)) + SCREEN_X0;
}
int screen_y(double x, double y) {
    return static_cast<int>(std::floor((-11 * x + 25 * y) / 32)) + SCREEN_Y0;
}

// What the board covers on that screen, one byte a pixel.
struct Cover {
    std::vector<uint8_t> px = std::vector<uint8_t>(size_t(SCREEN_W) * SCREEN_H, 0);
    void rect(int x0, int y0, int x1, int y1) {
        for (int y = std::max(0, y0); y < std::min(SCREEN_H, y1); ++y)
            std::fill(px.begin() + y * SCREEN_W + std::max(0, x0),
                      px.begin() + y * SCREEN_W + std::max(std::max(0, x0), std::min(SCREEN_W, x1)),
                      uint8_t{1});
    }
    bool free(int x0, int y0, int x1, int y1) const {
        if (x0 < 0 || y0 < 0 || x1 > SCREEN_W || y1 > SCREEN_H) return false;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (px[size_t(y) * SCREEN_W + x]) return false;
        return true;
    }
};

// Where the board's pictures stand around their anchor on the screen
// (left, top, right, bottom): the tallest building of the stand-in sets with
// its ground patch, a square's marker with a figure standing on it.
struct Box {
    int l, t, r, b;
};
constexpr Box LOT_BOX{-34, -96, 34, 22};
constexpr Box FACILITY_BOX{-38, -96, 38, 28};
constexpr Box PLACE_BOX{-38, -100, 38, 32};
constexpr Box SQUARE_BOX{-22, -60, 22, 14};

template <typename Rec> void cover_all(Cover& c, const std::vector<Rec>& recs, Box b) {
    for (size_t i = 1; i < recs.size(); ++i) {
        const int x = screen_x(recs[i].x, recs[i].y), y = screen_y(recs[i].x, recs[i].y);
        c.rect(x + b.l, y + b.t, x + b.r, y + b.b);
    }
}

Cover board_cover(const Canvas8& ground, const StandinMap& map, uint8_t last_ground) {
    Cover c;
    // The ground that is not plain: roads, plots, plazas.
    for (int y = 0; y < WORLD; ++y)
        for (int x = 0; x < WORLD; ++x)
            if (ground.get(x, y) > last_ground) {
                const int sx = screen_x(x, y), sy = screen_y(x, y);
                c.rect(sx - 1, sy - 1, sx + 2, sy + 2);
            }
    cover_all(c, map.lots, LOT_BOX);
    cover_all(c, map.facilities, FACILITY_BOX);
    cover_all(c, map.companies, FACILITY_BOX);
    cover_all(c, map.decorations, PLACE_BOX);
    cover_all(c, map.squares, SQUARE_BOX);
    return c;
}

// A sign of dark letters on a light plate with a dark rim, drawn S times as
// large; its size on the screen is (w / S) x (h / S).
struct SignPicture {
    int w = 0, h = 0;
    std::vector<uint16_t> ink;
};

SignPicture sign_picture(const char* gbk) {
    SignPicture p;
    PlatFont* font = plat_font_get(STREET_FONT * S, true);
    if (!font) return p;
    int tw = 0, th = 0;
    plat_text_measure(font, gbk, 0, &tw, &th);
    if (tw <= 0 || th <= 0) return p;
    p.w = tw + 6 * S, p.h = th + 4 * S;
    p.ink.assign(size_t(p.w) * p.h, 0);
    plat_text_draw(font, gbk, 0, p.ink.data(), p.w, p.w, p.h, 3 * S, 2 * S, 0, 1);
    return p;
}

// Paints the sign with its centre at world (ax, ay): each ground pixel
// takes the share of ink over its footprint (two nearest-pixel samplings in
// a row, here and the view's, would break the strokes).
void paint_sign(Canvas8& c, const SignPicture& p, int ax, int ay, SignInks inks) {
    const int reach = (p.w + p.h) / S;
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            int inside = 0, inked = 0, rim = 0;
            for (int k = 0; k < S * S; ++k) {
                // A sample point of the ground pixel, its place on the
                // screen, then on the enlarged sign.
                const double gx = dx + (k % S + 0.5) / S, gy = dy + (k / S + 0.5) / S;
                const int sx = static_cast<int>(std::floor(S * (34 * gx + 14 * gy) / 32)) + p.w / 2;
                const int sy =
                    static_cast<int>(std::floor(S * (-11 * gx + 25 * gy) / 32)) + p.h / 2;
                if (sx < 0 || sy < 0 || sx >= p.w || sy >= p.h) continue;
                ++inside;
                inked += p.ink[size_t(sy) * p.w + sx] != 0;
                rim += sx < S || sy < S || sx >= p.w - S || sy >= p.h - S;
            }
            if (inside * 2 <= S * S) continue; // off the sign
            const bool dark = rim * 2 > S * S || inked * 3 >= S * S;
            c.set(ax + dx, ay + dy, dark ? inks.ink : inks.plate);
        }
}

constexpr int SIGN_MARGIN = 3;     // screen pixels kept clear around a sign
constexpr int SEARCH_RADIUS = 320; // world units around the preferred place
constexpr int SEARCH_STEP = 4;

} // namespace

void paint_street_names(Canvas8& c, const StandinMap& map, uint8_t last_ground, SignInks inks) {
    Cover cover = board_cover(c, map, last_ground);
    std::map<std::string, std::vector<size_t>> streets; // name -> plots
    for (size_t i = 1; i < map.lots.size(); ++i)
        streets[std::string(map.lots[i].street,
                            strnlen(map.lots[i].street, sizeof map.lots[i].street))]
            .push_back(i);
    for (const auto& [name, plots] : streets) {
        if (name.empty()) continue;
        long px = 0, py = 0, qx = 0, qy = 0, n = 0;
        for (size_t i = 1; i < map.squares.size(); ++i) {
            const int code = map.squares[i].object;
            for (size_t lot : plots)
                if (code == OBJ_LOT_BASE + static_cast<int>(lot)) {
                    px += map.lots[lot].x, py += map.lots[lot].y;
                    qx += map.squares[i].x, qy += map.squares[i].y;
                    ++n;
                }
        }
        if (n == 0) continue;
        const SignPicture pic = sign_picture(name.c_str());
        if (pic.w == 0) continue;
        // Between the road and the plots, or the free spot nearest to it on
        // the plots' side of the road; the other side only when that has none.
        const int wx = static_cast<int>((px + qx) / (2 * n)),
                  wy = static_cast<int>((py + qy) / (2 * n));
        const double lx = double(px) / n, ly = double(py) / n, rx = double(qx) / n,
                     ry = double(qy) / n;
        auto far_side = [&](int x, int y) {
            return std::hypot(x - lx, y - ly) > std::hypot(x - rx, y - ry);
        };
        const int half_w = pic.w / (2 * S) + SIGN_MARGIN, half_h = pic.h / (2 * S) + SIGN_MARGIN;
        int best_x = wx, best_y = wy;
        long best = -1;
        for (int dy = -SEARCH_RADIUS; dy <= SEARCH_RADIUS; dy += SEARCH_STEP)
            for (int dx = -SEARCH_RADIUS; dx <= SEARCH_RADIUS; dx += SEARCH_STEP) {
                long d = long(dx) * dx + long(dy) * dy;
                if (d > long(SEARCH_RADIUS) * SEARCH_RADIUS) continue;
                const int x = wx + dx, y = wy + dy;
                if (far_side(x, y)) d += long(SEARCH_RADIUS) * SEARCH_RADIUS;
                if (best >= 0 && d >= best) continue;
                if (x < 0 || y < 0 || x >= WORLD || y >= WORLD) continue;
                const int sx = screen_x(x, y), sy = screen_y(x, y);
                if (!cover.free(sx - half_w, sy - half_h, sx + half_w, sy + half_h)) continue;
                best = d, best_x = x, best_y = y;
            }
        paint_sign(c, pic, best_x, best_y, inks);
        // The next sign keeps off this one.
        const int sx = screen_x(best_x, best_y), sy = screen_y(best_x, best_y);
        cover.rect(sx - half_w - SIGN_MARGIN, sy - half_h - SIGN_MARGIN, sx + half_w + SIGN_MARGIN,
                   sy + half_h + SIGN_MARGIN);
    }
}
