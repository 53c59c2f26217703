// The save and load lists' pictures: data.mkf 479. Frame 0 the load panel
// (six rows, drawn at (40, 15)), frame 1 the save panel (five rows, at
// (40, 48)), frames 2-5 the four maps' icons, each a small drawing of its
// map's path, frame 6 the cell behind a row's date.
#include <vector>

#include "board/map.h"
#include "builder.h"
#include "canvas.h"
#include "maps_layout.h"

namespace {

constexpr int SAVE_PICTURES_ENTRY = 479;
constexpr int PANEL_W = 560;
constexpr int CELL = 72;
const uint16_t kPanel = rgb555(28, 40, 88);
const uint16_t kRim = rgb555(200, 180, 90);
const uint16_t kRowLine = rgb555(70, 90, 150);
const uint16_t kTitle = rgb555(250, 230, 150);

// A panel for `rows` rows whose first row's top lies `first_row` below the
// panel's top; the title runs down the left column.
FrameImage panel(int rows, int first_row, int height, const char* title) {
    Canvas cv(PANEL_W, height);
    cv.fill(0, 0, PANEL_W, height, kPanel);
    cv.frame(0, 0, PANEL_W, height, kRim);
    cv.frame(3, 3, PANEL_W - 6, height - 6, kRim);
    // Rows lie from x 89 (129 on the screen) across the date, map and four portraits.
    for (int r = 0; r < rows; ++r) {
        const int top = first_row + CELL * r;
        cv.frame(88, top - 1, 450, CELL + 2, kRowLine);
    }
    const char* p = title;
    for (int i = 0; i < 4 && *p; ++i) {
        // One character (three UTF-8 bytes) a line.
        const std::string ch(p, 3);
        cv.label(ch, 44, height / 2 - 80 + 40 * i, 30, kTitle, true);
        p += 3;
    }
    return cv.img;
}

FrameImage map_icon(int m) {
    Canvas cv(CELL, CELL);
    static const uint16_t grounds[4] = {rgb555(80, 150, 80), rgb555(170, 150, 90),
                                        rgb555(90, 140, 170), rgb555(150, 110, 150)};
    cv.fill(0, 0, CELL, CELL, grounds[m]);
    cv.frame(0, 0, CELL, CELL, rgb555(240, 240, 240));
    const StandinMap map = standin_map_build(m);
    auto at = [](int world) { return 4 + world * (CELL - 8) / MAP_WORLD_SIZE; };
    for (size_t i = 1; i < map.squares.size(); ++i) {
        const MapSquare& s = map.squares[i];
        for (uint16_t link : s.links)
            if (link != 0 && link < map.squares.size())
                cv.line(at(s.x), at(s.y), at(map.squares[link].x), at(map.squares[link].y),
                        rgb555(250, 250, 230), 2);
    }
    cv.label(std::to_string(m + 1), CELL - 10, CELL - 18, 14, rgb555(20, 20, 20), true);
    return cv.img;
}

FrameImage date_cell() {
    Canvas cv(CELL, CELL);
    cv.fill(0, 0, CELL, CELL, rgb555(60, 70, 120));
    cv.frame(0, 0, CELL, CELL, rgb555(150, 160, 210));
    return cv.img;
}

void build_save_pictures(DataBuilder& b) {
    std::vector<FrameImage> frames;
    frames.push_back(panel(6, 9, 456, "读取进度"));
    frames.push_back(panel(5, 9, 384, "储存进度"));
    for (int m = 0; m < 4; ++m)
        frames.push_back(map_icon(m));
    frames.push_back(date_cell());
    mkf_writer_add_frameset(builder_archive(b, "data.mkf"), SAVE_PICTURES_ENTRY,
                            frameset_smp(frames));
}

} // namespace

KARVO_DATA_GENERATOR(build_save_pictures);
