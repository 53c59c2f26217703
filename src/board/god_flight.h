// The gods' flights over the board, which the rules call as they do the
// board's door (board_refresh.h): each is recorded in the shown log first.
#pragma once

// The slot's god (slot 0: a marker with no god) flies on the board between
// two world points, then stays for `pause` ms (recorded as a panel).
void god_fly(int slot, int x0, int y0, int x1, int y1, int pause);
// The leaving flight of a slot's god of this kind: straight up from screen
// point (x, y), where the board drew it (drawn false: it was not in view),
// with the leaving sound.
void god_fly_up(int slot, int kind, bool drawn, int x, int y);
