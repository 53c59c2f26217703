// The news deck.
#pragma once

// Draws and runs a news event for the current mover.
void news_show();
// Shuffles the news deck for a new game.
void news_shuffle();
