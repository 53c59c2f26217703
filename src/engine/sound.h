// Sound effects and voice clips.
#pragma once

// Plays element of the board's effect list board_effects; flags 1 loops, 0 once.
void snd_board_effect_play(int element, int flags);
