// The yes/no confirmation pop-up (data.mkf 399: frame 0 neither answer lit,
// 1 the yes half lit, 2 the no half lit).
#pragma once

#include <cstdint>

// Shows the pop-up centred on (x, y); 1 for yes, 0 for no (also when its
// picture is missing or there is no display).
int confirm_ask(int x, int y);
// The same without a record of its own (the question that asks records it).
int confirm_run(int x, int y);
// The half under the mouse: 1 yes (left), 2 no (right), for a picture of
// that width whose left edge is at left; the last column of an odd width is
// still the no half.
int confirm_half(int mouse_x, int left, int width);
// The chord a key press makes from the one before (Ctrl adds 0x1100).
uint32_t confirm_chord(uint32_t chord, uint32_t vk);
