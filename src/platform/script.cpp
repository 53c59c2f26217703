#include "platform/script.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <iterator>
#include <sstream>
#include <vector>

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

// Times are kept below 2^31 ms (some 24 days): the release compares them
// with the clock by signed difference.
constexpr uint64_t MAX_TIME = 0x7FFFFFFF;
constexpr uint64_t MAX_COORDINATE = 32767;

// A whole number in decimal, or hexadecimal after "0x": no sign, no other
// base, nothing after it, and no larger than `max` (so nothing wraps).
bool parse_number(const std::string& s, uint64_t max, uint64_t* out) {
    size_t i = 0;
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) base = 16, i = 2;
    if (i >= s.size()) return false;
    uint64_t v = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (v > max) return false;
    }
    *out = v;
    return true;
}

bool parse_arg(const std::string& s, uint64_t max, int32_t* out) {
    uint64_t v = 0;
    if (!parse_number(s, max, &v)) return false;
    *out = static_cast<int32_t>(v);
    return true;
}

// Reads one line's event; false when it is not one.
bool parse_line(const std::string& line, bool* empty, PlatScriptEvent* ev) {
    std::istringstream words(line);
    std::string time_word, name;
    *empty = !(words >> time_word);
    if (*empty) return true;
    std::string args[3], extra;
    words >> name >> args[0] >> args[1] >> args[2] >> extra;
    if (!extra.empty()) return false;
    uint64_t t = 0;
    if (!parse_number(time_word, MAX_TIME, &t)) return false;
    ev->time = static_cast<uint32_t>(t);
    int needed = 0;
    uint64_t max = MAX_COORDINATE;
    if (name == "move")
        ev->kind = SCRIPT_MOUSE_MOVE, needed = 2;
    else if (name == "ldown")
        ev->kind = SCRIPT_LEFT_DOWN;
    else if (name == "lup")
        ev->kind = SCRIPT_LEFT_UP;
    else if (name == "rdown")
        ev->kind = SCRIPT_RIGHT_DOWN;
    else if (name == "rup")
        ev->kind = SCRIPT_RIGHT_UP;
    else if (name == "keydown")
        ev->kind = SCRIPT_KEY_DOWN, needed = 1, max = 255;
    else if (name == "keyup")
        ev->kind = SCRIPT_KEY_UP, needed = 1, max = 255;
    else if (name == "activate")
        ev->kind = SCRIPT_ACTIVATE, needed = 1, max = 1;
    else if (name == "close")
        ev->kind = SCRIPT_CLOSE;
    else if (name == "nothing")
        ev->kind = SCRIPT_NOTHING;
    else
        return false;
    if (needed >= 1 && !parse_arg(args[0], max, &ev->a)) return false;
    if (needed >= 2 && !parse_arg(args[1], max, &ev->b)) return false;
    if (needed == 0 && !args[0].empty()) {
        // The optional position of a button event.
        const bool button = ev->kind >= SCRIPT_LEFT_DOWN && ev->kind <= SCRIPT_RIGHT_UP;
        return button && parse_arg(args[0], max, &ev->a) && parse_arg(args[1], max, &ev->b) &&
               args[2].empty();
    }
    return args[needed].empty(); // no stray words
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

// A refused line as the error quotes it: its first bytes only (a line may be
// megabytes long), each byte one cannot see, or one that would end the quote,
// escaped (a NUL would cut the message, a byte-order mark hide in it).
std::string quote_line(const std::string& line) {
    constexpr size_t SHOWN = 48;
    std::string q = "\"";
    for (size_t i = 0; i < line.size() && i < SHOWN; ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c == '"' || c == '\\') {
            q += '\\';
            q += static_cast<char>(c);
        } else if (c < 0x20 || c > 0x7E) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            q += hex;
        } else {
            q += static_cast<char>(c);
        }
    }
    q += '"';
    if (line.size() > SHOWN) q += "... (" + std::to_string(line.size()) + " bytes)";
    return q;
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
    std::vector<PlatScriptEvent> read;
    size_t at = 0;
    int number = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string words = line;
        if (auto hash = words.find('#'); hash != std::string::npos) words.erase(hash);
        PlatScriptEvent ev;
        bool empty = false;
        if (!parse_line(words, &empty, &ev)) {
            if (error)
                *error =
                    "script line " + std::to_string(number) + ": cannot read " + quote_line(line);
            return false;
        }
        if (!empty) read.push_back(ev);
    }
    // Sorted once, equal times in the order written, after the events of the
    // same time already there: as adding them one by one would.
    const auto by_time = [](const PlatScriptEvent& x, const PlatScriptEvent& y) {
        return x.time < y.time;
    };
    std::stable_sort(read.begin(), read.end(), by_time);
    std::deque<PlatScriptEvent> merged;
    std::merge(g_events.begin(), g_events.end(), read.begin(), read.end(),
               std::back_inserter(merged), by_time);
    g_events.swap(merged);
    return true;
}

bool plat_script_load(const char* path, std::string* error) {
    const std::string name = path ? path : "";
    const std::string where = plat_search_place(name.c_str());
    std::string text, problem;
    if (!plat_read_regular_file(name, PLAT_SCRIPT_MAX_BYTES, &text, &problem)) {
        if (error) *error = "cannot open script " + name + " in " + where + ": " + problem;
        return false;
    }
    return plat_script_parse(text, error);
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
