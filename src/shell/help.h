// Help screens and the board intro film.
#pragma once

// The board intro; returns when it is over or skipped.
void intro_run();
// The help viewer with its top-left corner at (x, y), centred when x is -1;
// returns when it is closed.
void help_show(int x, int y);
