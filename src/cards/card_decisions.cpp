// The decisions of the card rules and what each accepts: an answer from the
// script or an answerer that these windows would refuse counts as their
// cancel. The windows themselves plug in here.
#include "board/decisions.h"
#include "cards/cards.h"
#include "engine/message.h"
#include "finance/stock.h"
#include "finance/stock_screen.h"

namespace {

// DECIDE_CARD_PICK: a card the deciding player holds, or 0 (the window closed).
bool accepts_card(const DecisionRequest& r, int answer) {
    return answer == 0 || (is_player_seat(r.player) && answer >= 1 && answer <= CARD_KIND_COUNT &&
                           card_has(r.player, answer));
}

// DECIDE_THIEF_PICK (object = the victim, param = with_items): what the
// thief's window offers, or 0.
bool accepts_theft(const DecisionRequest& r, int answer) {
    return card_steal_accepts(r.object, r.player, r.param, answer) == 1;
}

// DECIDE_USE_CARD: yes or no.
bool accepts_yes_no(const DecisionRequest&, int answer) {
    return answer == 0 || answer == 1;
}
int ask_yes_no(const DecisionRequest& r) {
    return msg_ask_yes_no(r.text != nullptr ? r.text : "");
}

// DECIDE_COMPANY (param = 1 rising, 2 falling): a listed company on a day
// the market is open, or 0.
bool accepts_company(const DecisionRequest&, int answer) {
    return answer == 0 || (answer >= 1 && answer <= STOCK_COUNT && stock_market_closed() == 0);
}
int ask_exchange(const DecisionRequest& r) {
    return stock_open_exchange(r.param);
}

} // namespace

DECISION_KIND(DECIDE_CARD_PICK, nullptr, accepts_card, 0);
DECISION_KIND(DECIDE_THIEF_PICK, nullptr, accepts_theft, 0);
DECISION_KIND(DECIDE_USE_CARD, ask_yes_no, accepts_yes_no, 0);
DECISION_KIND(DECIDE_COMPANY, ask_exchange, accepts_company, 0);
