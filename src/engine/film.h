// Films played in the main window.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// 1 while a film plays.
extern uint8_t avi_playing;

// Plays a film over rect; returns 1 when skipped, else 0.
int avi_play(const char* name, const PlatRect* rect, int skippable);
// The film's end notification arrived.
void avi_on_end();
