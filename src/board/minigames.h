// The three bonus mini-games; each returns the points won by the current player.
#pragma once

int minigame_play_grid();
int minigame_play_targets();
int minigame_play_steer();
