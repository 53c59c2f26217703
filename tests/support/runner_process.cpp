#include "support/runner_process.h"

#include <sys/wait.h>

#include <cstdio>

std::string runner_path() {
    return std::string(KARVO_TEST_DATA_DIR) + "/../karvo_runner";
}

RunOutput run_runner(const std::string& args) {
    RunOutput r;
    const std::string cmd = runner_path() + " " + args + " 2>/dev/null";
    FILE* f = popen(cmd.c_str(), "r");
    if (!f) return r;
    char buf[8192];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        r.out.append(buf, n);
    const int st = pclose(f);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}
