// Films played in the main window.
#pragma once

#include <cstdint>

#include "platform/messages.h"

// 1 while a film plays; 1 when the running film may be skipped.
extern uint8_t avi_playing;
extern uint8_t avi_skippable;
// The media device of the open film (0 while none is open): only its end
// notification ends the film.
extern uint32_t avi_device;

// Plays a film over rect (sound is shut down around it); returns 1 when
// skipped, else 0 (also when the film cannot be opened).
int avi_play(const char* name, const PlatRect* rect, int skippable);
// The film screen's window procedure.
int32_t avi_wndproc(PlatWindow window, uint32_t message, uint32_t wparam, int32_t lparam);
// The film's end notification arrived.
void avi_on_end();
