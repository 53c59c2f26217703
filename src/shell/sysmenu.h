// The system window: options, date, hot keys, help and the game actions.
#pragma once

// Runs the system window (mode 1 from the board, 0 from the title) and
// performs the chosen game action; 0 when nothing was chosen.
int sysmenu_run(int mode);
