// Pieces the lottery's and the auction's stand-in pictures share: panels
// with a border, a speech balloon, a character's face and the characters'
// names and colours as the game holds them.
#pragma once

#include <string>

#include "canvas.h"

inline constexpr uint16_t FIN_INK = rgb555(16, 16, 16); // the darkest colour (0 is see-through)
inline constexpr uint16_t FIN_WHITE = rgb555(250, 250, 250);

// A filled panel with a dark edge and a light inner line.
void fin_panel(Canvas& cv, int x, int y, int w, int h, uint16_t face, uint16_t light);
// A white speech balloon filling w x h with a tail at its lower left.
FrameImage fin_balloon(int w, int h);
// A character's round face (64 x 64, hot spot at the centre) in its colour
// with the first character of its name; pose 0 plain, 1 raising a bid
// paddle, 2 cheering under a star.
FrameImage fin_face(int character, int pose);
// A character's name in UTF-8 and its colour as RGB555.
std::string fin_character_name(int character);
uint16_t fin_character_colour(int character);
