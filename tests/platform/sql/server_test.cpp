#include "platform/sql/DatabaseError.h"
#include "platform/sql/Query.h"
#include "support/ServerDatabase.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace fat;

// Goes through a Firebird server on 127.0.0.1. The test command starts one and names a folder
// it may create databases in (FAT_FB_SERVER_DIR); without it the test is skipped, unless the
// run demands the server (FAT_REQUIRE_SERVER=1).
TEST(Server, ConnectsOverTcpWithExactValuesAndAccents) {
    std::string dir;
    FAT_REQUIRE_SERVER_DIR(dir);
    const test::ServerDatabaseFile file(dir, "server-test");
    const std::string location = file.location();
    sql::Connection::createDatabase(location, test::TestDatabase::User, test::TestDatabase::Password);
    {
        sql::Connection c;
        test::TestDatabase::configure(c, location);
        c.open();
        c.executeImmediate("create table T (N numeric(15,2), S varchar(20), TS timestamp)");
        sql::Query q(c);
        q.setSql("insert into T values (:N, :S, :TS)");
        q.paramByName("N").setAsDecimal(Decimal::parse("-0.99"));
        q.paramByName("S").setAsString("Jos\xE9");
        q.paramByName("TS").setAsDateTime(EncodeDateTime({2026, 1, 2, 3, 4, 5, 6}));
        q.execSql();
        q.setSql("select N, S, TS from T");
        q.open();
        EXPECT_EQ(q.field(0).asDecimal(2).toString(), "-0.99");
        EXPECT_EQ(q.field(1).asString(), "Jos\xE9");
        EXPECT_EQ(DecodeDateTime(q.field(2).asDateTime()).tenThousandths, 6);
    }
    {
        sql::Connection wrong;
        wrong.params() = {"Database=" + location, "User_Name=SYSDBA", "Password=not-the-password"};
        try {
            wrong.open();
            FAIL() << "a wrong password was accepted";
        } catch (const sql::DatabaseError& e) {
            EXPECT_NE(std::string(e.what()).find("password"), std::string::npos) << e.what();
        }
    }
}
