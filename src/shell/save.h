// Save games.
#pragma once

// The load list: -1 when nothing was loaded, else the slot's read result.
int save_load_screen(int over_game);
// The save list over the running game (slots 1 to 5).
void save_save_screen();
// Writes the current game to save slot `slot`.
void save_write_slot(int slot);
