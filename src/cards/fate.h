// The fate deck.
#pragma once

// Draws and runs a fate event for the current mover.
void fate_show();
// Shuffles the fate deck for a new game.
void fate_shuffle();
