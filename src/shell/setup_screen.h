// The new-game setup screen.
#pragma once

// 1 when a game was set up and initialised, 0 back to the title.
int setup_run(int continuing);
