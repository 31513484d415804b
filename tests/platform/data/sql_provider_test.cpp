#include "platform/core/DateTime.h"
#include "platform/core/Win1252.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/SqlProvider.h"
#include "platform/sql/DatabaseError.h"
#include "platform/sql/Query.h"
#include "platform/sql/Transaction.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

using namespace fat;
using namespace fat::data;

namespace {

Value S(const std::string& t) { return Value::fromString(t); }
Value I(std::int64_t v) { return Value::fromInteger(v); }
Value D(const char* t) { return Value::fromDecimal(Decimal::parse(t)); }

// A table with a composite key, one without a key, and a dataset over each.
struct SqlProviderTest : ::testing::Test {
    test::TestDatabase db{false};
    sql::Query query{db.connection()};
    SqlProvider provider{query};
    ClientDataSet ds{"cdsItens"};

    void SetUp() override {
        db.exec("create table ITENS (FILIAL integer not null, DOCTO varchar(6) not null, ITEM integer not null,"
                " NOME varchar(40), VALOR numeric(15,2), QUANDO timestamp, OBS blob sub_type text,"
                " primary key (FILIAL, DOCTO, ITEM))");
        db.exec("create table LINKS (FILIAL integer, NUMNOTA varchar(6), NUMPED varchar(8))");
        db.exec("insert into ITENS (FILIAL, DOCTO, ITEM, NOME, VALOR) values (100, '000001', 1, 'A', 1.50)");
        db.exec("insert into ITENS (FILIAL, DOCTO, ITEM, NOME, VALOR) values (100, '000001', 2, 'B', 2.50)");
        ds.setProvider(&provider);
    }
    void openOn(const std::string& sql) {
        ds.close();
        query.setSql(sql);
        ds.open();
    }
    void add(std::initializer_list<std::pair<const char*, Value>> values) {
        ds.append();
        for (const auto& [name, value] : values) ds.fieldByName(name).setValue(value);
        ds.post();
    }
    // What another attachment sees: only committed rows.
    std::string committed(const std::string& sql) {
        auto other = db.newConnection();
        sql::Query q(*other);
        q.setSql(sql);
        std::string r;
        for (q.open(); !q.eof(); q.next()) {
            for (int i = 0; i < q.fieldCount(); ++i) r += (i ? "|" : "") + q.field(i).asString();
            r += ";";
        }
        return r;
    }
};

TEST_F(SqlProviderTest, FetchTakesTheColumnsAsFieldsAndReadsEveryRow) {
    openOn("select * from ITENS order by ITEM");
    ASSERT_EQ(ds.fieldCount(), 7);
    EXPECT_EQ(ds.fieldByName("DOCTO").dataType(), DataType::String);
    EXPECT_EQ(ds.fieldByName("DOCTO").size(), 6);
    EXPECT_TRUE(ds.fieldByName("DOCTO").required());
    EXPECT_FALSE(ds.fieldByName("NOME").required());
    EXPECT_EQ(ds.fieldByName("VALOR").dataType(), DataType::Decimal);
    EXPECT_EQ(ds.fieldByName("VALOR").scale(), 2);
    EXPECT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(ds.fieldByName("VALOR").asDecimal().toString(), "1.50");
    EXPECT_FALSE(query.active());

    // A write buffer: a query that selects no rows gives the table's columns.
    openOn("select * from ITENS where FILIAL >= 100 and DOCTO = '999999'");
    EXPECT_EQ(ds.fieldCount(), 7);
    EXPECT_TRUE(ds.isEmpty());
    const std::vector<FieldDef> described = provider.describe();
    ASSERT_EQ(described.size(), 7u);
    EXPECT_EQ(described[6].name, "OBS");
}

TEST_F(SqlProviderTest, InsertsUpdatesAndDeletesAreCommittedTogether) {
    openOn("select * from ITENS");
    add({{"FILIAL", I(100)}, {"DOCTO", S("000002")}, {"ITEM", I(1)}, {"NOME", S("C")}, {"OBS", S("long text")}});
    ASSERT_TRUE(ds.locate("ITEM;DOCTO", {I(1), S("000001")}));
    ds.edit();
    ds.fieldByName("VALOR").setAsDecimal(Decimal::parse("9.99"));
    ds.post();
    ASSERT_TRUE(ds.locate("ITEM", I(2)));
    ds.deleteRecord();
    EXPECT_EQ(ds.applyUpdates(0), 0);
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_FALSE(db.connection().inTransaction());
    EXPECT_EQ(committed("select DOCTO, ITEM, NOME, VALOR, OBS from ITENS order by DOCTO, ITEM"),
              "000001|1|A|9,99|;000002|1|C||long text;");
    // Applied rows are stored rows: a second change is an update of them.
    ASSERT_TRUE(ds.locate("DOCTO", S("000002")));
    ds.edit();
    ds.fieldByName("NOME").setAsString("D");
    ds.post();
    ds.applyUpdates(0);
    EXPECT_EQ(committed("select NOME from ITENS where DOCTO = '000002'"), "D;");
}

TEST_F(SqlProviderTest, UpdatesSendOnlyChangedColumnsAndStatementsArePreparedOnce) {
    openOn("select * from ITENS");
    std::vector<std::string> sent;
    db.connection().setStatementObserver([&](const std::string& sql, const std::vector<Value>&) { sent.push_back(sql); });
    for (ds.first(); !ds.eof(); ds.next()) {
        ds.edit();
        ds.fieldByName("NOME").setAsString(ds.fieldByName("NOME").asString() + "x");
        ds.post();
    }
    for (int i = 1; i <= 50; ++i) add({{"FILIAL", I(200)}, {"DOCTO", S("000003")}, {"ITEM", I(i)}});
    const auto preparedBefore = db.connection().statementsPrepared();
    ds.applyUpdates(0);
    db.connection().setStatementObserver({});
    std::vector<std::string> writes;
    for (const auto& s : sent)
        if (s.rfind("update", 0) == 0 || s.rfind("insert", 0) == 0) writes.push_back(s);
    ASSERT_EQ(writes.size(), 52u);
    EXPECT_EQ(writes[0], "update \"ITENS\" set \"NOME\" = :P1 where \"FILIAL\" = :K1 and \"DOCTO\" = :K2 and \"ITEM\" = :K3");
    EXPECT_EQ(writes[2],
              "insert into \"ITENS\" (\"FILIAL\", \"DOCTO\", \"ITEM\", \"NOME\", \"VALOR\", \"QUANDO\", \"OBS\") values "
              "(:P1, :P2, :P3, :P4, :P5, :P6, :P7)");
    // The update and the insert, plus the key and column lookups: not one per row.
    EXPECT_LE(db.connection().statementsPrepared() - preparedBefore, 4u);
    EXPECT_EQ(committed("select count(*) from ITENS where FILIAL = 200"), "50;");
    EXPECT_EQ(committed("select NOME from ITENS where FILIAL = 100 order by ITEM"), "Ax;Bx;");
}

TEST_F(SqlProviderTest, ExactDecimalsTimesOfDayAndAccentsSurviveTheRoundTrip) {
    openOn("select * from ITENS where DOCTO = '999999'");
    const char* values[] = {"-0.01", "-0.99", "-1.00", "1234567890123.45"};
    const TDateTime when = EncodeDateTime({2024, 2, 29, 17, 45, 30, 1234});
    const std::string accented = Win1252("Ação São João ÇÃÕÉ ü ÿ");
    int item = 0;
    for (const char* v : values)
        add({{"FILIAL", I(300)}, {"DOCTO", S("000009")}, {"ITEM", I(++item)}, {"VALOR", D(v)},
             {"QUANDO", Value::fromDateTime(when)}, {"NOME", S(accented)}, {"OBS", S(accented)}});
    ds.applyUpdates(0);
    openOn("select * from ITENS where FILIAL = 300 order by ITEM");
    ASSERT_EQ(ds.recordCount(), 4);
    item = 0;
    for (ds.first(); !ds.eof(); ds.next()) {
        EXPECT_EQ(ds.fieldByName("VALOR").asDecimal().toString(), values[item++]);
        EXPECT_EQ(DecodeDateTime(ds.fieldByName("QUANDO").asDateTime()), DecodeDateTime(when));
        EXPECT_EQ(ds.fieldByName("NOME").asString(), accented);
        EXPECT_EQ(ds.fieldByName("OBS").asString(), accented);
    }
    // The values are found again by their stored form.
    EXPECT_TRUE(ds.locate("VALOR", D("-0.99")));
    EXPECT_TRUE(ds.locate("NOME", S(Win1252("AÇÃO SÃO JOÃO çãõé Ü Ÿ")), {true, false}));
}

TEST_F(SqlProviderTest, CalculatedFieldsAreNeverWritten) {
    // Fields in code: the calculated NOME shadows the column, which the dataset then drops.
    query.setSql("select * from ITENS where DOCTO = '999999'");
    ds.addField(FieldDef("FILIAL", DataType::Integer));
    ds.addField(FieldDef("DOCTO", DataType::String, 6));
    ds.addField(FieldDef("ITEM", DataType::Integer));
    ds.addField(FieldDef::calculated("NOME", DataType::String, 40));
    ds.open();
    add({{"FILIAL", I(400)}, {"DOCTO", S("000004")}, {"ITEM", I(1)}, {"NOME", S("in memory only")}});
    std::vector<std::string> sent;
    db.connection().setStatementObserver([&](const std::string& sql, const std::vector<Value>&) { sent.push_back(sql); });
    ds.applyUpdates(0);
    db.connection().setStatementObserver({});
    EXPECT_EQ(committed("select FILIAL, NOME from ITENS where FILIAL = 400"), "400|;");
    for (const auto& s : sent) EXPECT_EQ(s.find("\"NOME\""), std::string::npos) << s;
}

TEST_F(SqlProviderTest, AFailingRowReportsItsValuesInTableOrderAndLeavesTheCallersTransaction) {
    // The dataset's fields are in another order than the table's columns.
    openOn("select NOME, ITEM, DOCTO, FILIAL from ITENS where DOCTO = '999999'");
    std::vector<UpdateError> reported;
    provider.setOnUpdateError([&](const UpdateError& e) { reported.push_back(e); });
    add({{"FILIAL", I(100)}, {"DOCTO", S("000005")}, {"ITEM", I(1)}, {"NOME", S("new")}});
    add({{"FILIAL", I(100)}, {"DOCTO", S("000001")}, {"ITEM", I(2)}, {"NOME", S("dup")}}); // key exists
    add({{"FILIAL", I(100)}, {"DOCTO", S("000006")}, {"ITEM", I(1)}});

    db.connection().startTransaction();
    EXPECT_THROW(ds.applyUpdates(0), sql::DatabaseError);
    EXPECT_TRUE(db.connection().inTransaction()); // the caller decides
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].kind(), ChangeKind::Insert);
    EXPECT_EQ(reported[0].fieldNames(), (std::vector<std::string>{"FILIAL", "DOCTO", "ITEM", "NOME"}));
    EXPECT_EQ(reported[0].values(), (std::vector<Value>{I(100), S("000001"), I(2), S("dup")}));
    EXPECT_NE(reported[0].message().find("PRIMARY or UNIQUE KEY"), std::string::npos) << reported[0].message();
    EXPECT_EQ(ds.changeCount(), 3);
    db.connection().rollback();
    EXPECT_EQ(committed("select count(*) from ITENS"), "2;");
}

