// Help screens and the board intro film.
#pragma once

// The board intro; returns when it is over or skipped.
void intro_run();
