// The title screen.
#pragma once

// 0 new game, 1 a game was loaded from the title, 3 exit.
int title_run();
