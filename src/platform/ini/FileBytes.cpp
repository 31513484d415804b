#include "platform/ini/FileBytes.h"

#include "platform/core/Errors.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fat::ini {

namespace {

[[noreturn]] void Fail(const std::string& verb, const std::string& path, const std::string& reason) {
    throw Error("Cannot " + verb + " the file '" + path + "': " + reason);
}

std::string ErrnoText(int err) { return std::strerror(err); }

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { if (fd_ >= 0) ::close(fd_); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the error of close itself (errno set).
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// A temporary file that is removed unless it was renamed into place.
class TempFile {
public:
    explicit TempFile(std::string path) : path_(std::move(path)) {}
    ~TempFile() { if (!kept_) ::unlink(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    void keep() { kept_ = true; }

private:
    std::string path_;
    bool kept_ = false;
};

bool Writable(const struct stat& st, const std::string& path) {
    constexpr mode_t anyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
    return (st.st_mode & anyWrite) != 0 && ::access(path.c_str(), W_OK) == 0;
}

std::string TempNameBeside(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    return target + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(rd() % 1000000);
}

} // namespace

std::optional<std::string> ReadFileBytes(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        Fail("read", path, ErrnoText(errno));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) Fail("read", path, ErrnoText(errno));
    if (S_ISDIR(st.st_mode)) Fail("read", path, "it is a folder");
    std::string content;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("read", path, ErrnoText(errno));
        }
        if (n == 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    return content;
}

void ReplaceFileBytes(const std::string& path, const std::string& content) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Write through a symbolic link to the file it names, not over the link.
    std::string target = path;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        fs::path resolved = fs::weakly_canonical(path, ec);
        if (!ec) target = resolved.string();
    }
    std::string folder = fs::path(target).parent_path().string();
    if (folder.empty()) folder = ".";

    struct stat dirSt {};
    if (::stat(folder.c_str(), &dirSt) != 0)
        Fail("write", path, "the folder '" + folder + "' does not exist");
    if (!S_ISDIR(dirSt.st_mode)) Fail("write", path, "'" + folder + "' is not a folder");
    if (!Writable(dirSt, folder)) Fail("write", path, "the folder '" + folder + "' is read-only");

    struct stat fileSt {};
    bool exists = ::stat(target.c_str(), &fileSt) == 0;
    if (exists) {
        if (S_ISDIR(fileSt.st_mode)) Fail("write", path, "it is a folder");
        if (!Writable(fileSt, target)) Fail("write", path, "the file is read-only");
    }

    const std::string tempPath = TempNameBeside(target);
    Fd fd(::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.get() < 0) Fail("write", path, ErrnoText(errno));
    TempFile temp(tempPath);
    if (exists && ::fchmod(fd.get(), fileSt.st_mode & 07777) != 0) Fail("write", path, ErrnoText(errno));

    std::size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd.get(), content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("write", path, ErrnoText(errno));
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0) Fail("write", path, ErrnoText(errno));
    if (!fd.close()) Fail("write", path, ErrnoText(errno));
    if (::rename(tempPath.c_str(), target.c_str()) != 0) Fail("write", path, ErrnoText(errno));
    temp.keep();
}

} // namespace fat::ini
