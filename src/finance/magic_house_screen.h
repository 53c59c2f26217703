// The magic house's windows: the house with its condition wheel and fate
// buttons, and the pick-a-player screen of a player giving up.
#pragma once

#include "engine/layout.h"
#include "platform/messages.h"

struct DecisionRequest;

// The archives' entries: the house's sets of PANEL.MKF, the faces of data.mkf.
inline constexpr int MAGIC_HOUSE_ENTRY = 18;
inline constexpr int MAGIC_WHEEL_ENTRY = 19;
inline constexpr int MAGIC_HOST_ENTRY = 20;
inline constexpr int MAGIC_FACES_ENTRY = 2; // frame = character
// Frames of the house's set, of the wheel's and of the host's.
enum MagicHouseFrame : int { MAGIC_F_HOUSE = 0, MAGIC_F_BUTTON = 1, MAGIC_F_BUTTON_LIT = 2 };
enum MagicWheelFrame : int {
    MAGIC_F_WHEEL = 0, // .. MAGIC_F_WHEEL + MAGIC_WHEEL_STEPS - 1, the wheel turning
    MAGIC_WHEEL_STEPS = 4,
    MAGIC_F_CONDITION = 4, // + condition
};
enum MagicHostFrame : int {
    MAGIC_F_HOST = 0,
    MAGIC_F_BALLOON = 1,
    MAGIC_F_SPELL = 2, // .. MAGIC_F_SPELL + MAGIC_SPELL_FRAMES - 1
    MAGIC_SPELL_FRAMES = 8,
};

// The condition picture on the wheel (a click repeats its line), and its
// centre, where the wheel's frames are drawn.
inline constexpr PlatRect MAGIC_WHEEL_RECT{150, 110, 290, 250};
inline constexpr int MAGIC_WHEEL_CX = (MAGIC_WHEEL_RECT.left + MAGIC_WHEEL_RECT.right) / 2;
inline constexpr int MAGIC_WHEEL_CY = (MAGIC_WHEEL_RECT.top + MAGIC_WHEEL_RECT.bottom) / 2;
// The host, his balloon's corner and the spell's centre on the screen.
inline constexpr int MAGIC_HOST_X = 300, MAGIC_HOST_Y = 52;
inline constexpr int MAGIC_BALLOON_X = 14, MAGIC_BALLOON_Y = 46;
inline constexpr int MAGIC_SPELL_X = 220, MAGIC_SPELL_Y = 180;
// The pick-a-player screen's faces: each in a cell of its own, the cells
// side by side centred on the board view, the faces' middles on one line.
inline constexpr int MAGIC_FACE_CELL = 90, MAGIC_FACE_W = 72, MAGIC_FACE_H = 66;
inline constexpr int MAGIC_FACE_CY = 300;
// Face i's rectangle of `count` faces.
constexpr PlatRect magic_face_rect(int i, int count) {
    const int x0 = LAYOUT_BOARD_AREA.right / 2 - MAGIC_FACE_CELL * count / 2;
    const int left = x0 + MAGIC_FACE_CELL * i + (MAGIC_FACE_CELL - MAGIC_FACE_W) / 2;
    return PlatRect{left, MAGIC_FACE_CY - MAGIC_FACE_H / 2, left + MAGIC_FACE_W,
                    MAGIC_FACE_CY + MAGIC_FACE_H / 2};
}

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
