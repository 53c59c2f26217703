#include "support/scripted_session.h"

#include <algorithm>

#include "platform/clock.h"

void session_fail(ScriptedSession& s, const std::string& what) {
    s.failures.push_back(what + " (stage " + std::to_string(s.stage) + ", " +
                         std::to_string(plat_tick_count()) + " ms)");
}

void session_at(ScriptedSession& s, uint32_t delay, PlatScriptKind kind, int a, int b) {
    PlatScriptEvent e;
    e.time = plat_tick_count() + delay;
    e.kind = kind;
    e.a = a;
    e.b = b;
    plat_script_add(e);
    s.next_at = std::max(s.next_at, e.time + 50); // its message taken meanwhile
}

void session_click(ScriptedSession& s, uint32_t delay, int x, int y) {
    session_at(s, delay, SCRIPT_MOUSE_MOVE, x, y);
    session_at(s, delay + 50, SCRIPT_LEFT_DOWN);
    session_at(s, delay + 100, SCRIPT_LEFT_UP);
}

void session_toolbar(ScriptedSession& s, uint32_t delay, ToolbarCommand command) {
    session_click(s, delay, toolbar_button_centre_x(command), TOOLBAR_BUTTON_CENTRE_Y);
}

void session_keep_alive() {
    uint32_t t;
    if (plat_script_next_time(&t)) return;
    PlatScriptEvent e;
    e.time = plat_tick_count() + 200;
    e.kind = SCRIPT_NOTHING;
    plat_script_add(e);
}

uint16_t surface_pixel(const PlatSurface* surface, int x, int y) {
    return surface->pixels[y * (surface->pitch / 2) + x];
}
