#pragma once
// This test program started again as a child process that runs one test of its own, talking to
// its parent through two pipes: the child writes lines of progress (fd EventFd), the parent
// answers with bytes (fd ReplyFd). The child is killed when the object goes and it still runs.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace fat::test {

class ChildProcess {
public:
    static constexpr int EventFd = 3;
    static constexpr int ReplyFd = 4;

    // Runs this program with a gtest filter naming the child's test and these extra variables.
    ChildProcess(const std::string& testFilter, const std::map<std::string, std::string>& environment) {
        signal(SIGPIPE, SIG_IGN); // a child that is gone must not take this program with it
        int events[2], replies[2];
        if (pipe2(events, O_CLOEXEC) != 0 || pipe2(replies, O_CLOEXEC) != 0)
            throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) env.emplace_back(*e);
        for (const auto& [name, value] : environment) env.push_back(name + "=" + value);
        const std::string self = "/proc/self/exe";
        const std::string filter = "--gtest_filter=" + testFilter;
        const std::string disabled = "--gtest_also_run_disabled_tests", brief = "--gtest_brief=1";
        std::vector<char*> argv{const_cast<char*>(self.c_str()), const_cast<char*>(filter.c_str()),
                                const_cast<char*>(disabled.c_str()), const_cast<char*>(brief.c_str()), nullptr};
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        pid_ = fork();
        if (pid_ < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
        if (pid_ == 0) {
            // Only async-signal-safe calls until exec. The pipe ends go high first, so that
            // placing one cannot close the other; every other inherited descriptor is closed.
            const int e = fcntl(events[1], F_DUPFD, 64), r = fcntl(replies[0], F_DUPFD, 64);
            dup2(e, EventFd);
            dup2(r, ReplyFd);
            for (int fd = ReplyFd + 1; fd < 4096; ++fd) close(fd);
            execve(self.c_str(), argv.data(), envp.data());
            _exit(127);
        }
        close(events[1]);
        close(replies[0]);
        events_ = events[0];
        replies_ = replies[1];
    }
    ~ChildProcess() {
        if (pid_ > 0 && !status_) {
            kill();
        }
        if (events_ >= 0) close(events_);
        if (replies_ >= 0) close(replies_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line the child wrote (without its line break); nullopt once it closed its end.
    std::optional<std::string> readLine() {
        for (;;) {
            if (const auto nl = buffer_.find('\n'); nl != std::string::npos) {
                std::string line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                return line;
            }
            char chunk[4096];
            const ssize_t n = read(events_, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return std::nullopt;
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }
    // Lets a child that waits for its parent go on.
    void resume() {
        const char go = 'g';
        if (write(replies_, &go, 1) != 1) throw std::runtime_error("the child no longer listens");
    }
    // SIGKILL, then waits for it to end; returns the wait status.
    int kill() {
        ::kill(pid_, SIGKILL);
        return wait();
    }
    int wait() {
        if (!status_) {
            int status = 0;
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            status_ = status;
        }
        return *status_;
    }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int events_ = -1;
    int replies_ = -1;
    std::string buffer_;
    std::optional<int> status_;
};

// The child's side of the two pipes.
struct ParentLink {
    static void send(const std::string& line) {
        const std::string text = line + "\n";
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = write(ChildProcess::EventFd, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) _exit(3); // the parent is gone
            done += static_cast<std::size_t>(n);
        }
    }
    // Waits until the parent lets the child go on (it may kill it instead).
    static void waitForParent() {
        char c;
        while (read(ChildProcess::ReplyFd, &c, 1) < 0 && errno == EINTR) {
        }
    }
};

} // namespace fat::test
