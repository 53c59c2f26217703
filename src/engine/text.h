// The text engine: the text surface and the font.
#pragma once

// Creates the text surface and clears it (once, at start-up).
void text_init();
// Deletes the font and releases the text surface.
void text_shutdown();
