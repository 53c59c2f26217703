// Runs the headless game runner built next to the tests as a child process
// and collects what it prints.
#pragma once

#include <string>

struct RunOutput {
    std::string out; // standard output (standard error is dropped)
    int status = -1; // exit status, -1 when it did not exit normally
};

// The runner is built next to the data directory of the same build.
std::string runner_path();
// Runs "karvo_runner ARGS".
RunOutput run_runner(const std::string& args);