TEST_F(SqlProviderTest, WithoutATransactionOfTheCallerTheApplyIsAllOrNothing) {
    openOn("select * from ITENS where DOCTO = '999999'");
    add({{"FILIAL", I(100)}, {"DOCTO", S("000007")}, {"ITEM", I(1)}});
    add({{"FILIAL", I(100)}, {"DOCTO", S("000001")}, {"ITEM", I(1)}}); // key exists
    EXPECT_THROW(ds.applyUpdates(0), sql::DatabaseError);
    EXPECT_FALSE(db.connection().inTransaction());
    EXPECT_EQ(committed("select count(*) from ITENS"), "2;");
    EXPECT_EQ(ds.changeCount(), 2);

    // Tolerated, the failing row stays pending and the rest is committed.
    EXPECT_EQ(ds.applyUpdates(1), 1);
    EXPECT_EQ(ds.changeCount(), 1);
    EXPECT_EQ(committed("select count(*) from ITENS"), "3;");
}

TEST_F(SqlProviderTest, ATableWithoutKeyIsMatchedByAllStoredValues) {
    db.exec("insert into LINKS values (100, '000001', 'P1')");
    db.exec("insert into LINKS values (100, '000001', NULL)");
    db.exec("insert into LINKS values (100, '000002', 'P1')");
    openOn("select * from LINKS");
    ASSERT_TRUE(ds.locate("NUMNOTA;NUMPED", {S("000001"), Value()}));
    ds.edit();
    ds.fieldByName("NUMPED").setAsString("P2");
    ds.post();
    ASSERT_TRUE(ds.locate("NUMNOTA;NUMPED", {S("000002"), S("P1")}));
    ds.deleteRecord();
    ds.applyUpdates(0);
    EXPECT_EQ(committed("select FILIAL, NUMNOTA, NUMPED from LINKS order by NUMPED"), "100|000001|P1;100|000001|P2;");
}

