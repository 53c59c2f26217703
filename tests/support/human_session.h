// A human's game in the real program for the tests that watch one from the
// cursor's hook: the runner's session with a script that only opens the
// window, which the watcher keeps alive and feeds stage by stage. Only the
// tests that link the runner's driver include it.
#pragma once

#include <fstream>
#include <string>

#include "runner_game.h"

// Writes the opening script `script_name`, runs the session with `started`
// as the game-started hook (cleared again afterwards) and returns its exit
// status, the reason in `error` when it is not 0.
inline int session_run_human(const std::string& script_name, const RunnerOptions& options,
                             void (*started)(), std::string* error) {
    {
        std::ofstream f(script_name);
        f << "100 nothing\n";
    }
    runner_human_game_started = started;
    const int status = runner_human_session(options, script_name.c_str(), nullptr, error);
    runner_human_game_started = nullptr;
    return status;
}
