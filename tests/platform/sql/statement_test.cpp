#include "platform/sql/DatabaseError.h"
#include "platform/sql/Query.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace fat;

TEST(Statements, TheSameTextRunAgainReusesItsPreparedStatement) {
    test::TestDatabase db(false);
    db.exec("create table T (ID integer)");
    auto& c = db.connection();
    const auto before = c.statementsPrepared();
    for (int i = 0; i < 20; ++i) {
        sql::Query q(c); // a new query object each time, as short-lived lookups are
        q.setSql("insert into T (ID) values (:ID)");
        q.paramByName("ID").setAsInteger(i);
        q.execSql();
    }
    EXPECT_EQ(c.statementsPrepared() - before, 1u);
    sql::Query q(c);
    q.setSql("select count(*) from T");
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 20);
}

// A walk that reads each row with a text of its own (literal values) fills the cache with texts
// used once; the statements used for every row must stay prepared all the same.
TEST(Statements, TextsUsedOnceLeaveTheCacheBeforeTheStatementsUsedForEveryRow) {
    test::TestDatabase db(false);
    db.exec("create table T (ID integer)");
    auto& c = db.connection();
    // Sorted before the texts used once: a cache that dropped its first text would drop it.
    const std::string hot = "INSERT into T (ID) values (:ID)";
    const auto before = c.statementsPrepared();
    for (int i = 0; i < 700; ++i) {
        {
            sql::Query insert(c);
            insert.setSql(hot);
            insert.paramByName("ID").setAsInteger(i);
            insert.execSql();
        }
        sql::Query once(c);
        once.setSql("select ID from T where ID = " + std::to_string(i));
        once.open();
        ASSERT_FALSE(once.eof());
    }
    EXPECT_EQ(c.statementsPrepared() - before, 701u); // the insert once, each text used once
}

TEST(Statements, ErrorsCarryTheDatabasesOwnText) {
    test::TestDatabase db(false);
    sql::Query q(db.connection());
    q.setSql("select * from NO_SUCH_TABLE");
    try {
        q.open();
        FAIL();
    } catch (const sql::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("NO_SUCH_TABLE"), std::string::npos) << e.what();
    }
    q.setSql("select 1 as ONE from RDB$DATABASE");
    q.open();
    EXPECT_THROW(q.fieldByName("TWO"), Error);
    try {
        q.paramByName("P");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("'P'"), std::string::npos);
    }
}

TEST(Statements, ABadLocationOrPasswordGivesTheDatabasesError) {
    test::TestDatabase db(false);
    struct Case { std::string location, password, expected; };
    const Case cases[] = {
        {db.dir().file("missing.fdb"), test::TestDatabase::Password, "missing.fdb"},
        {"localhost/1:/tmp/nowhere.fdb", test::TestDatabase::Password, "network"},
    };
    for (const auto& c : cases) {
        sql::Connection connection;
        connection.params() = {"Database=" + c.location, "User_Name=SYSDBA", "Password=" + c.password};
        try {
            connection.open();
            FAIL() << c.location;
        } catch (const sql::DatabaseError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
        EXPECT_FALSE(connection.connected());
    }
}
