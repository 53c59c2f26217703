#include "shell/settings.h"

// The settings are not built yet: the default layout is given.
uint8_t settings_side_panel_layout() { return 0; }
