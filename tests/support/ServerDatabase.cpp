#include "support/ServerDatabase.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fat::test {

std::string ServerDatabaseDir() {
    const char* dir = std::getenv("FAT_FB_SERVER_DIR");
    return dir ? dir : "";
}

bool ServerRequired() {
    const char* required = std::getenv("FAT_REQUIRE_SERVER");
    return required && std::string(required) == "1";
}

ServerDatabaseFile::ServerDatabaseFile(const std::string& dir, const std::string& name)
    : path_(dir + "/" + name + "-" + std::to_string(::getpid()) + ".fdb") {}

void ServerDatabaseFile::giveToServer() const {
    const passwd* firebird = getpwnam("firebird");
    if (!firebird || chown(path_.c_str(), firebird->pw_uid, firebird->pw_gid) != 0)
        throw std::runtime_error("cannot give " + path_ + " to the firebird user");
}

ServerDatabaseFile::~ServerDatabaseFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

} // namespace fat::test
