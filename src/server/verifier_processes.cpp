#include "server/verifier_processes.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kolvane::server {

namespace {

constexpr auto kRestartPause = std::chrono::seconds(1);
constexpr auto kCheckPeriod = std::chrono::milliseconds(100);

}  // namespace

VerifierProcesses::VerifierProcesses(std::string program, std::vector<std::string> arguments,
                                     int count)
    : program_(std::move(program)), arguments_(std::move(arguments)), count_(count) {
    // The program's own path, as `ps` then shows it.
    std::error_code ec;
    if (program_ == "/proc/self/exe") {
        const std::filesystem::path self = std::filesystem::read_symlink(program_, ec);
        if (!ec) program_ = self.string();
    }
}

VerifierProcesses::~VerifierProcesses() {
    stop();
}

pid_t VerifierProcesses::spawn() const {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program_.c_str()));
    for (const std::string& a : arguments_) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0) return pid;
    // The child: only what is safe between fork and exec.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(1);
    // Wake-ups (SIGUSR1) wait until the program is ready for them: a blocked
    // signal stays blocked across exec.
    sigset_t wakeups;
    sigemptyset(&wakeups);
    sigaddset(&wakeups, SIGUSR1);
    pthread_sigmask(SIG_SETMASK, &wakeups, nullptr);
    execv(program_.c_str(), argv.data());
    _exit(127);
}

void VerifierProcesses::start() {
    {
        const std::lock_guard lock(mutex_);
        for (int i = 0; i < count_; ++i) {
            const pid_t pid = spawn();
            if (pid > 0) running_.push_back(pid);
        }
    }
    supervisor_ = std::thread([this] { supervise(); });
}

void VerifierProcesses::wake() {
    const std::lock_guard lock(mutex_);
    for (const pid_t pid : running_) kill(pid, SIGUSR1);
}

void VerifierProcesses::supervise() {
    auto lastRestart = std::chrono::steady_clock::now() - kRestartPause;
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        for (pid_t& pid : running_) {
            int status = 0;
            if (pid > 0 && waitpid(pid, &status, WNOHANG) != pid) continue;
            if (pid > 0) {
                std::fprintf(stderr, "kolvane-server: verifier process %d ended (%s %d)\n",
                             static_cast<int>(pid), WIFSIGNALED(status) ? "signal" : "exit",
                             WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
                pid = 0;
            }
            if (std::chrono::steady_clock::now() - lastRestart < kRestartPause) continue;
            pid = spawn();
            lastRestart = std::chrono::steady_clock::now();
        }
        stopped_.wait_for(lock, kCheckPeriod, [&] { return stopping_; });
    }
}

void VerifierProcesses::stop() {
    {
        const std::lock_guard lock(mutex_);
        if (stopping_) return;
        stopping_ = true;
    }
    stopped_.notify_all();
    if (supervisor_.joinable()) supervisor_.join();
    for (const pid_t pid : running_) {
        if (pid > 0) kill(pid, SIGTERM);
    }
    for (const pid_t pid : running_) {
        if (pid > 0) waitpid(pid, nullptr, 0);
    }
    running_.clear();
}

}  // namespace kolvane::server
