#include "shell/app.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/board_refresh.h"
#include "board/board_screen.h"
#include "board/game_state.h"
#include "board/map.h"
#include "board/toolbar.h"
#include "board/turn.h"
#include "board/view.h"
#include "engine/cursor.h"
#include "engine/data_report.h"
#include "engine/draw.h"
#include "engine/film.h"
#include "engine/flc.h"
#include "engine/image.h"
#include "engine/mkf.h"
#include "engine/music.h"
#include "engine/random.h"
#include "engine/sound.h"
#include "engine/text.h"
#include "finance/stock.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/intro.h"
#include "shell/keyboard.h"
#include "shell/save.h"
#include "shell/screen.h"
#include "shell/settings.h"
#include "shell/setup_screen.h"
#include "shell/stage_end.h"
#include "shell/title.h"

void* app_instance = nullptr;
uint8_t app_shutdown_done = 0;
uint8_t campaign_continuing = 0;
uint8_t ddraw = 0;
uint8_t app_hook = 0;

namespace {

constexpr int HITMAP_CELLS = 440 * 440;
constexpr uint32_t LOADING_PICTURE_ENTRY = 560;
constexpr uint32_t SCREEN_BYTES = 640 * 480 * 2;
constexpr int MAX_BUSY_PASSES = 64;

constexpr AppServices REAL_SERVICES = {
    snd_init,
    text_init,
    gfx_detect_pixel_format,
    snd_effects_load,
    cfg_read,
    mkf_open,
    cursor_start,
    music_init,
    cursor_set_shape,
    snd_wait_last_effect,
    cursor_stop,
    music_shutdown,
    mkf_close,
    board_free_graphics,
    map_free,
    text_shutdown,
    snd_effects_free,
    snd_shutdown,
    avi_play,
    title_run,
    setup_run,
    map_load,
    board_load_graphics,
    stock_daily_update,
    intro_run,
    stage_won,
    save_load_screen,
    gfx_clear_screen,
    board_flush_dirty,
    turn_tick,
    turn_take_step,
    music_stop,
    music_next_background,
    board_wndproc,
    mci_send,
    avi_on_end,
    music_on_notify,
    app_check_required_data,
};

bool g_window_closed = false;

void report_missing_archive(int slot, const char* name, const char* consequence) {
    if (slot < 0)
        data_report(name, (*mkf_last_open_error() ? std::string(mkf_last_open_error())
                                                  : std::string("cannot open ") + name) +
                              "; " + consequence);
}

// Start-up cannot go on: the player is told in a box, as for the display.
int refuse_start(const char* text) {
    plat_message_box(text, "ERROR", MB_ICONERROR);
    app_start_failed = 1;
    return 0;
}

// Shuts down and destroys the window (which posts the quit message), once.
void close_down() {
    if (g_window_closed) return;
    g_window_closed = true;
    if (!app_shutdown_done) {
        app_services.gfx_clear_screen();
        app_shutdown();
    }
    plat_destroy_window();
}

// The title / setup / load cycle: from the title (at_title), or from the
// dispatch of a title result r, until the program goes on to the main loop.
void title_cycle(bool at_title, int r) {
    for (;;) {
        if (plat_close_requested()) return;
        if (at_title) {
            game_map = 0;
            std::memset(campaign_maps_cleared, 0, sizeof campaign_maps_cleared);
            campaign_continuing = 0;
            r = app_services.title_run();
            if (plat_close_requested()) return;
        }
        at_title = true;
        switch (r) {
        case 0:
            if (app_services.setup_run(campaign_continuing) == 0) continue;
            if (plat_close_requested()) return;
            app_show_loading_picture();
            if (!app_services.map_load()) {
                // No board to play on: back to the title rather than a board
                // screen over nothing.
                std::fprintf(stderr, "karvo: the map cannot be loaded; back to the title\n");
                continue;
            }
            app_services.board_load_graphics();
            app_services.stock_daily_update();
            app_services.intro_run();
            campaign_continuing = 1;
            screen_push_board(0);
            return;
        case 1:
            app_services.board_load_graphics();
            campaign_continuing = 1;
            screen_push_board(1);
            return;
        case 3:
            app_shutdown();
            close_down();
            return;
        default:
            return;
        }
    }
}

void end_game(uint8_t code) {
    switch (code) {
    case END_TO_TITLE:
        title_cycle(true, 0);
        break;
    case END_STAGE_CLEARED:
        app_services.stage_won();
        // After the fourth map the ending films have set the quit request.
        if (!app_quit) title_cycle(false, 0);
        break;
    case END_GAME_WON:
        app_services.stage_won();
        title_cycle(true, 0);
        break;
    case END_LOAD_GAME: {
        int s = app_services.save_load_screen(0);
        if (plat_close_requested()) break;
        // Only a slot actually read goes on: nothing chosen (-1) and a read
        // that failed (0) both leave no game to play.
        if (s <= 0) {
            title_cycle(true, 0);
        } else {
            app_services.board_load_graphics();
            campaign_continuing = 1;
            screen_push_board(1);
        }
        break;
    }
    default:
        break; // values above 4 are ignored
    }
}

} // namespace

