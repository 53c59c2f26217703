#include "engine/shown.h"

#include <cstring>

namespace {
std::vector<ShownEvent> log_events;
}

void shown_record(Shown kind, int32_t number, uint32_t ms, const char* text) {
    // Drop the older half at once rather than one event at a time: the log is
    // read in bursts by tests and the runner, never as a sliding window.
    if (log_events.size() >= SHOWN_LOG_CAPACITY)
        log_events.erase(log_events.begin(), log_events.begin() + SHOWN_LOG_CAPACITY / 2);
    log_events.push_back({kind, number, ms, text ? std::string(text) : std::string()});
}

const std::vector<ShownEvent>& shown_log() {
    return log_events;
}

void shown_clear() {
    log_events.clear();
}

size_t shown_count(Shown kind, int32_t number) {
    size_t n = 0;
    for (const ShownEvent& e : log_events)
        if (e.kind == kind && (number == -1 || e.number == number)) ++n;
    return n;
}

const ShownEvent* shown_find_text(Shown kind, const char* needle) {
    for (const ShownEvent& e : log_events)
        if (e.kind == kind && std::strstr(e.text.c_str(), needle)) return &e;
    return nullptr;
}
