#include "support/TestDatabase.h"

#include "db/ErpSchema.h"
#include "platform/sql/Query.h"

namespace fat::test {

void TestDatabase::configure(sql::Connection& connection, const std::string& location) {
    connection.params() = {"Database=" + location, std::string("User_Name=") + User,
                           std::string("Password=") + Password, "SQLDialect=3"};
}

TestDatabase::TestDatabase(bool withErpSchema) : location_(dir_.file("test.fdb")) {
    sql::Connection::createDatabase(location_, User, Password);
    connection_ = std::make_unique<sql::Connection>();
    configure(*connection_, location_);
    connection_->open();
    if (withErpSchema) db::CreateErpSchema(*connection_);
}

TestDatabase::~TestDatabase() {
    connection_.reset(); // detach before the folder goes
}

std::unique_ptr<sql::Connection> TestDatabase::newConnection() const {
    auto connection = std::make_unique<sql::Connection>();
    configure(*connection, location_);
    connection->open();
    return connection;
}

void TestDatabase::exec(const std::string& sqlText) { connection_->executeImmediate(sqlText); }

std::string TestDatabase::scalar(const std::string& sqlText) {
    sql::Query q(*connection_);
    q.setSql(sqlText);
    q.open();
    return q.eof() ? std::string() : q.field(0).asString();
}

} // namespace fat::test
