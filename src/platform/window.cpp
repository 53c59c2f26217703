#include "platform/window.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/mci.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/stop_signal.h"
#include "platform/surface.h"

struct PlatWindowRec {
    SDL_Window* sdl = nullptr;
};

namespace {

bool g_sdl_started = false;
bool g_headless = false;
bool g_windowed = false;
PlatWindowRec g_window;
bool g_window_made = false;
bool g_window_destroyed = false;
SDL_Renderer* g_renderer = nullptr;
SDL_Texture* g_texture = nullptr;
int g_fail_display_step = 0;
int g_box_count = 0;
std::string g_last_box;
std::string g_last_caption;
std::string g_init_error;

bool env_on(const char* name) {
    const char* v = std::getenv(name);
    return v && *v && std::strcmp(v, "0") != 0;
}

// No display to show anything on: headless, or SDL's dummy video driver.
// (The offscreen driver renders into memory and so runs the whole path.)
// The answer is fixed from SDL's start to its end: asked once a start.
int g_dummy_driver = -1; // -1 not asked yet this start

bool no_display() {
    if (g_headless || !g_sdl_started) return true;
    if (g_dummy_driver < 0) {
        const char* driver = SDL_GetCurrentVideoDriver();
        g_dummy_driver = !driver || std::strcmp(driver, "dummy") == 0 ? 1 : 0;
    }
    return g_dummy_driver == 1;
}

// Raised by every event pushed into SDL's queue (the watch runs in the
// pushing thread, before the event is queued; with no display only the
// program's own thread pushes), cleared when the queue is found empty.
std::atomic<bool> g_event_pushed{false};

int note_pushed(void*, SDL_Event*) {
    g_event_pushed.store(true, std::memory_order_release);
    return 1;
}

// The next event: from the window system where there is one; with no display
// there is nothing to pump, only what the program itself pushed, and no
// lock of SDL's queue is taken while nothing was.
bool next_event(SDL_Event* e) {
    if (!no_display()) return SDL_PollEvent(e) != 0;
    if (!g_event_pushed.load(std::memory_order_acquire)) return false;
    if (SDL_PeepEvents(e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) return true;
    g_event_pushed.store(false, std::memory_order_release);
    return false;
}

uint32_t vk_from_sdl(SDL_Keycode key, SDL_Scancode scan) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<uint32_t>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + static_cast<uint32_t>(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + static_cast<uint32_t>(key - SDLK_F1);
    if (scan >= SDL_SCANCODE_KP_1 && scan <= SDL_SCANCODE_KP_9)
        return VK_NUMPAD0 + 1 + static_cast<uint32_t>(scan - SDL_SCANCODE_KP_1);
    switch (key) {
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    case SDLK_PAUSE:
        return VK_PAUSE;
    case SDLK_CAPSLOCK:
        return VK_CAPITAL;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_END:
        return VK_END;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_KP_0:
        return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY:
        return VK_MULTIPLY;
    case SDLK_KP_PLUS:
        return VK_ADD;
    case SDLK_KP_MINUS:
        return VK_SUBTRACT;
    case SDLK_KP_PERIOD:
        return VK_DECIMAL;
    case SDLK_KP_DIVIDE:
        return VK_DIVIDE;
    case SDLK_SEMICOLON:
        return VK_OEM_1;
    case SDLK_EQUALS:
        return VK_OEM_PLUS;
    case SDLK_COMMA:
        return VK_OEM_COMMA;
    case SDLK_MINUS:
        return VK_OEM_MINUS;
    case SDLK_PERIOD:
        return VK_OEM_PERIOD;
    case SDLK_SLASH:
        return VK_OEM_2;
    case SDLK_BACKQUOTE:
        return VK_OEM_3;
    case SDLK_LEFTBRACKET:
        return VK_OEM_4;
    case SDLK_BACKSLASH:
        return VK_OEM_5;
    case SDLK_RIGHTBRACKET:
        return VK_OEM_6;
    case SDLK_QUOTE:
        return VK_OEM_7;
    default:
        return 0;
    }
}

uint32_t texture_format(PlatPixelFormat format) {
    switch (format) {
    case PLAT_RGB555:
        return SDL_PIXELFORMAT_RGB555;
    case PLAT_BGR565:
        return SDL_PIXELFORMAT_BGR565;
    case PLAT_RGB444:
        return SDL_PIXELFORMAT_RGB444;
    default:
        return SDL_PIXELFORMAT_RGB565;
    }
}

// Whole-factor scaling where the picture fits; where it does not (a display
// or a window smaller than the picture) it is scaled down whole, keeping its
// proportions, rather than cut.
void fit_picture() {
    int out_w = 0, out_h = 0, w = 0, h = 0;
    if (!g_renderer || SDL_GetRendererOutputSize(g_renderer, &out_w, &out_h) != 0) return;
    SDL_RenderGetLogicalSize(g_renderer, &w, &h);
    SDL_RenderSetIntegerScale(g_renderer, out_w >= w && out_h >= h ? SDL_TRUE : SDL_FALSE);
}

// Smaller than the picture, the window would cut off its edges (the
// toolbar, the side panel). The size hint lives on the X window, which a
// renderer that needs OpenGL makes anew: it is set again after that.
void keep_minimum_size() {
    if (g_window.sdl && !no_display()) SDL_SetWindowMinimumSize(g_window.sdl, 640, 480);
}

void destroy_display() {
    if (g_texture) SDL_DestroyTexture(g_texture);
    if (g_renderer) SDL_DestroyRenderer(g_renderer);
    g_texture = nullptr;
    g_renderer = nullptr;
}

} // namespace

bool plat_init() {
    plat_shutdown();
    g_headless = env_on("KARVO_HEADLESS");
    g_windowed = env_on("KARVO_WINDOWED");
    plat_queue_reset();
    plat_script_reset();
    plat_surface_reset();
    plat_clock_reset(g_headless);
    mci_reset();
    plat_audio_test_fail(0);
    g_fail_display_step = 0;
    g_box_count = 0;
    g_last_box.clear();
    g_last_caption.clear();
    g_window_made = false;
    g_window_destroyed = false;
    if (g_headless) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
    // Our own handlers, so that SIGINT and SIGTERM close the program also
    // where no event is polled, and a second signal ends it at once.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The click that gives the window the focus back also counts as a click.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    plat_stop_signals_install();
    g_init_error.clear();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        g_init_error = std::string("cannot start SDL: ") + SDL_GetError();
        return false;
    }
    g_sdl_started = true;
    g_dummy_driver = -1;
    // Whatever SDL queued while starting is looked at once.
    g_event_pushed = true;
    SDL_AddEventWatch(note_pushed, nullptr);
    if (const char* script = std::getenv("KARVO_SCRIPT"); script && *script) {
        std::string error;
        if (!plat_script_load(script, &error)) {
            g_init_error = error;
            plat_shutdown();
            return false;
        }
        plat_script_set_close_at_end(true);
    }
    return true;
}

