#include "finance/notice_board_screen.h"

#include "board/board_refresh.h"
#include "board/decisions.h"
#include "finance/notice_board.h"

namespace {

int ask_action(const DecisionRequest&) {
    return NOTICE_ACTION_EXIT;
}
bool accepts_action(const DecisionRequest& r, int answer) {
    return notice_action_allowed(r.player, answer);
}
int ask_post(const DecisionRequest&) {
    return 0;
}
bool accepts_post(const DecisionRequest& r, int answer) {
    return notice_post_allowed(r.player, r.param, answer);
}

} // namespace

DECISION_KIND(DECIDE_BOARD_ACTION, ask_action, accepts_action, NOTICE_ACTION_EXIT);
DECISION_KIND(DECIDE_BOARD_POST, ask_post, accepts_post, 0);

void notice_screen_open(int) {}
void notice_screen_close() {}
