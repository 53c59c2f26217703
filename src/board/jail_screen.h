// The bail screens of the jail and the hospital: the eight cells (or beds)
// of the persons held there, an info box over the cell under the mouse, and
// in the hospital a receptionist who greets, accepts and says goodbye. A
// human playing by hand visits through them; every bail goes through the
// rules of board/jail.h.
#pragma once

#include <cstdint>

#include "platform/messages.h"

struct DecisionRequest;

// The archives' entries: the place's own pictures and its freed characters.
inline constexpr int JAIL_PICTURES = 63;     // PANEL.MKF
inline constexpr int JAIL_FREED = 64;        // frame person - 4
inline constexpr int HOSPITAL_PICTURES = 65; // PANEL.MKF
inline constexpr int HOSPITAL_FREED = 66;    // the event panels' set: frame person - 2

// Frames of the jail's set.
inline constexpr int JAIL_F_BACKGROUND = 0;
inline constexpr int JAIL_F_BALLOON = 1;
inline constexpr int JAIL_F_INFO_BOX = 2;
inline constexpr int JAIL_F_BARS = 3;
inline constexpr int JAIL_F_EMPTY_CELL = 4;
inline constexpr int JAIL_F_PORTRAIT = 5;   // + character
inline constexpr int JAIL_F_CHARACTER = 13; // + person 4..7
inline constexpr int JAIL_F_EXIT = 21;
// Frames of the hospital's set.
inline constexpr int HOSPITAL_F_BACKGROUND = 0;
inline constexpr int HOSPITAL_F_BALLOON = 1;
inline constexpr int HOSPITAL_F_INFO_BOX = 3;
inline constexpr int HOSPITAL_F_RECEPTIONIST = 4;
inline constexpr int HOSPITAL_F_BLINK = 5; // 5-7: eyes half shut, shut, half shut
inline constexpr int HOSPITAL_F_GOODBYE = 9;
inline constexpr int HOSPITAL_F_MOUTH = 10;     // 10-11: mouth half open, open
inline constexpr int HOSPITAL_F_PORTRAIT = 14;  // + character
inline constexpr int HOSPITAL_F_CHARACTER = 22; // + person 4..7
inline constexpr int HOSPITAL_F_EXIT = 30;
inline constexpr int HOSPITAL_BLINK_FRAMES = 3, HOSPITAL_MOUTH_FRAMES = 2;

// The cells' top-left corners by person, and their sizes.
inline constexpr int JAIL_CELL_X[8] = {33, 185, 336, 487, 33, 185, 336, 487};
inline constexpr int JAIL_CELL_Y[8] = {24, 24, 24, 24, 183, 183, 183, 183};
inline constexpr int HOSPITAL_CELL_X[8] = {297, 297, 297, 297, 481, 481, 481, 481};
inline constexpr int HOSPITAL_CELL_Y[8] = {1, 121, 241, 361, 1, 121, 241, 361};
inline constexpr int JAIL_CELL_W = 140, JAIL_CELL_H = 137; // drawn; hit 0..121 x 0..137
inline constexpr int JAIL_HIT_W = 121;
inline constexpr int HOSPITAL_CELL_W = 147, HOSPITAL_CELL_H = 102;
// The info box: the jail's below its cell, the hospital's left of it.
inline constexpr int JAIL_INFO_DX = 20, JAIL_INFO_DY = 120, JAIL_INFO_W = 100, JAIL_INFO_H = 95;
inline constexpr int HOSPITAL_INFO_DX = -80, HOSPITAL_INFO_W = 82, HOSPITAL_INFO_H = 96;

// The receptionist, her goodbye pose, and where her eyes and mouth lie
// within her picture.
inline constexpr int HOSPITAL_CLERK_X = 104, HOSPITAL_CLERK_Y = 110;
inline constexpr int HOSPITAL_CLERK_W = 120, HOSPITAL_CLERK_H = 200;
inline constexpr int HOSPITAL_GOODBYE_X = 91, HOSPITAL_GOODBYE_Y = 112;
inline constexpr int HOSPITAL_GOODBYE_W = 146, HOSPITAL_GOODBYE_H = 198;
inline constexpr PlatRect HOSPITAL_EYES{30, 44, 90, 60};  // within her picture
inline constexpr PlatRect HOSPITAL_MOUTH{46, 72, 74, 86}; // within her picture

// The exit signs with the visitor's points, and the balloons' corners.
inline constexpr int JAIL_EXIT_X = 542, JAIL_EXIT_Y = 432;
inline constexpr int HOSPITAL_EXIT_X = 8, HOSPITAL_EXIT_Y = 432;
inline constexpr int BAIL_EXIT_W = 90, BAIL_EXIT_H = 40;
inline constexpr int JAIL_POINTS_X = 622, JAIL_POINTS_Y = 452;
inline constexpr int HOSPITAL_POINTS_X = 88, HOSPITAL_POINTS_Y = 452;
inline constexpr int BAIL_BALLOON_W = 260, BAIL_BALLOON_H = 104; // with its tail below
inline constexpr int JAIL_SHORT_X = 230, JAIL_SHORT_Y = 300;
inline constexpr int JAIL_THANKS_X = 210, JAIL_THANKS_Y = 150;
inline constexpr int HOSPITAL_CLERK_BALLOON_X = 14, HOSPITAL_CLERK_BALLOON_Y = 6;
inline constexpr int HOSPITAL_THANKS_X = 200, HOSPITAL_THANKS_Y = 200;
// A freed character's picture: the jail's stands on (365, 450), the
// hospital's lower right corner is at (420, 450).
inline constexpr int JAIL_FREED_X = 365, JAIL_FREED_Y = 450;
inline constexpr int HOSPITAL_FREED_RIGHT = 420, HOSPITAL_FREED_BOTTOM = 450;

// The person 0..7 whose cell of the place (0 jail, 1 hospital) holds the
// point, when that person is held there; -1 otherwise.
int jail_cell_at(int hospital, int x, int y);

// The screens' pictures for the open visit, drawn into the back buffer.
void jail_bail_draw();
void jail_hospital_bail_draw();
int32_t jail_bail_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
int32_t jail_hospital_bail_wndproc(PlatWindow window, uint32_t message, uint32_t wparam,
                                   int32_t lparam);

// The cell asked of the visit the screen shows (opened through
// jail_presenter): it runs until the visitor clicks a held person's cell and
// answers person + 1, or 0 when he leaves. With no screen open (no display)
// it answers 0 at once.
int jail_bail_window(const DecisionRequest& request);
