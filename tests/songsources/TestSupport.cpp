#include "TestSupport.h"

#include <fcntl.h>
#include <glib.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace zt::host::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zt-songsources-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

ChildProcess::ChildProcess(std::vector<std::string> argv, bool captureOutput) {
    int pipeEnds[2] = {-1, -1};
    if (captureOutput && pipe2(pipeEnds, O_CLOEXEC) != 0) return;
    pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // The child dies with the test process, whatever ends it.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        if (captureOutput) dup2(pipeEnds[1], STDOUT_FILENO);
        std::vector<char*> args;
        for (auto& arg : argv) args.push_back(arg.data());
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    if (captureOutput) {
        close(pipeEnds[1]);
        output_ = pipeEnds[0];
    }
}

ChildProcess::~ChildProcess() {
    Kill();
    if (output_ >= 0) close(output_);
}

void ChildProcess::Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

int ChildProcess::Wait() {
    if (pid_ <= 0) return -1;
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (output_ >= 0) {
        if (size_t end = buffered_.find('\n'); end != std::string::npos) {
            std::string line = buffered_.substr(0, end);
            buffered_.erase(0, end + 1);
            return line;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd wait{output_, POLLIN, 0};
        if (poll(&wait, 1, int(left.count())) <= 0) continue;
        char chunk[512];
        ssize_t got = read(output_, chunk, sizeof chunk);
        if (got <= 0) return std::nullopt;
        buffered_.append(chunk, size_t(got));
    }
    return std::nullopt;
}

bool RunProgram(std::vector<std::string> argv) {
    ChildProcess child(std::move(argv));
    return child.started() && child.Wait() == 0;
}

bool SpinUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    // A tick wakes the loop so the deadline is seen even when nothing happens.
    guint tick = g_timeout_add(20, [](gpointer) { return int(G_SOURCE_CONTINUE); }, nullptr);
    bool met = done();
    while (!met && std::chrono::steady_clock::now() < deadline) {
        g_main_context_iteration(nullptr, true);
        met = done();
    }
    g_source_remove(tick);
    return met;
}

} // namespace zt::host::test
