#pragma once
#include "platform/sql/Connection.h"
#include "support/TempDir.h"

#include <memory>
#include <string>

namespace fat::test {

// A fresh embedded database in its own temporary folder, with the ERP's tables unless asked
// otherwise, and an open connection to it (SYSDBA, the password of key 1).
class TestDatabase {
public:
    static constexpr const char* User = "SYSDBA";
    static constexpr const char* Password = "fennelrot";

    explicit TestDatabase(bool withErpSchema = true);
    ~TestDatabase();

    const std::string& location() const { return location_; }
    const TempDir& dir() const { return dir_; }
    sql::Connection& connection() { return *connection_; }
    // Another attachment to the same database, opened.
    std::unique_ptr<sql::Connection> newConnection() const;
    // Runs one statement at once on the main connection.
    void exec(const std::string& sqlText);
    // The first column of the first row of a select, as text ("" when no row).
    std::string scalar(const std::string& sqlText);

    // Parameter lines for a connection to `location`.
    static void configure(sql::Connection& connection, const std::string& location);

private:
    TempDir dir_;
    std::string location_;
    std::unique_ptr<sql::Connection> connection_;
};

} // namespace fat::test
