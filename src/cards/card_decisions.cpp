// The card rules' own decision, the use of a card that acts by itself, and
// what it accepts: an answer from the script or an answerer other than yes or
// no counts as no. The card, thief and company picks are registered by their
// windows (card_screen.cpp, finance/stock_screen.cpp).
#include "board/decisions.h"
#include "engine/message.h"

namespace {

// DECIDE_USE_CARD: yes or no.
bool accepts_yes_no(const DecisionRequest&, int answer) {
    return answer == 0 || answer == 1;
}
int ask_yes_no(const DecisionRequest& r) {
    return msg_ask_yes_no(r.text != nullptr ? r.text : "");
}

} // namespace

DECISION_KIND(DECIDE_USE_CARD, ask_yes_no, accepts_yes_no, 0);
