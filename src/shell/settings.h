// The settings file and its options.
#pragma once

#include <cstdint>

// Option byte 5: the side-panel layout 0..2.
uint8_t settings_side_panel_layout();
