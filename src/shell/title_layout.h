// The title screen's picture set (data.mkf 1) and where its buttons go.
#pragma once

inline constexpr int TITLE_SET_ENTRY = 1;
inline constexpr int TITLE_BUTTON_COUNT = 4;
// Frame 0 the background; button i's normal picture is frame 2i + 1, its
// lit one 2i + 2, each placed with its hot spot on the button's point.
inline constexpr int TITLE_BUTTON_X[TITLE_BUTTON_COUNT] = {190, 328, 468, 328};
inline constexpr int TITLE_BUTTON_Y[TITLE_BUTTON_COUNT] = {380, 380, 378, 450};
