#include "board/turn_steps.h"

#include <cstdio>
#include <cstdlib>

namespace {

// The names by rank; the new day's are the names the turn flow traces.
constexpr const char* STEP_NAMES[TURN_STEP_COUNT] = {
    "stock_buy",      "stock_sell",  "reserves",    "notice_visit",   "card",
    "item",           "dice_choice", "snapshot",    "vehicle_arrive", "items_end",
    "autoplay_panel", "price_index", "notice_age",  "stock_counters", "stock_prices",
    "dividends",      "lottery",     "settlement",  "stock_volume",   "loan_due",
    "autosave",       "continue",    "sell_shares", "sell_items",     "sell_cards",
    "free_tickets",   "auction",
};
// Every rank is named: a rank added without its name leaves the last one empty.
static_assert(STEP_NAMES[TURN_STEP_COUNT - 1] != nullptr);

struct StepSlot {
    TurnStepFn turn = nullptr;
    NewDayStepFn day = nullptr;
};

// Function-local so that registrations from other files' static
// initialisers find it constructed whatever the initialisation order.
StepSlot* table() {
    static StepSlot slots[TURN_STEP_COUNT] = {};
    return slots;
}

TurnStepObserver observer = nullptr;

bool in_range(TurnStepRank rank) {
    return rank >= 0 && rank < TURN_STEP_COUNT;
}

// Two modules claiming one rank would leave the order to the linker; a step
// of the wrong kind would be called with the wrong arguments.
[[noreturn]] void refuse(TurnStepRank rank, const char* why) {
    std::fprintf(stderr, "turn step %d (%s) %s\n", static_cast<int>(rank),
                 in_range(rank) ? STEP_NAMES[rank] : "?", why);
    std::abort();
}

} // namespace

bool turn_step_is_new_day(TurnStepRank rank) {
    return rank >= NEW_DAY_PRICE_INDEX && rank <= NEW_DAY_SETTLEMENT;
}

const char* turn_step_name(TurnStepRank rank) {
    return in_range(rank) ? STEP_NAMES[rank] : "";
}

bool turn_step_register(TurnStepRank rank, TurnStepFn fn) {
    if (!in_range(rank) || !fn) refuse(rank, "registered without a step");
    if (turn_step_is_new_day(rank)) refuse(rank, "is a step of the new day");
    StepSlot& slot = table()[rank];
    if (slot.turn && slot.turn != fn) refuse(rank, "registered twice");
    slot.turn = fn;
    return true;
}

bool new_day_step_register(TurnStepRank rank, NewDayStepFn fn) {
    if (!in_range(rank) || !fn) refuse(rank, "registered without a step");
    if (!turn_step_is_new_day(rank)) refuse(rank, "is not a step of the new day");
    StepSlot& slot = table()[rank];
    if (slot.day && slot.day != fn) refuse(rank, "registered twice");
    slot.day = fn;
    return true;
}

bool turn_step_registered(TurnStepRank rank) {
    if (!in_range(rank)) return false;
    const StepSlot& slot = table()[rank];
    return slot.turn != nullptr || slot.day != nullptr;
}

void turn_step_run(TurnStepRank rank, int who) {
    if (!in_range(rank)) return;
    if (TurnStepFn fn = table()[rank].turn) {
        if (observer) observer(rank, who);
        fn(who);
    }
}

void turn_steps_run(TurnStepRank first, TurnStepRank last, int who) {
    for (int rank = first; rank <= last; ++rank)
        turn_step_run(static_cast<TurnStepRank>(rank), who);
}

void new_day_step_run(TurnStepRank rank) {
    if (!in_range(rank)) return;
    if (NewDayStepFn fn = table()[rank].day) {
        if (observer) observer(rank, 0);
        fn();
    }
}

void turn_steps_set_observer(TurnStepObserver o) {
    observer = o;
}
