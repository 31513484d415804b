#include "platform/ini/ExecutablePath.h"

#include "platform/core/Errors.h"

#include <filesystem>
#include <mutex>

namespace fat::ini {

namespace {

std::mutex& OverrideMutex() {
    static std::mutex m;
    return m;
}

std::string& OverridePath() {
    static std::string path;
    return path;
}

} // namespace

std::string ExecutablePath() {
    {
        std::lock_guard lock(OverrideMutex());
        if (!OverridePath().empty()) return OverridePath();
    }
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) throw Error("Cannot find the path of the running program: " + ec.message());
    return path.string();
}

std::string ExecutableDir() { return std::filesystem::path(ExecutablePath()).parent_path().string(); }

std::string IniPathForExecutable() {
    return std::filesystem::path(ExecutablePath()).replace_extension(".ini").string();
}

void SetExecutablePathForTesting(const std::string& path) {
    std::lock_guard lock(OverrideMutex());
    OverridePath() = path;
}

} // namespace fat::ini
