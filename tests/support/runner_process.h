// Runs the headless game runner built next to the tests as a child process
// and collects what it prints.
#pragma once

#include <string>
#include <vector>

struct RunOutput {
    std::string out; // standard output (standard error is dropped)
    int status = -1; // exit status, -1 when it did not exit normally
};

// The runner is built next to the data directory of the same build.
std::string runner_path();
// Runs "karvo_runner ARGS".
RunOutput run_runner(const std::string& args);

// Starts argv[0] with its arguments (the environment inherited, `env` lines
// "NAME=value" added), waits for its first line of output (or, when
// first_line is false, until it catches the signal and `delay_ms` more),
// sends it the signal and collects the rest
// of what it prints. Status -1 when it did not exit by itself within
// timeout_ms of the signal (it is then killed) or was killed by a signal.
RunOutput run_and_signal(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                         bool first_line, int delay_ms, int sig, int timeout_ms = 10000);
