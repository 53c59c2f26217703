// Program entry, start-up, the main loop and shutdown.
//
// All game work runs on the main thread. The board screen is the bottom of
// the screen stack during a game, and the main loop advances the turn
// machinery in its idle pass whenever no message is waiting.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "engine/sound.h"
#include "engine/surfaces.h"
#include "engine/ui_effects.h"
#include "platform/messages.h"
#include "platform/surface.h"

// Set by game code to end the running game; read and cleared by the main loop.
enum GameEndCode : uint8_t {
    END_RUNNING = 0,
    END_TO_TITLE = 1,
    END_STAGE_CLEARED = 2, // the single human won a map: the campaign goes on
    END_GAME_WON = 3,      // a human won a game with several humans
    END_LOAD_GAME = 4,     // continue by loading a saved game
};

extern void* app_instance;
extern uint8_t app_shutdown_done;
// A game has been started since the title was last shown.
extern uint8_t campaign_continuing;
// The display is open.
extern uint8_t ddraw;
// The keyboard hook is installed.
extern uint8_t app_hook;

// The program entry; the command line and show mode are not used. -1 when
// the window cannot be made, 0 when start-up fails, else the quit code.
int app_main(void* instance, void* previous, const char* command_line, int show);
// Start-up: 1, or 0 after a display failure or with an archive the game
// cannot run without missing or damaged (reported in a message box).
int app_init();
// The archives the game cannot run without, each whole: data.mkf, PANEL.MKF,
// MAP.MKF, and MAPDAT.MKF when it is there.
bool app_check_required_data(std::string* problem);
// Start-up failed: the program ends with a non-zero status.
extern uint8_t app_start_failed;
// Releases everything, once.
void app_shutdown();
// Shows the full-screen loading picture and stops the music.
void app_show_loading_picture();

// The main loop: takes and dispatches messages, runs the idle pass while the
// program is active and nothing waits; returns the quit message's code.
int app_message_loop();
// One idle pass: flush the board, the turn tick, the turn step, the game end
// code, the quit request. The headless game runner drives the game with it.
// Returns true when it took a turn step or ended the game (more work may
// follow at once); the caller idles otherwise.
bool app_idle_pass();

// The services of other modules that start-up, the main loop, shutdown and
// the main window procedure call. They are the real functions; tests replace
// entries to watch the order of calls.
struct AppServices {
    int (*snd_init)(int reload);
    void (*text_init)();
    void (*gfx_detect_pixel_format)(uint32_t red_mask, uint32_t green_mask);
    void (*snd_effects_load)(EffectListEntry* list);
    void (*cfg_read)();
    int (*mkf_open)(const char* name);
    void (*cursor_start)();
    void (*music_init)();
    void (*cursor_set_shape)(int first, int count, int ticks);

    void (*snd_wait_last_effect)();
    void (*cursor_stop)();
    void (*music_shutdown)();
    int (*mkf_close)(int slot);
    void (*board_free_graphics)();
    void (*map_free)();
    void (*text_shutdown)();
    void (*snd_effects_free)(EffectListEntry* list);
    void (*snd_shutdown)();

    int (*avi_play)(const char* name, const PlatRect* rect, int skippable);
    int (*title_run)();
    int (*setup_run)(int continuing);
    bool (*map_load)();
    void (*board_load_graphics)();
    void (*stock_daily_update)();
    void (*intro_run)();
    void (*stage_won)();
    int (*save_load_screen)(int over_game);
    void (*gfx_clear_screen)();
    void (*board_flush_dirty)();
    void (*turn_tick)();
    void (*turn_take_step)();
    void (*music_stop)();
    void (*music_next_background)(int n);
    PlatWndProc board_wndproc;
    uint32_t (*mci_send)(const char* command);
    void (*avi_on_end)();
    void (*music_on_notify)();
    // The archives the game cannot run without: true, or false with what
    // is wrong with the first that cannot be used.
    bool (*data_check)(std::string* problem);
};
extern AppServices app_services;

// Back to the start state: every global above, the real services.
void app_reset();