const char* plat_init_error() {
    return g_init_error.c_str();
}

void plat_shutdown() {
    plat_tick_stop();
    mci_close_all();
    plat_audio_close();
    destroy_display();
    if (g_window.sdl) SDL_DestroyWindow(g_window.sdl);
    g_window.sdl = nullptr;
    if (g_sdl_started) {
        SDL_DelEventWatch(note_pushed, nullptr);
        SDL_Quit();
    }
    g_sdl_started = false;
    g_dummy_driver = -1;
}

bool plat_headless() {
    return g_headless;
}
bool plat_windowed() {
    return g_windowed;
}

PlatWindow plat_create_window(const char* title, PlatWndProc proc) {
    if (!g_sdl_started) return nullptr;
    uint32_t flags = SDL_WINDOW_HIDDEN;
    int w = 640, h = 480;
    if (!no_display()) {
        if (g_windowed) {
            // The largest whole multiple of 640 x 480 that leaves room on the screen.
            SDL_DisplayMode mode;
            int k = 1;
            if (SDL_GetDesktopDisplayMode(0, &mode) == 0)
                k = std::max(1, std::min((mode.w - 80) / 640, (mode.h - 120) / 480));
            w *= k;
            h *= k;
            flags |= SDL_WINDOW_RESIZABLE;
        } else {
            flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        }
    }
    g_window.sdl =
        SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, flags);
    if (!g_window.sdl) {
        std::fprintf(stderr, "karvo: cannot create the window: %s\n", SDL_GetError());
        return nullptr;
    }
    keep_minimum_size();
    g_window_made = true;
    g_window_destroyed = false;
    plat_set_window_proc(&g_window, proc);
    return &g_window;
}

