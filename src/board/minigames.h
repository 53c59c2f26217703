// The three bonus mini-games; each returns the points won by the current
// player and leaves them in minigame_points.
#pragma once

#include <cstdint>

// The score of the last game (the running score while one is played).
extern int32_t minigame_points;

int minigame_play_grid();
int minigame_play_targets();
int minigame_play_steer();

// Who plays a game by hand: a seat exactly human (not handed over) while
// the animations are on. Anyone else gets the fallback score.
bool minigame_played_by_hand(int player);
// The fallback: rand() % 20 + 50 points, shown with the message and one of
// the character's first two lines.
int minigame_fallback_score(int player);

// The event tunes the games play over the background music.
inline constexpr int MINIGAME_TUNE_GRID = 12, MINIGAME_TUNE_TARGETS = 11, MINIGAME_TUNE_STEER = 10;
