#include <bit>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "board/map.h"
#include "board/world_reset.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "runner_game.h"
#include "shell/app.h"

namespace {

RunnerOptions g_options;
const char* g_shot = nullptr;
bool g_shot_taken = false;
bool g_shot_ok = true;
int g_title_runs = 0;
std::string g_setup_error; // why the game could not be set up, "" when it was
void (*g_real_clear_screen)() = nullptr;

void take_shot() {
    if (!g_shot || g_shot_taken || !primary_surface) return;
    g_shot_taken = true;
    g_shot_ok = plat_surface_save_bmp(primary_surface, g_shot);
    if (!g_shot_ok) std::fprintf(stderr, "karvo_runner: cannot write %s\n", g_shot);
}

// The first title result starts a new game; a later one (the game ended and
// went back to the title) ends the program, with the screen as it was.
int straight_to_game() {
    if (g_title_runs++ == 0) return 0;
    take_shot();
    return 3;
}

// The set-up screen's result: the runner's own game. Choices the new-game
// routine refuses or a map that cannot be loaded send the program back to
// the title, which ends it.
int setup_from_options(int) {
    std::string why;
    if (!runner_seat_players(g_options, &why)) {
        g_setup_error = "cannot set the game up: " + why;
        return 0;
    }
    if (!map_load()) {
        g_setup_error = "cannot load the map: " + map_last_error();
        return 0;
    }
    if (runner_human_game_started) runner_human_game_started();
    return 1;
}

int no_film(const char*, const PlatRect*, int) {
    return 0;
}
void no_intro() {}

// The program clears the screen before it shuts down: the shot comes first.
void shot_then_clear() {
    take_shot();
    if (g_real_clear_screen) g_real_clear_screen();
}

} // namespace

void (*runner_human_game_started)() = nullptr;

int runner_human_session(const RunnerOptions& options, const char* script, const char* shot,
                         std::string* error) {
    g_options = options;
    g_options.human = true;
    g_shot = shot;
    g_shot_taken = false;
    g_shot_ok = true;
    g_title_runs = 0;
    g_setup_error.clear();
    // A window rather than the whole screen, and the script read at start.
    setenv("KARVO_WINDOWED", "1", 0);
    if (script) setenv("KARVO_SCRIPT", script, 1);
    if (!plat_init()) {
        if (error) *error = plat_init_error(); // a bad script, or no SDL: told once, by the caller
        return 1;
    }
    app_reset();
    game_world_reset();
    app_services.title_run = straight_to_game;
    app_services.setup_run = setup_from_options;
    app_services.avi_play = no_film;
    app_services.intro_run = no_intro;
    g_real_clear_screen = app_services.gfx_clear_screen;
    app_services.gfx_clear_screen = shot_then_clear;
    const int code = app_main(nullptr, nullptr, "", 1);
    // Read before the reset clears it: the game's own box already said why.
    const bool start_failed = app_start_failed != 0;
    plat_shutdown();
    app_reset();
    if (start_failed) {
        if (error) *error = "the game could not start (see the message above)";
        return 1;
    }
    if (code == -1 || g_title_runs == 0) {
        if (error) *error = "cannot open the window or the display";
        return 1;
    }
    if (!g_setup_error.empty()) {
        if (error) *error = g_setup_error;
        return 1;
    }
    if (g_shot && !g_shot_ok) {
        if (error) *error = std::string("cannot write the shot ") + g_shot;
        return 1;
    }
    return 0;
}
