#include "support/popup_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "board/game_state.h"
#include "board/map.h"
#include "board/status.h"
#include "board/world_reset.h"
#include "data/characters.h"
#include "engine/balloon.h"
#include "engine/cursor.h"
#include "engine/draw.h"
#include "engine/image.h"
#include "engine/message_draw.h"
#include "engine/mkf.h"
#include "engine/text.h"
#include "finance/stock.h"
#include "platform/surface.h"
#include "shell/app.h"

void PopupTest::SetUp() {
    HeadlessTest::SetUp();
    open_window();
    plat_script_set_close_at_end(false);
    gfx_reset();
    mkf_reset();
    gfx_set_pixel_format(static_cast<int>(plat_pixel_format()));
    back_surface = plat_surface_create(640, 480, false);
    primary_surface = plat_surface_create(640, 480, true);
    data_archive = mkf_open("data.mkf");
    ASSERT_GE(data_archive, 0) << "the stand-in data.mkf";
    speech_archive = mkf_open("speaking.mkf");
    text_init();
    board_panels_load();
    balloon_reset();
}

void PopupTest::TearDown() {
    map_free();
    cursor_stop();
    balloon_reset();
    board_panels_free();
    text_shutdown();
    mkf_reset();
    data_archive = -1;
    speech_archive = -1;
    plat_surface_release(back_surface);
    plat_surface_release(primary_surface);
    back_surface = primary_surface = nullptr;
    gfx_reset();
    HeadlessTest::TearDown();
}

uint16_t PopupTest::back_at(int x, int y) {
    return back_surface->pixels[y * (back_surface->pitch / 2) + x];
}

uint16_t PopupTest::screen_at(int x, int y) {
    return primary_surface->pixels[y * (primary_surface->pitch / 2) + x];
}

void PopupTest::paint_screen(uint16_t pixel) {
    for (PlatSurface* s : {back_surface, primary_surface})
        for (int i = 0; i < 480 * (s->pitch / 2); ++i)
            s->pixels[i] = pixel;
}

int PopupTest::screen_differs(int left, int top, int right, int bottom, uint16_t pixel) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (screen_at(x, y) != pixel) ++n;
    return n;
}

std::string PopupTest::save_screen_bmp(const std::string& name) {
    const std::string path = name + ".bmp";
    return plat_surface_save_bmp(primary_surface, path.c_str()) ? path : "";
}

std::string PopupTest::save_shot(const std::string& name) {
    const char* dir = std::getenv("KARVO_SHOT_DIR");
    return dir ? save_screen_bmp(std::string(dir) + "/" + name) : "";
}

bool PopupTest::set_up_two_players() {
    // As the program does between games: the map's pictures and the movers'
    // sprites are freed before the world forgets them.
    map_free();
    game_world_reset();
    game_map = 1;
    game_player_count = 2;
    for (int p = 0; p < 2; ++p) {
        player_table[p] = character_table[p * 2 + 1];
        player_table[p].setup_control = p == 0 ? CTRL_HUMAN : CTRL_COMPUTER;
    }
    stock_new_game(game_map);
    if (!map_load()) return false;
    for (int p = 0; p < 2; ++p) {
        PlayerRecord& r = player_table[p];
        const int s = 1 + 3 * p;
        r.square = static_cast<uint16_t>(s);
        r.x = static_cast<uint16_t>(map_square_table[s].x);
        r.y = static_cast<uint16_t>(map_square_table[s].y);
        r.control = p == 0 ? CTRL_HUMAN : CTRL_COMPUTER;
        map_square_table[s].flags |= sqf_player(p);
        actor_update_sprites(p);
    }
    return true;
}
