#include "MemoryProvider.h"

#include "platform/core/DateTime.h"
#include "platform/core/Win1252.h"

#include <gtest/gtest.h>

using namespace fat;
using namespace fat::data;
using namespace fat::data::test;

namespace {

struct IndexOrder : ::testing::Test {
    ClientDataSet ds{"cdsItens"};
    void SetUp() override {
        ds.addField(FieldDef("ID", DataType::Integer));
        ds.addField(FieldDef("DOCTO_SA", DataType::String, 6));
        ds.addField(FieldDef("SERIE_SA", DataType::String, 2));
        ds.addField(FieldDef("ITEM_SA", DataType::Integer));
        ds.addField(FieldDef::decimal("VALOR", 15, 2));
        ds.addField(FieldDef("DATA", DataType::DateTime));
        ds.createDataSet();
        add(1, "000002", "1", 10, "-1.00", EncodeDateTime({2024, 1, 1, 12, 0, 0, 0}));
        add(2, "000001", "1", 2, "-0.99", EncodeDate(2024, 1, 1));
        add(3, "000002", "1", 2, "0.00", EncodeDate(2023, 12, 31));
        add(4, "000001", "2", 1, "-0.01", EncodeDateTime({2024, 1, 1, 0, 0, 0, 1}));
        add(5, "000001", "1", 2, "100.00", EncodeDate(2025, 1, 1)); // same keys as 2
    }
    void add(int id, const char* docto, const char* serie, int item, const char* valor, TDateTime data) {
        AppendRow(ds, {{"ID", I(id)}, {"DOCTO_SA", S(docto)}, {"SERIE_SA", S(serie)}, {"ITEM_SA", I(item)},
                       {"VALOR", D(valor)}, {"DATA", Value::fromDateTime(data)}});
    }
    std::string ids() {
        std::string r;
        for (const auto& id : Walk(ds, "ID")) r += id;
        return r;
    }
};

TEST_F(IndexOrder, OrdersAscendingByTheFieldsTypesWithTiesInInsertionOrder) {
    struct Case { const char* index; const char* ids; };
    const Case cases[] = {
        {"", "12345"},
        {"DOCTO_SA;SERIE_SA;ITEM_SA", "25431"},
        {"ITEM_SA", "42351"},          // 2 before 10: numbers, not texts
        {"VALOR", "12435"},            // -1.00 < -0.99 < -0.01 < 0 < 100
        {"DATA", "32415"},             // a time of day counts
        {"docto_sa ; item_sa", "42531"},
    };
    for (const auto& c : cases) {
        ds.setIndexFieldNames(c.index);
        EXPECT_EQ(ids(), c.ids) << c.index;
    }
}

TEST_F(IndexOrder, TextsOrderByTheirBytesAndNullsComeFirst) {
    ds.setIndexFieldNames("SERIE_SA;ID");
    AppendRow(ds, {{"ID", I(6)}, {"SERIE_SA", S(Win1252("É"))}});
    AppendRow(ds, {{"ID", I(7)}, {"SERIE_SA", S("a")}});
    AppendRow(ds, {{"ID", I(8)}});
    AppendRow(ds, {{"ID", I(9)}, {"SERIE_SA", S("Z")}});
    EXPECT_EQ(ids(), "812354976");
}

TEST_F(IndexOrder, TheOrderHoldsWhileRowsChange) {
    ds.setIndexFieldNames("DOCTO_SA;SERIE_SA;ITEM_SA");
    AppendRow(ds, {{"ID", I(6)}, {"DOCTO_SA", S("000001")}, {"SERIE_SA", S("1")}, {"ITEM_SA", I(1)}});
    EXPECT_EQ(ds.fieldByName("ID").asInteger(), 6); // the posted row stays current
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_EQ(ids(), "625431");
    ASSERT_TRUE(ds.locate("ID", I(3)));
    ds.edit();
    ds.fieldByName("DOCTO_SA").setAsString("000000");
    ds.post();
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_EQ(ids(), "362541");
    ASSERT_TRUE(ds.locate("ID", I(5)));
    ds.deleteRecord();
    EXPECT_EQ(ds.fieldByName("ID").asInteger(), 4);
    EXPECT_EQ(ids(), "36241");
    ds.setIndexFieldNames("");
    EXPECT_EQ(ids(), "12346");
}

TEST_F(IndexOrder, AnUnknownFieldKeepsTheOrderInForce) {
    ds.setIndexFieldNames("ITEM_SA");
    ds.locate("ID", I(3));
    try {
        ds.setIndexFieldNames("ITEM_SA;NUMERO");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("'NUMERO'"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ds.indexFieldNames(), "ITEM_SA");
    EXPECT_EQ(ds.fieldByName("ID").asInteger(), 3);
    EXPECT_EQ(ids(), "42351");
}

TEST_F(IndexOrder, ChangingTheIndexKeepsTheCurrentRow) {
    ds.locate("ID", I(4));
    ds.setIndexFieldNames("VALOR");
    EXPECT_EQ(ds.fieldByName("ID").asInteger(), 4);
    EXPECT_EQ(ds.recNo(), 3);
}

TEST(IndexOrderOnOpen, TheIndexSetBeforeOpeningOrdersTheLoadedRows) {
    MemoryProvider p;
    p.columns = {FieldDef("NUM_DP", DataType::String, 6), FieldDef("ORD_DP", DataType::Integer)};
    p.rows = {{S("000002"), I(1)}, {S("000001"), I(2)}, {S("000001"), I(1)}};
    ClientDataSet ds("cdsDup");
    ds.setProvider(&p);
    ds.setIndexFieldNames("NUM_DP;ORD_DP");
    ds.open();
    EXPECT_EQ(Walk(ds, "ORD_DP"), (std::vector<std::string>{"1", "2", "1"}));
    EXPECT_EQ(Walk(ds, "NUM_DP"), (std::vector<std::string>{"000001", "000001", "000002"}));
}

} // namespace
