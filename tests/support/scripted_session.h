// Scaffolding for a session of the real program driven by script events and
// watched from the cursor's hook: the watcher adds each stage's input timed
// from now, waits until it has been taken and notes what it found wrong.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board/toolbar.h"
#include "platform/script.h"
#include "platform/surface.h"

struct ScriptedSession {
    int stage = 0;
    uint32_t next_at = 0; // the time the stage's last scripted input comes
    std::vector<std::string> failures;
};

// Notes a failure with the stage and the virtual time it was seen at.
void session_fail(ScriptedSession& s, const std::string& what);
// Adds a script event `delay` ms from now; the stage waits until its message
// has been taken.
void session_at(ScriptedSession& s, uint32_t delay, PlatScriptKind kind, int a = -1, int b = -1);
// A left click at (x, y): move there, press, release.
void session_click(ScriptedSession& s, uint32_t delay, int x, int y);
// A left click on the board toolbar's button of `command`.
void session_toolbar(ScriptedSession& s, uint32_t delay, ToolbarCommand command);
// The script must never run out while the watcher waits for the game: a
// scripted run closes when its last event has been fed.
void session_keep_alive();
// The pixel at (x, y) of a surface.
uint16_t surface_pixel(const PlatSurface* surface, int x, int y);
