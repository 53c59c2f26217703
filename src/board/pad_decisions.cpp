// The two decisions every window may ask on top of its own: a number from
// the number pad and a yes/no from the confirmation pop-up. The engine's pad
// and pop-up know nothing of decisions; these kinds put them behind the
// decision seam so that scripts and answerers reach them too.
#include "board/decisions.h"
#include "engine/confirm.h"
#include "engine/message.h"
#include "engine/numpad.h"

namespace {

// The caller's question stands beside the pad while it is open.
int ask_number(const DecisionRequest& r) {
    if (r.text != nullptr && r.text[0] != '\0') return msg_ask_number(r.text, r.amount);
    return numpad_input(r.amount);
}
bool accepts_number(const DecisionRequest& r, int answer) {
    return answer >= 0 && answer <= r.amount;
}

int ask_confirm(const DecisionRequest& r) {
    int x = 320, y = 240;
    if (r.param != 0) decision_confirm_point(r.param, &x, &y);
    return confirm_ask(x, y);
}
bool accepts_yes_no(const DecisionRequest&, int answer) {
    return answer == 0 || answer == 1;
}

} // namespace

DECISION_KIND(DECIDE_NUMBER, ask_number, accepts_number, 0);
DECISION_KIND(DECIDE_CONFIRM, ask_confirm, accepts_yes_no, 0);

int32_t decision_confirm_param(int x, int y) {
    return static_cast<int32_t>((static_cast<uint32_t>(y) << 16) |
                                static_cast<uint32_t>(x & 0xFFFF));
}

void decision_confirm_point(int32_t param, int* x, int* y) {
    *x = static_cast<int>(static_cast<uint32_t>(param) & 0xFFFF);
    *y = static_cast<int>(static_cast<uint32_t>(param) >> 16);
}

int decide_number(int player, const char* text, int32_t most, int32_t object) {
    if (most <= 0) return 0;
    return decide(DecisionRequest{DECIDE_NUMBER, player, text, most, object});
}

bool decide_confirm(int player, const char* text, int x, int y, int32_t object) {
    DecisionRequest r{DECIDE_CONFIRM, player, text, 0, object};
    r.param = decision_confirm_param(x, y);
    return decide(r) == 1;
}
