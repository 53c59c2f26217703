// The magic house's windows: the house with its condition wheel and fate
// buttons, and the pick-a-player screen of a player giving up.
#pragma once

#include "platform/messages.h"

struct DecisionRequest;

// The condition picture on the wheel (a click repeats its line).
inline constexpr PlatRect MAGIC_WHEEL_RECT{150, 110, 290, 250};

// The fate button under a screen point, -1 none.
int magic_fate_at(int x, int y);
// The face of the pick-a-player screen under a screen point for `count`
// faces, -1 none; the faces lie side by side centred on the board.
int magic_face_at(int x, int y, int count);

// The house: the fate chosen for condition request.object; without a
// display the fate a right click cannot give, FATE_STAY.
int magic_window(const DecisionRequest& request);
// The pick-a-player screen for request.list: player + 1, 0 declined.
int magic_revenge_window(const DecisionRequest& request);
