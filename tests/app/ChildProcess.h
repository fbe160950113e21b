#pragma once
// Starting the program's processes from a test: fork and exec with environment changes, output
// to a file, and the session-end signal optionally held back from the first instruction on.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kelto::test {

// How a child process starts: environment changes, where its output goes, and whether the
// session-end signal is held back (blocked) from its first instruction on.
struct SpawnOptions {
    std::vector<std::pair<std::string, std::string>> setEnv;
    std::vector<std::string> unsetEnv;
    std::filesystem::path output;  // stdout and stderr; empty: inherited
    bool holdSessionEnd = false;
};

inline pid_t spawn(const std::vector<std::string>& args, const SpawnOptions& options = {}) {
    // Blocked before the fork, so the child has it blocked from its very first instruction.
    sigset_t held, previous;
    sigemptyset(&held);
    sigaddset(&held, SIGTERM);
    if (options.holdSessionEnd) ::pthread_sigmask(SIG_BLOCK, &held, &previous);
    const pid_t pid = ::fork();
    if (pid != 0 && options.holdSessionEnd) ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (pid == 0) {
        for (const auto& [name, value] : options.setEnv) ::setenv(name.c_str(), value.c_str(), 1);
        for (const auto& name : options.unsetEnv) ::unsetenv(name.c_str());
        if (!options.output.empty()) {
            const int fd = ::open(options.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(fd, 1);
            ::dup2(fd, 2);
        }
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

// Waits at most about ten seconds for the process to end; its exit code, or -1.
inline int waitFor(pid_t pid) {
    for (int i = 0; i < 1000; ++i) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

}  // namespace kelto::test
