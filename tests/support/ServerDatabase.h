#pragma once
#include <gtest/gtest.h>

#include <string>

namespace fat::test {

// The folder in which the Firebird server on 127.0.0.1 that the test command starts keeps the
// databases tests create there (FAT_FB_SERVER_DIR); empty when this run has no server.
std::string ServerDatabaseDir();

// Whether this run demands the server (FAT_REQUIRE_SERVER=1): a test that needs it then fails
// instead of being skipped.
bool ServerRequired();

// A database file in the server's folder, unique to this process and name; the file is removed
// when the object goes. Its location goes through the server ("localhost:/path").
class ServerDatabaseFile {
public:
    ServerDatabaseFile(const std::string& dir, const std::string& name);
    ~ServerDatabaseFile();
    ServerDatabaseFile(const ServerDatabaseFile&) = delete;
    ServerDatabaseFile& operator=(const ServerDatabaseFile&) = delete;

    const std::string& path() const { return path_; }
    // Makes a file created at path() through the embedded engine the server's user's, so that
    // the server can open it; raises when it cannot.
    void giveToServer() const;
    std::string location() const { return "localhost:" + path_; }

private:
    std::string path_;
};

} // namespace fat::test

// Skips the test when the run has no server, or fails it when the run demands one. For a test
// body or a fixture's SetUp; `dir` receives the server's folder.
#define FAT_REQUIRE_SERVER_DIR(dir)                                                                \
    do {                                                                                           \
        (dir) = ::fat::test::ServerDatabaseDir();                                                  \
        if ((dir).empty()) {                                                                       \
            if (::fat::test::ServerRequired()) FAIL() << "FAT_FB_SERVER_DIR is not set but the server is required"; \
            GTEST_SKIP() << "no Firebird server configured";                                      \
        }                                                                                          \
    } while (false)
