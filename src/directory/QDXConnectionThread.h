#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace fat::directory {

// The directory client's worker: runs the client's periodic step, ignoring its errors, then
// sleeps, until a stop is requested. A stop wakes it at once; the destructor requests one and
// joins. It touches nothing but its own state and the step it was given.
class TQDXConnectionThread {
public:
    using Step = std::function<void()>;
    static constexpr std::chrono::milliseconds kInterval{2000};

    // Without a step (no client to serve) the thread ends at once.
    explicit TQDXConnectionThread(Step step, std::chrono::milliseconds interval = kInterval);
    ~TQDXConnectionThread();
    TQDXConnectionThread(const TQDXConnectionThread&) = delete;
    TQDXConnectionThread& operator=(const TQDXConnectionThread&) = delete;

    void RequestStop();
    bool StopRequested() const { return stopRequested_; }
    // False once the loop has ended.
    bool Running() const { return running_; }

private:
    void Execute();

    Step step_;
    std::chrono::milliseconds interval_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> running_{true};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_; // last: starts once everything above exists
};

} // namespace fat::directory
