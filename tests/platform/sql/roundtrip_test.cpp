#include "platform/sql/Query.h"
#include "platform/core/DateTime.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace fat;

namespace {

struct RoundTrip : ::testing::Test {
    test::TestDatabase db{false};
    void SetUp() override {
        db.exec("create table T (ID integer not null primary key, N numeric(15,2), D double precision,"
                " TS timestamp, DT date, S varchar(40), C char(3), M blob sub_type text)");
    }
    sql::Query insert{db.connection()};
    sql::Query select{db.connection()};
    void put(int id, const std::string& column, const Value& v) {
        insert.setSql("insert into T (ID, " + column + ") values (:ID, :V)");
        insert.paramByName("ID").setAsInteger(id);
        insert.paramByName("V").setValue(v);
        EXPECT_EQ(insert.execSql(), 1);
    }
    Value get(int id, const std::string& column) {
        select.setSql("select " + column + " from T where ID = :ID");
        select.paramByName("ID").setAsInteger(id);
        select.open();
        EXPECT_FALSE(select.eof());
        return select.field(0);
    }
};

} // namespace

TEST_F(RoundTrip, ExactDecimalsKeepSignAndDigits) {
    const char* texts[] = {"-0.01", "-0.99", "-1.00", "0.00", "1234567890123.45", "-1234567890123.45"};
    int id = 0;
    for (const char* t : texts) {
        put(++id, "N", Value::fromDecimal(Decimal::parse(t)));
        const Value v = get(id, "N");
        ASSERT_TRUE(v.isDecimal()) << t;
        EXPECT_EQ(v.asDecimal(2).toString(), t);
    }
    // Text and float parameters convert to the column's exact type.
    put(++id, "N", Value::fromFloat(-0.99));
    EXPECT_EQ(get(id, "N").asDecimal(2).toString(), "-0.99");
    EXPECT_EQ(select.columns()[0].scale, 2);
    EXPECT_EQ(select.columns()[0].type, DataType::Decimal);
}

TEST_F(RoundTrip, TimestampsKeepTheTimeOfDay) {
    const TDateTime when = EncodeDateTime({2026, 12, 10, 23, 59, 58, 1234});
    put(1, "TS", Value::fromDateTime(when));
    const Value v = get(1, "TS");
    ASSERT_TRUE(v.isDateTime());
    EXPECT_EQ(DecodeDateTime(v.asDateTime()), DecodeDateTime(when));
    // A date column drops the time; the date stays.
    put(2, "DT", Value::fromDateTime(when));
    EXPECT_EQ(get(2, "DT").asDateTime(), EncodeDate(2026, 12, 10));
    // 01/01/1901, the product's null date, survives too.
    put(3, "TS", Value::fromDateTime(EncodeDate(1901, 1, 1)));
    EXPECT_EQ(get(3, "TS").asDateTime(), EncodeDate(1901, 1, 1));
}

TEST_F(RoundTrip, SingleByteTextIsKeptByteForByte) {
    const std::string accented = "A\xC7\xC3O JOS\xC9 \xE1\xE9\xED\xF3\xFA\xE7\xE3\xF5 D'\xC1VILA"; // WIN1252
    put(1, "S", Value::fromString(accented));
    EXPECT_EQ(get(1, "S").asString(), accented);
    put(2, "M", Value::fromString(accented + std::string(40000, 'x')));
    EXPECT_EQ(get(2, "M").asString(), accented + std::string(40000, 'x'));
    put(3, "C", Value::fromString("\xC9"));
    EXPECT_EQ(get(3, "C").asString(), "\xC9  "); // fixed width, padded
    EXPECT_EQ(select.columns()[0].type, DataType::FixedChar);
}

TEST_F(RoundTrip, NullsAndMissingRows) {
    put(1, "S", Value());
    EXPECT_TRUE(get(1, "S").isNull());
    select.setSql("select S from T where ID = 999");
    select.open();
    EXPECT_TRUE(select.eof());
}

TEST_F(RoundTrip, AParameterUsedTwiceTakesOneValue) {
    db.exec("insert into T (ID, N, D) values (1, 10, 10)");
    db.exec("insert into T (ID, N, D) values (2, 10, 20)");
    select.setSql("select ID from T where N = :V and D = :V order by ID");
    ASSERT_EQ(select.params().size(), 1u);
    select.paramByName("v").setAsInteger(10);
    select.open();
    ASSERT_FALSE(select.eof());
    EXPECT_EQ(select.fieldByName("id").asInteger(), 1);
    select.next();
    EXPECT_TRUE(select.eof());
}
