// The help screens.
#pragma once

// The help viewer with its top-left corner at (x, y), centred when x is -1;
// returns when it is closed.
void help_show(int x, int y);
