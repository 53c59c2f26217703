#include "board/world_reset.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Function-local so that registrations from other files' static
// initialisers find it constructed whatever the initialisation order.
WorldResetFn* table() {
    static WorldResetFn resets[WORLD_RESET_COUNT] = {};
    return resets;
}

} // namespace

bool world_reset_register(WorldResetRank rank, WorldResetFn fn) {
    if (rank < 0 || rank >= WORLD_RESET_COUNT || !fn) std::abort();
    WorldResetFn& slot = table()[rank];
    if (slot && slot != fn) {
        // Two modules claiming one rank would leave the order to the linker.
        std::fprintf(stderr, "world reset rank %d registered twice\n", static_cast<int>(rank));
        std::abort();
    }
    slot = fn;
    return true;
}

WorldResetFn world_reset_at(WorldResetRank rank) {
    if (rank < 0 || rank >= WORLD_RESET_COUNT) return nullptr;
    return table()[rank];
}

void game_world_reset() {
    for (int rank = 0; rank < WORLD_RESET_COUNT; ++rank)
        if (WorldResetFn fn = table()[rank]) fn();
}
