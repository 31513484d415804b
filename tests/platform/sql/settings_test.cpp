#include "platform/sql/DatabaseError.h"
#include "platform/sql/Query.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace fat;

namespace {

std::unique_ptr<sql::Connection> Open(const test::TestDatabase& db, const std::vector<std::string>& extra) {
    auto c = std::make_unique<sql::Connection>();
    test::TestDatabase::configure(*c, db.location());
    for (const auto& line : extra) c->params().push_back(line);
    c->open();
    return c;
}

Value First(sql::Connection& c, const std::string& text) {
    sql::Query q(c);
    q.setSql(text);
    q.open();
    return q.field(0);
}

} // namespace

TEST(ConnectionSettings, EnableBcdDecidesWhetherDecimalsStayExact) {
    test::TestDatabase db(false);
    db.exec("create table T (N numeric(15,2))");
    db.exec("insert into T values (-0.99)");
    EXPECT_TRUE(First(*Open(db, {"EnableBCD=True"}), "select N from T").isDecimal());
    const Value asFloat = First(*Open(db, {"EnableBCD=False"}), "select N from T");
    EXPECT_TRUE(asFloat.isFloat());
    EXPECT_DOUBLE_EQ(asFloat.asFloat(), -0.99);
}

TEST(ConnectionSettings, WaitOnLocksFalseFailsAtOnceOnALockedRow) {
    test::TestDatabase db(false);
    db.exec("create table T (ID integer not null primary key, S varchar(5))");
    db.exec("insert into T values (1, 'a')");
    auto holder = db.newConnection();
    holder->startTransaction();
    {
        sql::Query q(*holder);
        q.setSql("update T set S = 'b' where ID = 1");
        q.execSql();
    }
    auto impatient = Open(db, {"DevartInterBase TransIsolation=ReadCommited", "WaitOnLocks=False"});
    sql::Query q(*impatient);
    q.setSql("update T set S = 'c' where ID = 1");
    try {
        q.execSql();
        FAIL() << "the locked row was updated";
    } catch (const sql::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("conflict"), std::string::npos) << e.what();
    }
    holder->rollback();
}

TEST(ConnectionSettings, ReadCommittedSeesOtherCommitsInsideATransaction) {
    test::TestDatabase db(false);
    db.exec("create table T (ID integer)");
    auto reader = Open(db, {"DevartInterBase TransIsolation=ReadCommited"});
    reader->startTransaction();
    EXPECT_EQ(First(*reader, "select count(*) from T").asInteger(), 0);
    db.exec("insert into T values (1)");
    EXPECT_EQ(First(*reader, "select count(*) from T").asInteger(), 1);
    reader->rollback();

    auto snapshot = Open(db, {"DevartInterBase TransIsolation=RepeatableRead"});
    snapshot->startTransaction();
    EXPECT_EQ(First(*snapshot, "select count(*) from T").asInteger(), 1);
    db.exec("insert into T values (2)");
    EXPECT_EQ(First(*snapshot, "select count(*) from T").asInteger(), 1);
    snapshot->rollback();
}
