#include "platform/script.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <fstream>
#include <sstream>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/queue.h"

namespace {

constexpr uint32_t DEFAULT_TIME_LIMIT = 4u * 60u * 60u * 1000u; // four hours of game time

std::deque<PlatScriptEvent> g_events;
bool g_close_at_end = false;
uint32_t g_time_limit = DEFAULT_TIME_LIMIT;
bool g_releasing = false;
bool g_limit_reported = false; // the closing message is printed once

bool parse_int(const std::string& s, int32_t* out) {
    if (s.empty()) return false;
    try {
        size_t used = 0;
        long v = std::stol(s, &used, 0);
        if (used != s.size()) return false;
        *out = static_cast<int32_t>(v);
        return true;
    } catch (...) {
        return false;
    }
}

void feed(const PlatScriptEvent& ev) {
    auto at_point = [&] {
        if (ev.a >= 0 && ev.b >= 0) plat_set_cursor_pos(ev.a, ev.b);
    };
    switch (ev.kind) {
    case SCRIPT_NOTHING:
        break;
    case SCRIPT_MOUSE_MOVE:
        plat_set_cursor_pos(ev.a, ev.b);
        break;
    case SCRIPT_LEFT_DOWN:
        at_point();
        plat_input_button(WM_LBUTTONDOWN);
        break;
    case SCRIPT_LEFT_UP:
        at_point();
        plat_input_button(WM_LBUTTONUP);
        break;
    case SCRIPT_RIGHT_DOWN:
        at_point();
        plat_input_button(WM_RBUTTONDOWN);
        break;
    case SCRIPT_RIGHT_UP:
        at_point();
        plat_input_button(WM_RBUTTONUP);
        break;
    case SCRIPT_KEY_DOWN:
        plat_input_key(static_cast<uint32_t>(ev.a), true);
        break;
    case SCRIPT_KEY_UP:
        plat_input_key(static_cast<uint32_t>(ev.a), false);
        break;
    case SCRIPT_ACTIVATE:
        plat_input_activate(ev.a != 0);
        break;
    case SCRIPT_CLOSE:
        plat_request_close();
        break;
    }
}

} // namespace

void plat_script_reset() {
    g_events.clear();
    g_close_at_end = false;
    g_time_limit = DEFAULT_TIME_LIMIT;
    g_releasing = false;
    g_limit_reported = false;
}

void plat_script_add(const PlatScriptEvent& ev) {
    auto it = std::upper_bound(g_events.begin(), g_events.end(), ev.time,
                               [](uint32_t t, const PlatScriptEvent& e) { return t < e.time; });
    g_events.insert(it, ev);
}

bool plat_script_parse(const std::string& text, std::string* error) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string time_word, name;
        if (!(words >> time_word)) continue;
        std::string args[3];
        words >> name >> args[0] >> args[1] >> args[2];
        PlatScriptEvent ev;
        int32_t t = 0;
        bool ok = parse_int(time_word, &t) && t >= 0;
        ev.time = static_cast<uint32_t>(t);
        auto arg = [&](int i, int32_t* v) { return parse_int(args[i], v); };
        int needed = 0;
        if (name == "move")
            ev.kind = SCRIPT_MOUSE_MOVE, needed = 2;
        else if (name == "ldown")
            ev.kind = SCRIPT_LEFT_DOWN;
        else if (name == "lup")
            ev.kind = SCRIPT_LEFT_UP;
        else if (name == "rdown")
            ev.kind = SCRIPT_RIGHT_DOWN;
        else if (name == "rup")
            ev.kind = SCRIPT_RIGHT_UP;
        else if (name == "keydown")
            ev.kind = SCRIPT_KEY_DOWN, needed = 1;
        else if (name == "keyup")
            ev.kind = SCRIPT_KEY_UP, needed = 1;
        else if (name == "activate")
            ev.kind = SCRIPT_ACTIVATE, needed = 1;
        else if (name == "close")
            ev.kind = SCRIPT_CLOSE;
        else if (name == "nothing")
            ev.kind = SCRIPT_NOTHING;
        else
            ok = false;
        if (ok && needed >= 1) ok = arg(0, &ev.a);
        if (ok && needed >= 2) ok = arg(1, &ev.b);
        if (ok && needed == 0 && !args[0].empty()) {
            // Optional position of a button event.
            ok = arg(0, &ev.a) && arg(1, &ev.b) && args[2].empty();
        } else if (ok && !args[needed].empty()) {
            ok = false; // stray words
        }
        if (ok && ev.kind == SCRIPT_KEY_DOWN) ok = ev.a >= 0 && ev.a <= 255;
        if (ok && ev.kind == SCRIPT_KEY_UP) ok = ev.a >= 0 && ev.a <= 255;
        if (!ok) {
            if (error)
                *error = "script line " + std::to_string(number) + ": cannot read \"" + line + "\"";
            return false;
        }
        plat_script_add(ev);
    }
    return true;
}

bool plat_script_load(const char* path, std::string* error) {
    std::ifstream f(path ? path : "");
    if (!f) {
        if (error)
            *error = std::string("cannot open script ") + (path ? path : "") + " in " +
                     plat_search_place(path ? path : "");
        return false;
    }
    std::stringstream text;
    text << f.rdbuf();
    return plat_script_parse(text.str(), error);
}

void plat_script_set_close_at_end(bool on) {
    g_close_at_end = on;
}
bool plat_script_close_at_end() {
    return g_close_at_end;
}

void plat_script_set_time_limit(uint32_t ms) {
    g_time_limit = ms;
}
bool plat_script_past_time_limit(uint32_t t) {
    if (t <= g_time_limit) return false;
    if (!g_limit_reported)
        std::fprintf(stderr, "karvo: scripted run passed %u ms of game time; closing\n",
                     g_time_limit);
    g_limit_reported = true;
    return true;
}

bool plat_script_next_time(uint32_t* t) {
    if (g_events.empty()) return false;
    *t = g_events.front().time;
    return true;
}

void plat_script_release_due() {
    // Feeding may call the window procedure (activation), which may take
    // messages again; the events of this moment are fed only once.
    if (g_releasing) return;
    g_releasing = true;
    uint32_t now = plat_tick_count();
    while (!g_events.empty() && static_cast<int32_t>(now - g_events.front().time) >= 0) {
        PlatScriptEvent ev = g_events.front();
        g_events.pop_front();
        feed(ev);
    }
    g_releasing = false;
}
