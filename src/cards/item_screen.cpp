#include "cards/item_screen.h"

#include "board/decisions.h"

// The item menu and the dice window are not built yet: both close at once.
int item_menu_window(const DecisionRequest&) {
    return 0;
}
int item_dice_window(const DecisionRequest&) {
    return 0;
}
