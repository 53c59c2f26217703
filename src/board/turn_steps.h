// The steps of a turn and of a new day that belong to the modules above the
// board: a computer player's moves before it throws, the snapshot before a
// move, the end and the start of a turn, the new day's finance, the autosave,
// the offer to continue a lost game and a bankrupt player's sale. Each module
// registers its step with one line at file scope,
//
//     TURN_STEP(TURN_STEP_NOTICE_VISIT, [](int) { notice_visit(); })
//     NEW_DAY_STEP(NEW_DAY_SETTLEMENT, settle_monthly)
//
// and the turn driver (turn.cpp) and the turn flow (turn_flow.cpp) run them
// by rank. The callers keep the conditions between the steps (whose turn it
// is, the coin between a card and an item, the day of the month, whether the
// game has ended) and the board's own steps in between.
//
// The steps in the order they come in a round, the order of TurnStepRank:
//   a computer player's turn, before it throws (`who` the player):
//     1. it buys shares          2. it sells shares
//     3. the bank checks the cash reserves (the turn stops if the game ended)
//     4. it visits the bulletin board
//     5. it plays a card (heads) or 6. uses an item (tails)
//     7. it chooses its dice (when it still is to throw)
//   8. the time machine's snapshot, before a player's move or while it is held
//   the end of a turn (`who` the mover):
//     9. a player stepping onto a square meets the construction vehicle
//    10. the items' turn state ends
//    11. the computer-player panel opens when Esc stopped the auto-play
//   the new day (after the music, the date and the end-of-game check):
//    12. the price index   13. the bulletin board's offers age
//    14. the stock market's day counters   15. the day's share prices
//    (after the holiday) on the 15th: 16. the dividends, 17. the lottery draw
//    on a new month: 18. the monthly settlement
//   the start of a player's turn (`who` the player):
//    19. the shares' volume rolls   20. the bank's loan falls due
//    21. the autosave, after a new day's first countdowns when it is on (`who` 0)
//   the end of the game and a bankruptcy:
//    22. the offer to continue (`who` 1 when the single human lost over the
//        board, 0 when it went bankrupt); it sets the game's end code
//    23. a bankrupt's shares, 24. items and 25. cards are sold and
//    26. its lottery tickets freed (`who` the player)
//    27. one of its freed plots or facilities is auctioned (`who` its object code)
#pragma once

enum TurnStepRank {
    TURN_STEP_STOCK_BUY,
    TURN_STEP_STOCK_SELL,
    TURN_STEP_RESERVES,
    TURN_STEP_NOTICE_VISIT,
    TURN_STEP_CARD,
    TURN_STEP_ITEM,
    TURN_STEP_DICE_CHOICE,
    TURN_STEP_SNAPSHOT,
    TURN_STEP_VEHICLE_ARRIVE,
    TURN_STEP_ITEMS_END,
    TURN_STEP_AUTOPLAY_PANEL,
    NEW_DAY_PRICE_INDEX,
    NEW_DAY_NOTICE_AGE,
    NEW_DAY_STOCK_COUNTERS,
    NEW_DAY_STOCK_PRICES,
    NEW_DAY_DIVIDENDS,
    NEW_DAY_LOTTERY,
    NEW_DAY_SETTLEMENT,
    TURN_STEP_STOCK_VOLUME,
    TURN_STEP_LOAN_DUE,
    TURN_STEP_AUTOSAVE,
    TURN_STEP_CONTINUE_OFFER,
    TURN_STEP_SELL_SHARES,
    TURN_STEP_SELL_ITEMS,
    TURN_STEP_SELL_CARDS,
    TURN_STEP_FREE_TICKETS,
    TURN_STEP_AUCTION,
    TURN_STEP_COUNT
};

// A step of a turn, told whom it is for (see the list above).
using TurnStepFn = void (*)(int who);
// A step of the new day.
using NewDayStepFn = void (*)();

// True for the ranks of the new day, whose steps are NewDayStepFn.
bool turn_step_is_new_day(TurnStepRank rank);
// The step's short name (the turn flow's trace names the new day's by it).
const char* turn_step_name(TurnStepRank rank);

// Puts `fn` at its rank; a rank holds one step, of its kind. Returns true so
// that it can initialise a file-scope constant.
bool turn_step_register(TurnStepRank rank, TurnStepFn fn);
bool new_day_step_register(TurnStepRank rank, NewDayStepFn fn);
// True when a step is registered at the rank.
bool turn_step_registered(TurnStepRank rank);

// Runs the step at `rank` (nothing when none is registered).
void turn_step_run(TurnStepRank rank, int who);
// Runs the steps from `first` to `last` in rank order, each for `who`.
void turn_steps_run(TurnStepRank first, TurnStepRank last, int who);
void new_day_step_run(TurnStepRank rank);

// An observer told of each step as it starts (tests); nullptr for none.
using TurnStepObserver = void (*)(TurnStepRank rank, int who);
void turn_steps_set_observer(TurnStepObserver observer);

#define TURN_STEP_JOIN2(a, b) a##b
#define TURN_STEP_JOIN(a, b) TURN_STEP_JOIN2(a, b)
#define TURN_STEP(rank, ...)                                                                       \
    namespace {                                                                                    \
    [[maybe_unused]] const bool TURN_STEP_JOIN(turn_step_registered_,                              \
                                               __LINE__) = turn_step_register(rank, __VA_ARGS__);  \
    }
#define NEW_DAY_STEP(rank, ...)                                                                    \
    namespace {                                                                                    \
    [[maybe_unused]] const bool TURN_STEP_JOIN(new_day_step_registered_,                           \
                                               __LINE__) = new_day_step_register(rank,             \
                                                                                 __VA_ARGS__);     \
    }
