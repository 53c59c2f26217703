#include "support/runner_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

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

namespace {

// Whether the process whose /proc status file is given catches the signal.
bool catches(const std::string& status_file, int sig) {
    FILE* f = std::fopen(status_file.c_str(), "r");
    if (!f) return false;
    char line[256];
    unsigned long long mask = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "SigCgt: %llx", &mask) == 1) break;
    std::fclose(f);
    return (mask >> (sig - 1)) & 1;
}

} // namespace

RunOutput run_and_signal(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                         bool first_line, int delay_ms, int sig, int timeout_ms) {
    RunOutput r;
    int out[2];
    if (pipe(out) != 0) return r;
    const pid_t pid = fork();
    if (pid < 0) return r;
    if (pid == 0) {
        dup2(out[1], 1);
        const int null_fd = open("/dev/null", O_WRONLY);
        if (null_fd >= 0) dup2(null_fd, 2);
        close(out[0]);
        close(out[1]);
        for (const std::string& e : env)
            putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(out[1]);
    using Clock = std::chrono::steady_clock;
    // Reads what is there within ms milliseconds; false at the end of output.
    auto read_some = [&](int ms) {
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, ms) <= 0) return true;
        char buf[8192];
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n <= 0) return false;
        r.out.append(buf, static_cast<size_t>(n));
        return true;
    };
    bool open_output = true;
    const auto start = Clock::now();
    if (first_line) {
        while (open_output && r.out.find('\n') == std::string::npos &&
               Clock::now() - start < std::chrono::milliseconds(timeout_ms))
            open_output = read_some(50);
    } else {
        // Ready once the child has its own handler for the signal (else the
        // signal's default action would end it before it could answer).
        const std::string status_file = "/proc/" + std::to_string(pid) + "/status";
        while (Clock::now() - start < std::chrono::milliseconds(timeout_ms) &&
               !catches(status_file, sig))
            usleep(10000);
        usleep(static_cast<useconds_t>(delay_ms) * 1000);
    }
    kill(pid, sig);
    const auto signalled = Clock::now();
    int status = 0;
    bool exited = false;
    while (Clock::now() - signalled < std::chrono::milliseconds(timeout_ms)) {
        if (open_output)
            open_output = read_some(20);
        else
            usleep(20000);
        if (waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
            break;
        }
    }
    if (!exited) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    while (open_output)
        open_output = read_some(100);
    close(out[0]);
    r.status = exited && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}