AppServices app_services = REAL_SERVICES;

namespace {
// A music track ending while a film plays goes to the music service.
const bool FILM_MUSIC_NOTICE = (
    flc_music_notify = [] { app_services.music_on_notify(); }, true);
} // namespace
uint8_t app_start_failed = 0;

bool app_check_required_data(std::string* problem) {
    for (const char* name : {"data.mkf", "PANEL.MKF", "MAP.MKF"})
        if (!mkf_check_archive(name, problem)) return false;
    // A missing map-data archive is not an error (the maps come from
    // MAP.MKF then); one that is there must be whole.
    if (!mkf_check_archive("MAPDAT.MKF", problem) && mkf_last_open_found()) return false;
    return true;
}

// The toolbar's load list goes through the services, so that a test can
// stand in its own; it replaced the game under the board unless it returned -1.
TOOLBAR_COMMAND(
    TOOLBAR_LOAD,
    [] {
        const int loaded =
            app_services.save_load_screen ? app_services.save_load_screen(1) : save_load_screen(1);
        return loaded == -1;
    },
    HK_LOAD)

void app_reset() {
    app_services = REAL_SERVICES;
    app_hwnd = nullptr;
    app_instance = nullptr;
    app_active = 0;
    app_quit = 0;
    app_shutdown_done = 0;
    campaign_continuing = 0;
    ddraw = 0;
    primary_surface = nullptr;
    back_surface = nullptr;
    primary_pitch = 0;
    app_hook = 0;
    for (EffectListEntry& e : ui_effects)
        e.buffer = nullptr;
    g_window_closed = false;
    app_start_failed = 0;
    screen_reset();
    keyboard_reset();
}

int app_main(void* instance, void*, const char*, int) {
    app_instance = instance;
    g_window_closed = false;
    app_hwnd = plat_create_window("Karvo", app_wndproc);
    if (!app_hwnd) return -1;
    if (!app_init()) return 0;
    plat_show_window();
    plat_update_window();
    app_services.avi_play("START.AVI", &screen_rect, 1);
    title_cycle(true, 0);
    return app_message_loop();
}

int app_init() {
    app_start_failed = 0;
    app_services.snd_init(0); // a failure leaves sound off
    if (!plat_display_open()) return refuse_start("DirectDraw Initial Error!");
    ddraw = 1;
    // Exclusive full screen is part of setting the mode here.
    if (!plat_display_set_mode(640, 480, 16)) return refuse_start("DirectDraw SetMode Error!");
    // Without these the board cannot be drawn or played: better a clear
    // word now than a black or unusable screen later.
    if (std::string problem; !app_services.data_check(&problem)) {
        plat_display_close();
        ddraw = 0;
        return refuse_start((problem + ".\nThe game cannot run without it.").c_str());
    }
    primary_surface = plat_surface_create(640, 480, true);
    plat_surface_restore(primary_surface);
    plat_surface_lock(primary_surface, &primary_pitch);
    plat_surface_unlock(primary_surface);
    back_surface = plat_surface_create(640, 480, false);

    game_srand_from_clock();

    app_services.text_init();
    uint32_t red = 0, green = 0, blue = 0;
    plat_surface_masks(primary_surface, &red, &green, &blue);
    app_services.gfx_detect_pixel_format(red, green);
    app_services.snd_effects_load(ui_effects);

    app_services.cfg_read();

    plat_set_keyboard_hook(app_keyboard_hook);
    app_hook = 1;

    data_archive = app_services.mkf_open("data.mkf");
    report_missing_archive(data_archive, "data.mkf", "its pictures and sounds are missing");
    speech_archive = app_services.mkf_open("speaking.mkf");
    report_missing_archive(speech_archive, "speaking.mkf", "the voices are not heard");

    app_services.cursor_start();
    app_services.music_init();
    app_services.cursor_set_shape(41, 1, 0);

    game_end_code = 0;
    app_quit = 0;
    board_input_enabled = 0;
    app_shutdown_done = 0;
    std::memset(campaign_maps_cleared, 0, sizeof campaign_maps_cleared);

    view_hitmap = static_cast<uint16_t*>(std::calloc(HITMAP_CELLS, sizeof(uint16_t)));
    if (!view_hitmap) std::fprintf(stderr, "karvo: out of memory for the board's hit-test map\n");
    hitmap_view_pos[0] = 0;
    hitmap_view_pos[1] = 0;

    screen_procs[0] = nullptr;
    screen_depth = 0;
    music_background = 0;
    return 1;
}