TEST_F(SqlProviderTest, ARowThatIsNoLongerThereIsReported) {
    openOn("select * from ITENS");
    ds.first();
    ds.edit();
    ds.fieldByName("NOME").setAsString("Z");
    ds.post();
    db.exec("delete from ITENS where ITEM = " + ds.fieldByName("ITEM").asString());
    try {
        ds.applyUpdates(0);
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Record not found"), std::string::npos) << e.what();
    }
}

TEST_F(SqlProviderTest, AKeyChangeFindsTheRowByItsStoredKey) {
    openOn("select * from ITENS");
    ASSERT_TRUE(ds.locate("ITEM", I(2)));
    ds.edit();
    ds.fieldByName("ITEM").setAsInteger(7);
    ds.post();
    ds.applyUpdates(0);
    EXPECT_EQ(committed("select ITEM, NOME from ITENS order by ITEM"), "1|A;7|B;");
}

TEST_F(SqlProviderTest, TheTableMustBeDecidableOrNamed) {
    db.exec("insert into LINKS values (100, '000001', 'P1')");
    openOn("select I.FILIAL, I.DOCTO, I.ITEM, I.NOME, L.NUMPED from ITENS I join LINKS L on L.NUMNOTA = I.DOCTO order by I.ITEM");
    ds.first();
    ds.edit();
    ds.fieldByName("NOME").setAsString("joined");
    ds.post();
    try {
        ds.applyUpdates(0);
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("several tables"), std::string::npos) << e.what();
    }
    provider.setUpdateTable("ITENS");
    ds.applyUpdates(0);
    EXPECT_EQ(committed("select NOME from ITENS where ITEM = 1"), "joined;");
}

TEST(SqlProviderErp, TheItemBufferOfTheSaveGetsTheColumnsOfItensns) {
    test::TestDatabase db;
    sql::Query q(db.connection());
    q.setSql("select * from ITENSNS where FILIAL_SA >= 100 and DOCTO_SA = '999999'");
    SqlProvider p(q);
    ClientDataSet items("cdsItensNS");
    items.setProvider(&p);
    items.open();
    EXPECT_TRUE(items.isEmpty());
    ASSERT_NE(items.findField("PRREAL_SA"), nullptr);
    items.append();
    items.fieldByName("FILIAL_SA").setAsInteger(100);
    items.fieldByName("DOCTO_SA").setAsString("000123");
    items.fieldByName("SERIE_SA").setAsString("1");
    items.fieldByName("ITEM_SA").setAsInteger(1);
    items.fieldByName("PRREAL_SA").setAsFloat(10.25);
    items.post();
    items.applyUpdates(0);
    EXPECT_EQ(db.scalar("select PRREAL_SA from ITENSNS where DOCTO_SA = '000123'"), "10,25");
}

} // namespace
