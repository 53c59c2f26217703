// The gods' flights over the board, which the rules call as they do the
// board's door (board_refresh.h): each is recorded in the shown log first.
// The rules' calls go through the flight presenter, which the board's flight
// window (god_flight_screen.cpp) fills; without it a flight shows nothing.
#pragma once

#include "engine/presenter.h"

struct GodFlightPresenter {
    void (*fly)(int slot, int x0, int y0, int x1, int y1, int pause);
    void (*fly_up)(int slot, int kind, bool drawn, int x, int y);
};
extern PresenterSlot<GodFlightPresenter> god_flight_presenter;

// The slot's god (slot 0: a marker with no god) flies on the board between
// two world points, then stays for `pause` ms (recorded as a panel).
void god_fly(int slot, int x0, int y0, int x1, int y1, int pause);
// The leaving flight of a slot's god of this kind: straight up from screen
// point (x, y), where the board drew it (drawn false: it was not in view),
// with the leaving sound.
void god_fly_up(int slot, int kind, bool drawn, int x, int y);
