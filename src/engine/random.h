// The game's one random number generator.
//
// A linear congruential generator with a 15-bit result. Every random draw of
// the game goes through it, so a seed replays a whole game.
#pragma once

#include <cstdint>

inline constexpr int GAME_RAND_MAX = 0x7FFF;

// Next number, 0 to 32767.
int game_rand();
// Sets and reads the seed.
void game_srand(uint32_t seed);
uint32_t game_rand_seed();
// Reseeds from the tick count, as start-up, loading and each new day do.
void game_srand_from_clock();
