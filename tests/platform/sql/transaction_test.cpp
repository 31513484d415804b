#include "platform/sql/DatabaseError.h"
#include "platform/sql/Query.h"
#include "platform/sql/Transaction.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace fat;

namespace {

struct Transactions : ::testing::Test {
    test::TestDatabase db{false};
    void SetUp() override { db.exec("create table T (ID integer not null primary key, S varchar(10))"); }
    std::string count(sql::Connection& c) {
        sql::Query q(c);
        q.setSql("select count(*) from T");
        q.open();
        return q.field(0).asString();
    }
    void insert(int id) {
        sql::Query q(db.connection());
        q.setSql("insert into T (ID) values (:ID)");
        q.paramByName("ID").setAsInteger(id);
        q.execSql();
    }
};

} // namespace

TEST_F(Transactions, OutsideAnExplicitTransactionEveryChangeIsCommitted) {
    insert(1);
    auto other = db.newConnection();
    EXPECT_EQ(count(*other), "1");
}

TEST_F(Transactions, UncommittedRowsAreInvisibleToOthersAndRollbackLeavesNothing) {
    auto other = db.newConnection();
    db.connection().startTransaction(4711);
    EXPECT_TRUE(db.connection().inTransaction());
    EXPECT_EQ(db.connection().transactionId(), 4711);
    insert(1);
    insert(2);
    EXPECT_EQ(count(db.connection()), "2");
    EXPECT_EQ(count(*other), "0");
    db.connection().rollback();
    EXPECT_EQ(count(db.connection()), "0");
    EXPECT_EQ(count(*other), "0");

    db.connection().startTransaction();
    insert(3);
    db.connection().commit();
    EXPECT_EQ(count(*other), "1");
}

TEST_F(Transactions, AnUncommittedGuardRollsBackWhenAnErrorLeavesTheScope) {
    try {
        sql::Transaction tx(db.connection());
        insert(1);
        insert(1); // duplicate key
        tx.commit();
        FAIL() << "the duplicate was accepted";
    } catch (const sql::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("PRIMARY"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(db.connection().inTransaction());
    EXPECT_EQ(count(db.connection()), "0");
}

TEST_F(Transactions, AnOpenCursorSurvivesAutoCommittedWrites) {
    for (int i = 1; i <= 5; ++i) insert(i);
    sql::Query reader(db.connection());
    reader.setSql("select ID from T order by ID");
    int seen = 0;
    for (reader.open(); !reader.eof(); reader.next()) {
        ++seen;
        sql::Query w(db.connection());
        w.setSql("update T set S = 'x' where ID = :ID");
        w.paramByName("ID").setValue(reader.fieldByName("ID"));
        EXPECT_EQ(w.execSql(), 1);
    }
    EXPECT_EQ(seen, 5);
    auto other = db.newConnection();
    sql::Query q(*other);
    q.setSql("select count(*) from T where S = 'x'");
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 5);
}