void app_show_loading_picture() {
    uint32_t size = 0;
    void* picture = mkf_read(data_archive, LOADING_PICTURE_ENTRY, nullptr, &size);
    if (picture && back_surface && primary_surface) {
        int32_t pitch = 0;
        uint16_t* pixels = plat_surface_lock(back_surface, &pitch);
        // A short entry fills what it has; the rest of the screen keeps its pixels.
        uint32_t bytes = size < SCREEN_BYTES ? size : SCREEN_BYTES;
        std::memcpy(pixels, picture, bytes);
        plat_surface_unlock(back_surface);
        plat_blt_fast(primary_surface, 0, 0, back_surface, &screen_rect);
        // The map's loading and the load's wait take no message, so the
        // window would not show the picture until they were over: an idle
        // moment presents it now (and takes no message either).
        plat_idle_for_input(0);
    }
    std::free(picture);
    app_services.music_stop();
}

void app_shutdown() {
    if (app_shutdown_done) return;
    app_services.snd_wait_last_effect();
    std::free(view_hitmap);
    view_hitmap = nullptr;
    app_services.cursor_stop();
    app_services.music_shutdown();
    app_services.mkf_close(speech_archive);
    app_services.mkf_close(data_archive);
    speech_archive = -1;
    data_archive = -1;
    app_services.board_free_graphics();
    // Also when no board screen ever freed it (the map outlives a game that
    // ended before its board opened).
    app_services.map_free();
    app_services.text_shutdown();
    plat_set_keyboard_hook(nullptr);
    app_hook = 0;
    app_services.snd_effects_free(ui_effects);
    app_services.snd_shutdown();
    if (back_surface) plat_surface_release(back_surface);
    back_surface = nullptr;
    if (primary_surface) plat_surface_release(primary_surface);
    primary_surface = nullptr;
    if (ddraw) plat_display_close();
    ddraw = 0;
    app_shutdown_done = 1;
}

bool app_idle_pass() {
    bool worked = false;
    if (board_dirty) app_services.board_flush_dirty();
    if (anim_step_pending) app_services.turn_tick();
    if (game_active_mover >= 0 && game_active_mover < MOVER_COUNT) {
        ActorAnim& a = actor_anim_table[game_active_mover];
        if (a.phase == PHASE_WAIT && (a.flags & ANIM_NEEDS_STEP)) {
            a.flags &= static_cast<uint8_t>(~ANIM_NEEDS_STEP);
            app_services.turn_take_step();
            worked = true;
        }
    }
    if (game_end_code) {
        music_day_countdown = 0;
        app_services.board_free_graphics();
        screen_pop_board();
        uint8_t code = game_end_code;
        game_end_code = 0;
        end_game(code);
        worked = true;
    }
    // The quit hot key, the system menu and the ending films set app_quit;
    // closing the window asks the same.
    if (app_quit || plat_close_requested()) {
        close_down();
        worked = true;
    }
    return worked;
}

int app_message_loop() {
    int busy_passes = 0;
    for (;;) {
        // A closed window: the modal loops have unwound; shut down before
        // anything else is dispatched.
        if (plat_close_requested() && !g_window_closed) close_down();
        PlatMessage m;
        if (plat_peek_message(&m, true)) {
            if (m.message == WM_QUIT) {
                app_shutdown();
                return static_cast<int>(m.wparam);
            }
            if (m.message == WM_SCREEN_END) continue; // no modal screen left to end
            plat_translate_message(&m);
            plat_dispatch_message(&m);
            continue;
        }
        if (!app_active || g_window_closed) {
            plat_idle(PLAT_WAIT_FOREVER);
            continue;
        }
        // Time moves on (or the processor is yielded) when the pass found no
        // turn step to take, so a chain of steps runs without delay; a long
        // chain still lets time pass now and then, as the busy loop did.
        if (app_idle_pass() && ++busy_passes < MAX_BUSY_PASSES) continue;
        busy_passes = 0;
        plat_idle(PLAT_WAIT_FOREVER);
    }
}
