// The system window: the options, and the date, hot-key and help buttons
// (mode 0, from the title) or restart, surrender and quit (mode 1, in a game).
#pragma once

int sysmenu_run(int mode);
