// The two decisions of the item command: the item menu's pick and the remote
// dice's face. Their windows are the default source of the answers; an
// answer a window could not give counts as closing it.
#include "board/decisions.h"
#include "cards/item_screen.h"
#include "cards/item_use.h"

namespace {

// An item held, or leaving the motorbike or car while riding it; 0 closes.
bool accepts_item(const DecisionRequest& r, int answer) {
    return answer == 0 || item_menu_offers(r.player, answer) == 1;
}

// A face 1..6; 0 closes.
bool accepts_face(const DecisionRequest&, int answer) {
    return answer >= 0 && answer <= 6;
}

} // namespace

DECISION_KIND(DECIDE_ITEM_PICK, item_menu_window, accepts_item, 0);
DECISION_KIND(DECIDE_REMOTE_DICE, item_dice_window, accepts_face, 0);
