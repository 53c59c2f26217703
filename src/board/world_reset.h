// One reset of the game world: every module that keeps game state in globals
// registers its reset here with one line at file scope,
//
//     WORLD_RESET(WORLD_RESET_CARDS, cards_reset);
//
// and game_world_reset() runs them all. A new game, a loaded game, the runner
// and every test fixture call game_world_reset() and nothing else. The engine
// and the platform layer keep their own resets, which start-up calls.
//
// The resets run in this fixed order, the order of WorldResetRank:
//   1. the game state records (players, movers, gods, walkers, the game values)
//   2. the map data
//   3. the card and item inventories and pools
//   4. the money ledger's audit
//   5. jail and hospital
//   6. the human's scripted answers
//   7. the spinners
//   8. the stock market
//   9. the share holdings
//  10. the asset window's property list (its page and filter stay for the run)
//  11. the lottery tickets
//  12. the turn driver
//  13. the movement along the squares
//  14. the turn flow
//  15. the board screen's flags, tabs, pointer state and box
//  16. the board view's camera, draw list and hit-map camera
//  17. the bank's loan limit and audit
//  18. the news and fate decks
//  19. ai_choice and the computer settings panel's kept selection
//  20. the items' turn state (the remote-dice face, the computer's try)
//  21. the bulletin board's offers
//  22. the time machine's snapshots
//  23. the auction's seats and state
//  24. the magic house's chosen players
// A module reads only its own state in its reset, so the order matters only
// where one reset rebuilds what an earlier one cleared (the map binds its
// tables after the game state is cleared).
#pragma once

enum WorldResetRank {
    WORLD_RESET_GAME_STATE,
    WORLD_RESET_MAP,
    WORLD_RESET_CARDS,
    WORLD_RESET_MONEY,
    WORLD_RESET_JAIL,
    WORLD_RESET_DECISIONS,
    WORLD_RESET_SPINNER,
    WORLD_RESET_STOCK,
    WORLD_RESET_TRADING,
    WORLD_RESET_ASSETS,
    WORLD_RESET_LOTTERY,
    WORLD_RESET_TURN,
    WORLD_RESET_MOVEMENT,
    WORLD_RESET_TURN_FLOW,
    WORLD_RESET_BOARD_SCREEN,
    WORLD_RESET_VIEW,
    WORLD_RESET_BANK,
    WORLD_RESET_DECKS, // the news and fate decks
    WORLD_RESET_AI,    // ai_choice and the computer panel's kept selection
    WORLD_RESET_ITEMS,
    WORLD_RESET_NOTICE,
    WORLD_RESET_SNAPSHOTS,
    WORLD_RESET_AUCTION,
    WORLD_RESET_MAGIC_HOUSE,
    WORLD_RESET_COUNT
};

using WorldResetFn = void (*)();

// Puts `fn` at its rank; a rank holds one reset. Returns true so that it can
// initialise a file-scope constant.
bool world_reset_register(WorldResetRank rank, WorldResetFn fn);
// The reset registered at a rank, or nullptr.
WorldResetFn world_reset_at(WorldResetRank rank);
// Runs every registered reset in rank order.
void game_world_reset();

#define WORLD_RESET_JOIN2(a, b) a##b
#define WORLD_RESET_JOIN(a, b) WORLD_RESET_JOIN2(a, b)
#define WORLD_RESET(rank, fn)                                                                      \
    namespace {                                                                                    \
    [[maybe_unused]] const bool WORLD_RESET_JOIN(world_reset_registered_,                          \
                                                 __LINE__) = world_reset_register(rank, fn);       \
    }
