#include "engine/random.h"

#include "platform/clock.h"

namespace {
uint32_t g_seed = 1;
}

int game_rand() {
    g_seed = g_seed * 1103515245u + 12345u;
    return static_cast<int>((g_seed >> 16) & 0x7FFF);
}

void game_srand(uint32_t seed) {
    g_seed = seed;
}

uint32_t game_rand_seed() {
    return g_seed;
}

void game_srand_from_clock() {
    g_seed = plat_tick_count();
}
