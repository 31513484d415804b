#pragma once
#include "support/TempDir.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace fat::test {

// The development directory server (tools/directory_server) running as a child process on a
// free loopback port, its standard output and error going to a log file. The child is killed and reaped
// when the object goes, also when a test fails half-way; it also dies with the test process.
class DirectoryServerProcess {
public:
    // The built server beside the test programs: <build>/tests/test_x -> <build>/tools/directory_server.
    static std::filesystem::path BinaryPath() {
        return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" /
               "directory_server";
    }

    // Starts the server with these options followed by --port 0 and the list file, and waits
    // until it listens. Raises std::runtime_error when it cannot start.
    DirectoryServerProcess(const std::string& listFile, std::vector<std::string> options = {}) {
        const std::filesystem::path binary = BinaryPath();
        if (!std::filesystem::exists(binary))
            throw std::runtime_error(binary.string() + " is missing: build the directory_server target first");
        logPath_ = dir_.file("server.log");

        std::vector<std::string> args{binary.string()};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {"--port", "0", listFile});
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const std::string logFile = logPath_;
        const pid_t parent = getpid();

        pid_ = fork();
        if (pid_ < 0) throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            // Only async-signal-safe calls between fork and exec: the test process has threads.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent) _exit(126);
            const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (log < 0) _exit(126);
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
            close(log);
            execv(argv[0], argv.data());
            _exit(127);
        }

        try {
            waitUntilListening();
        } catch (...) {
            stop();
            throw;
        }
    }

    ~DirectoryServerProcess() { stop(); }
    DirectoryServerProcess(const DirectoryServerProcess&) = delete;
    DirectoryServerProcess& operator=(const DirectoryServerProcess&) = delete;

    int port() const { return port_; }
    // As the INI file's [QDXSERVER] HOST names it.
    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }

    // Kills the server and reaps it; its port is then closed. Does nothing the second time.
    void stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }

    // Everything the server wrote so far.
    std::string log() const {
        std::ifstream file(logPath_, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    }
    // The request lines it logged ("GET /path HTTP/1.1 -> 200 OK"), in order.
    std::vector<std::string> requests() const {
        std::vector<std::string> lines;
        std::istringstream text(log());
        for (std::string line; std::getline(text, line);)
            if (line.find(" -> ") != std::string::npos) lines.push_back(line);
        return lines;
    }

private:
    void waitUntilListening() {
        const std::string mark = "listening on http://127.0.0.1:";
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            const std::string text = log();
            const auto at = text.find(mark);
            const auto end = at == std::string::npos ? at : text.find('\n', at);
            if (end != std::string::npos) {
                port_ = std::stoi(text.substr(at + mark.size(), end - at - mark.size()));
                return;
            }
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                throw std::runtime_error("the directory server ended at once with exit code " +
                                         std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ": " + text);
            }
            if (std::chrono::steady_clock::now() > deadline)
                throw std::runtime_error("the directory server did not start listening within 10 s");
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    TempDir dir_;
    std::string logPath_;
    pid_t pid_ = -1;
    int port_ = 0;
};

} // namespace fat::test
