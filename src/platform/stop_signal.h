// Stopping from outside: SIGINT (Ctrl-C) and SIGTERM ask the program to close
// as its window's close button does, so every open loop unwinds and the
// shutdown runs; a second signal of either kind ends the process at once.
#pragma once

// Installs the handlers (plat_init does) and forgets an earlier signal.
void plat_stop_signals_install();
// Told while a blocking message box is up, whose loop cannot unwind on a
// close request: a stop signal then ends the process at once, by the signal.
void plat_stop_signals_box_up(bool up);
// The signal that asked to stop, 0 when none has.
int plat_stop_signal();
