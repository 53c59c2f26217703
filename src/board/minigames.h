// The three bonus mini-games; each returns the points won by the current
// player and leaves them in minigame_points.
#pragma once

#include <cstdint>

#include "engine/presenter.h"

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

enum MinigameKind : int { MINIGAME_GRID = 0, MINIGAME_TARGETS = 1, MINIGAME_STEER = 2 };

// The games' windows (minigames_screen.h tells how). Without them a game
// played by hand cannot open and scores nothing.
struct MinigamePresenter {
    bool (*open)(MinigameKind kind, int player); // false: nothing opened
    void (*run)(MinigameKind kind);
    void (*close)(MinigameKind kind);
};
extern PresenterSlot<MinigamePresenter> minigame_presenter;