void plat_show_window() {
    if (!g_window.sdl) return;
    SDL_ShowWindow(g_window.sdl);
    plat_invalidate_rect(nullptr); // a window shown for the first time needs painting
    // The program starts active, whether or not a window system says so.
    plat_input_activate(true);
}

void plat_destroy_window() {
    if (!g_window_made || g_window_destroyed) return;
    g_window_destroyed = true;
    plat_send_message(WM_DESTROY, 0, 0);
    destroy_display();
    if (g_window.sdl) SDL_DestroyWindow(g_window.sdl);
    g_window.sdl = nullptr;
}

bool plat_window_destroyed() {
    return g_window_destroyed;
}

void plat_show_system_cursor(bool show) {
    if (g_sdl_started && !no_display()) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void plat_set_focus() {
    if (g_window.sdl && !no_display()) SDL_RaiseWindow(g_window.sdl);
}

bool plat_display_open() {
    if (g_fail_display_step == 1) return false;
    if (no_display() || !g_window.sdl) return true; // surfaces in memory are all there is
    g_renderer = SDL_CreateRenderer(g_window.sdl, -1, SDL_RENDERER_ACCELERATED);
    if (!g_renderer) g_renderer = SDL_CreateRenderer(g_window.sdl, -1, SDL_RENDERER_SOFTWARE);
    keep_minimum_size();
    return g_renderer != nullptr;
}

bool plat_display_set_mode(int32_t width, int32_t height, int32_t bits) {
    if (g_fail_display_step == 2 || bits != 16) return false;
    if (!g_renderer) return true;
    // Whole-factor scaling, centred, black around.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    if (SDL_RenderSetLogicalSize(g_renderer, width, height) != 0) return false;
    fit_picture();
    g_texture = SDL_CreateTexture(g_renderer, texture_format(plat_pixel_format()),
                                  SDL_TEXTUREACCESS_STREAMING, width, height);
    return g_texture != nullptr;
}

void plat_display_close() {
    destroy_display();
}

void plat_test_fail_display(int step) {
    g_fail_display_step = step;
}

static SDL_Window* plat_message_box_owner() {
    // A window not shown yet has no place on the screen: a box owned by it
    // would sit at its corner. Without an owner the box is centred on the screen.
    if (!g_window.sdl || (SDL_GetWindowFlags(g_window.sdl) & SDL_WINDOW_SHOWN) == 0) return nullptr;
    return g_window.sdl;
}

void plat_message_box(const char* text, const char* caption, uint32_t flags) {
    ++g_box_count;
    g_last_box = text ? text : "";
    g_last_caption = caption ? caption : "";
    bool shown = false;
    if (!no_display()) {
        plat_stop_signals_box_up(true);
        shown = SDL_ShowSimpleMessageBox(
                    (flags & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION,
                    caption ? caption : "", text ? text : "", plat_message_box_owner()) == 0;
        plat_stop_signals_box_up(false);
    }
    if (!shown) std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
}

int plat_message_box_count() {
    return g_box_count;
}
const char* plat_last_message_box() {
    return g_last_box.c_str();
}
const char* plat_last_message_box_caption() {
    return g_last_caption.c_str();
}
bool plat_message_box_centred_on_screen() {
    return plat_message_box_owner() == nullptr;
}

void plat_window_pump() {
    if (!g_sdl_started) return;
    SDL_Event e;
    while (next_event(&e)) {
        switch (e.type) {
        case SDL_QUIT:
            plat_request_close();
            break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
            case SDL_WINDOWEVENT_CLOSE:
                plat_request_close();
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                plat_input_activate(true);
                break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                plat_input_activate(false);
                break;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                fit_picture();
                plat_primary_changed();
                break;
            case SDL_WINDOWEVENT_EXPOSED:
                plat_primary_changed();
                break;
            default:
                break;
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (uint32_t vk = vk_from_sdl(e.key.keysym.sym, e.key.keysym.scancode))
                plat_input_key(vk, e.type == SDL_KEYDOWN);
            break;
        case SDL_MOUSEMOTION:
            plat_input_mouse_move(e.motion.x, e.motion.y);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            bool down = e.type == SDL_MOUSEBUTTONDOWN;
            uint32_t msg = 0;
            if (e.button.button == SDL_BUTTON_LEFT) msg = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            if (e.button.button == SDL_BUTTON_RIGHT) msg = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            if (!msg) break;
            int x, y;
            plat_get_cursor_pos(&x, &y);
            if (e.button.x != x || e.button.y != y) plat_input_mouse_move(e.button.x, e.button.y);
            plat_input_button(msg);
            break;
        }
        default:
            break;
        }
    }
    plat_window_present();
}

void plat_window_present() {
    plat_run_cursor_hook();
    if (!g_renderer || !g_texture) return;
    PlatSurface* primary = plat_primary_surface();
    if (!primary || !plat_take_primary_changed()) return;
    // A primary surface made in another format than the display's is shown
    // in its own.
    uint32_t format = 0;
    int w = 0, h = 0;
    SDL_QueryTexture(g_texture, &format, nullptr, &w, &h);
    if (format != texture_format(primary->format)) {
        SDL_Texture* t = SDL_CreateTexture(g_renderer, texture_format(primary->format),
                                           SDL_TEXTUREACCESS_STREAMING, w, h);
        if (!t) return;
        SDL_DestroyTexture(g_texture);
        g_texture = t;
    }
    SDL_UpdateTexture(g_texture, nullptr, primary->pixels, primary->pitch);
    SDL_SetRenderDrawColor(g_renderer, 0, 0, 0, 255);
    SDL_RenderClear(g_renderer);
    SDL_RenderCopy(g_renderer, g_texture, nullptr, nullptr);
    SDL_RenderPresent(g_renderer);
}

void plat_window_test_resize(int width, int height) {
    if (g_window.sdl && !no_display()) SDL_SetWindowSize(g_window.sdl, width, height);
    plat_window_pump();
}

bool plat_window_picture_geometry(int* window_w, int* window_h, PlatRect* picture) {
    if (!g_renderer || !g_texture) return false;
    int out_w = 0, out_h = 0, w = 0, h = 0;
    SDL_GetRendererOutputSize(g_renderer, &out_w, &out_h);
    SDL_QueryTexture(g_texture, nullptr, nullptr, &w, &h);
    SDL_Rect vp;
    float sx = 1, sy = 1;
    SDL_RenderGetViewport(g_renderer, &vp);
    SDL_RenderGetScale(g_renderer, &sx, &sy);
    *window_w = out_w;
    *window_h = out_h;
    picture->left = static_cast<int32_t>(vp.x * sx);
    picture->top = static_cast<int32_t>(vp.y * sy);
    picture->right = static_cast<int32_t>((vp.x + w) * sx);
    picture->bottom = static_cast<int32_t>((vp.y + h) * sy);
    return true;
}

void plat_window_warp_mouse(int x, int y) {
    if (!g_renderer || !g_window.sdl) return;
    SDL_Rect vp;
    float sx = 1, sy = 1;
    SDL_RenderGetViewport(g_renderer, &vp);
    SDL_RenderGetScale(g_renderer, &sx, &sy);
    SDL_WarpMouseInWindow(g_window.sdl, static_cast<int>((x + vp.x) * sx),
                          static_cast<int>((y + vp.y) * sy));
}
