#include "directory/QDXConnectionThread.h"

namespace fat::directory {

TQDXConnectionThread::TQDXConnectionThread(Step step, std::chrono::milliseconds interval)
    : step_(std::move(step)), interval_(interval), thread_([this] { Execute(); }) {}

TQDXConnectionThread::~TQDXConnectionThread() {
    RequestStop();
    thread_.join();
}

void TQDXConnectionThread::RequestStop() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
}

void TQDXConnectionThread::Execute() {
    while (step_ && !stopRequested_) {
        try {
            step_();
        } catch (...) {
            // a failed step must not end the worker
        }
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, interval_, [this] { return stopRequested_.load(); });
    }
    running_ = false;
}

} // namespace fat::directory
