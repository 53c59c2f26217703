#include "board/decisions.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "board/world_reset.h"
#include "engine/cursor.h"
#include "engine/message.h"
#include "engine/surfaces.h"

namespace {

struct DecisionState {
    std::deque<int> script;
    DecisionAnswerer answerer = nullptr;
    void* context = nullptr;
    int asked = 0;
    DecisionKind last_kind = DECIDE_BUY;
    int last_player = -1;
    int32_t last_amount = 0;
    int32_t last_object = 0;
    std::string last_text;
};

DecisionState& state() {
    static DecisionState s;
    return s;
}

// Registered kinds; the table is filled by file-scope initialisers and never
// cleared, so it lives outside the state the world reset forgets.
struct RegisteredKind {
    bool registered = false;
    DecisionKindInfo info;
};
std::array<RegisteredKind, DECIDE_KIND_COUNT>& registered_kinds() {
    static std::array<RegisteredKind, DECIDE_KIND_COUNT> kinds;
    return kinds;
}

const RegisteredKind* registered(DecisionKind kind) {
    if (kind < 0 || kind >= DECIDE_KIND_COUNT) return nullptr;
    const RegisteredKind& k = registered_kinds()[kind];
    return k.registered ? &k : nullptr;
}

int normalise(const DecisionRequest& r, int answer) {
    if (r.kind == DECIDE_FACILITY_KIND) return (answer >= 0 && answer <= 4) ? answer : 0;
    if (r.kind <= DECIDE_SPIN_STOP) return answer != 0 ? 1 : 0;
    if (const RegisteredKind* k = registered(r.kind)) {
        if (k->info.accepts != nullptr && !k->info.accepts(r, answer)) return k->info.cancel;
        return answer;
    }
    return answer; // a kind this program links no window for
}

// A window asks with the cursor shown, whatever the command that opened it
// did with the cursor (the toolbar's commands hide it while they run); the
// mode is given back when it closes.
int ask_window_with_cursor(const RegisteredKind& k, const DecisionRequest& r) {
    if (k.info.ask_window == nullptr) return k.info.cancel;
    // The facility-kind dialog puts the pointer where it wants it itself, and
    // the spinners show it when they open.
    if (r.kind <= DECIDE_SPIN_STOP) return k.info.ask_window(r);
    const uint8_t mode = cursor_get_mode();
    const bool show = primary_surface != nullptr && mode != 1;
    if (show) cursor_set_mode(1);
    const int answer = k.info.ask_window(r);
    if (show && cursor_get_mode() == 1) cursor_set_mode(mode);
    return answer;
}

int ask_screens(const DecisionRequest& r) {
    if (const RegisteredKind* k = registered(r.kind)) return ask_window_with_cursor(*k, r);
    // A kind this program links no window for (a test without that module)
    // answers as its cancel would: the park, a spin that stops at the first
    // tick.
    if (r.kind == DECIDE_FACILITY_KIND) return 0;
    if (r.kind == DECIDE_SPIN_STOP) return 1;
    if (r.kind > DECIDE_SPIN_STOP)
        return r.kind == DECIDE_PLAYER || r.kind == DECIDE_FACILITY_KIND_CANCEL ? -1 : 0;
    return msg_ask_yes_no(r.text != nullptr ? r.text : "");
}

} // namespace

void decision_register_kind(DecisionKind kind, const DecisionKindInfo& info) {
    if (kind < DECIDE_FACILITY_KIND || kind >= DECIDE_KIND_COUNT ||
        registered_kinds()[kind].registered) {
        std::fprintf(stderr, "decision kind %d registered twice or out of range\n", kind);
        std::abort();
    }
    registered_kinds()[kind] = RegisteredKind{true, info};
}

void decisions_reset() {
    state() = DecisionState{};
}

void decision_set_answerer(DecisionAnswerer answerer, void* context) {
    state().answerer = answerer;
    state().context = context;
}

int decide(const DecisionRequest& r) {
    DecisionState& s = state();
    ++s.asked;
    s.last_kind = r.kind;
    s.last_player = r.player;
    s.last_amount = r.amount;
    s.last_object = r.object;
    s.last_text = r.text != nullptr ? r.text : "";
    int answer;
    if (!s.script.empty()) {
        answer = s.script.front();
        s.script.pop_front();
    } else if (s.answerer != nullptr) {
        answer = s.answerer(r, s.context);
    } else {
        answer = ask_screens(r);
    }
    return normalise(r, answer);
}

bool decide_yes_no(DecisionKind kind, int player, const char* text, int32_t amount,
                   int32_t object) {
    return decide(DecisionRequest{kind, player, text, amount, object}) == 1;
}

int decide_facility_kind(int player, int32_t object) {
    return decide(DecisionRequest{DECIDE_FACILITY_KIND, player, nullptr, 0, object});
}

void decision_script_push(int answer) {
    state().script.push_back(answer);
}
void decision_script_clear() {
    state().script.clear();
}
int decision_script_left() {
    return static_cast<int>(state().script.size());
}

int decision_asked_count() {
    return state().asked;
}
DecisionKind decision_last_kind() {
    return state().last_kind;
}
int decision_last_player() {
    return state().last_player;
}
int32_t decision_last_amount() {
    return state().last_amount;
}
int32_t decision_last_object() {
    return state().last_object;
}
const std::string& decision_last_text() {
    return state().last_text;
}

WORLD_RESET(WORLD_RESET_DECISIONS, decisions_reset)
