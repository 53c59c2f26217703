// The board intro that opens a new game: the map's fly-in film, the board
// picture with each player's portrait and jump-in, the final picture with
// the players' closing moves, and the start of the background music.
#pragma once

#include "platform/messages.h"

// JUMP.MKF entries: the pictures (frame 0 the board, 1 the final picture,
// 3 the portrait frame, 4 + character the portraits), the opening animation,
// and each character's jump-in and closing move.
inline constexpr int INTRO_PICTURES_ENTRY = 41;
inline constexpr int INTRO_OPENING_ENTRY = 42;
inline constexpr int INTRO_JUMP_IN_FIRST = 43;
inline constexpr int INTRO_CLOSING_FIRST = 55;
inline constexpr int INTRO_BOARD_FRAME = 0;
inline constexpr int INTRO_FINAL_FRAME = 1;
inline constexpr int INTRO_PORTRAIT_FRAME = 3; // the frame round the portrait
inline constexpr int INTRO_PORTRAIT_FIRST = 4;

// Where things go: the opening animation's corner, the area a portrait is
// shown in (restored from the board picture before each player), the
// portrait's and its frame's drawing points, the jump-in's and the closing
// move's corner, the strip the closing moves run in.
inline constexpr int INTRO_OPENING_X = 180, INTRO_OPENING_Y = 60;
inline constexpr PlatRect INTRO_PORTRAIT_AREA{180, 60, 400, 300};
inline constexpr int INTRO_PORTRAIT_X = 270, INTRO_PORTRAIT_Y = 220;
inline constexpr int INTRO_FRAME_X = 150, INTRO_FRAME_Y = 60;
inline constexpr int INTRO_PLAYER_FLC_X = 0, INTRO_PLAYER_FLC_Y = 0;
inline constexpr PlatRect INTRO_CLOSING_STRIP{0, 440, 640, 480};
// The portrait waits darkened by this many brightness steps.
inline constexpr int INTRO_PORTRAIT_DARKEN = 20;
// The jump-in's landing sound plays after this frame.
inline constexpr int INTRO_JUMP_SOUND_FRAME = 20;
// EFFECT.MKF entries of the intro's sounds: 0 the board appears, 1 a
// character lands.
inline constexpr int INTRO_EFFECT_BOARD = 25;
inline constexpr int INTRO_EFFECT_LANDING = 26;

// The fly-in film of a map 0..3 (nullptr for any other).
const char* intro_film_name(int map);

// Plays the intro for the players seated in the game; returns when it is
// over or skipped. The background music starts however early it is skipped.
// With no display it records the film and the music and returns at once.
void intro_run();
