#include "MemoryProvider.h"

#include "platform/core/Win1252.h"

#include <gtest/gtest.h>

using namespace fat;
using namespace fat::data;
using namespace fat::data::test;

namespace {

// Item copies as the load merges them: looked up by "DOCTO_SA;PROD_SA;PRECO_SA".
struct Locate : ::testing::Test {
    ClientDataSet ds{"cdsItens"};
    void SetUp() override {
        ds.addField(FieldDef("ID", DataType::Integer));
        ds.addField(FieldDef("DOCTO_SA", DataType::String, 6));
        ds.addField(FieldDef("PROD_SA", DataType::String, 20));
        ds.addField(FieldDef("PRECO_SA", DataType::Float));
        ds.addField(FieldDef("QTDE_SA", DataType::Integer));
        ds.createDataSet();
        add(1, "000001", "abc-10", 12.3456, 5);
        add(2, "000001", "ABC-10", 12.3456, 7);
        add(3, "000002", Win1252("AÇÚCAR MASCAVO"), 3.5, 1);
        add(4, "000002", Win1252("ÁGUA"), 1.0 / 3.0, 2);
        add(5, "000003", "", 0, 0);
        ds.append();
        ds.fieldByName("ID").setAsInteger(6); // PROD_SA and PRECO_SA stay null
        ds.post();
    }
    void add(int id, const std::string& docto, const std::string& prod, double preco, int qtde) {
        AppendRow(ds, {{"ID", I(id)}, {"DOCTO_SA", S(docto)}, {"PROD_SA", S(prod)}, {"PRECO_SA", F(preco)},
                       {"QTDE_SA", I(qtde)}});
    }
    int current() { return static_cast<int>(ds.fieldByName("ID").asInteger()); }
};

TEST_F(Locate, FindsByOneOrSeveralFieldsWithAndWithoutCase) {
    const LocateOptions exact{}, noCase{true, false}, partial{false, true}, both{true, true};
    struct Case { const char* fields; std::vector<Value> values; LocateOptions options; int found; };
    const Case cases[] = {
        {"PROD_SA", {S("ABC-10")}, exact, 2},
        {"PROD_SA", {S("Abc-10")}, exact, 0},
        {"PROD_SA", {S("Abc-10")}, noCase, 1},
        {"prod_sa", {S(Win1252("açúcar mascavo"))}, noCase, 3},
        {"PROD_SA", {S(Win1252("açúcar mascavo"))}, exact, 0},
        {"PROD_SA", {S(Win1252("água"))}, noCase, 4},
        {"PROD_SA", {S(Win1252("AÇÚ"))}, partial, 3},
        {"PROD_SA", {S(Win1252("aÇú"))}, partial, 0},
        {"PROD_SA", {S(Win1252("aÇú"))}, both, 3},
        {"PROD_SA", {S(Win1252("AÇÚCAR MASCAVO MAIS"))}, partial, 0},
        {"PROD_SA", {S("")}, exact, 5},
        {"PROD_SA", {S("")}, partial, 1}, // an empty start matches every text
        {"PROD_SA", {Value()}, exact, 6}, // null finds a null
        {"DOCTO_SA;PROD_SA;PRECO_SA", {S("000001"), S("ABC-10"), F(123456 / 10000.0)}, exact, 2},
        {"DOCTO_SA;PROD_SA;PRECO_SA", {S("000001"), S("abc-10"), F(12.3457)}, noCase, 0},
        {"DOCTO_SA;PRECO_SA", {S("000002"), F(1.0 / 3.0)}, exact, 4},
        {"DOCTO_SA;PROD_SA", {S("000002"), S("a")}, both, 3},
        {"DOCTO_SA;PROD_SA", {S("000002"), S(Win1252("á"))}, both, 4},
        {"QTDE_SA", {S("7")}, exact, 2}, // converted to the field's type
        {"DOCTO_SA;QTDE_SA", {S("000001"), I(5)}, noCase, 1},
        {"DOCTO_SA", {S("0000011")}, exact, 0}, // longer than the field: no match, no cut
    };
    for (const auto& c : cases) {
        ds.last();
        const bool found = ds.locate(c.fields, c.values, c.options);
        EXPECT_EQ(found, c.found != 0) << c.fields << " " << c.values[0].asString();
        if (found) EXPECT_EQ(current(), c.found) << c.fields << " " << c.values[0].asString();
        else EXPECT_EQ(current(), 6) << "a failed locate moved the cursor";
    }
}

TEST_F(Locate, FindsTheFirstMatchInIndexOrderAmongVisibleRows) {
    ds.setIndexFieldNames("QTDE_SA");
    ASSERT_TRUE(ds.locate("DOCTO_SA", S("000001")));
    EXPECT_EQ(current(), 1); // QTDE 5 before 7
    ds.edit();
    ds.fieldByName("QTDE_SA").setAsInteger(9);
    ds.post();
    ASSERT_TRUE(ds.locate("DOCTO_SA", S("000001")));
    EXPECT_EQ(current(), 2); // now 7 before 9
    ds.setFilter("ID <> 2");
    ds.setFiltered(true);
    ASSERT_TRUE(ds.locate("DOCTO_SA", S("000001")));
    EXPECT_EQ(current(), 1);
    EXPECT_FALSE(ds.locate("ID", I(2)));
}

TEST_F(Locate, FollowsEditsDeletesAndCancelledChanges) {
    ds.mergeChangeLog();
    ASSERT_TRUE(ds.locate("PROD_SA", S("ABC-10")));
    ds.edit();
    ds.fieldByName("PROD_SA").setAsString("XYZ");
    ds.post();
    EXPECT_FALSE(ds.locate("PROD_SA", S("ABC-10")));
    EXPECT_TRUE(ds.locate("PROD_SA", S("xyz"), {true, false}));
    ds.deleteRecord();
    EXPECT_FALSE(ds.locate("PROD_SA", S("XYZ")));
    AppendRow(ds, {{"ID", I(7)}, {"PROD_SA", S("NEW")}});
    EXPECT_TRUE(ds.locate("PROD_SA", S("new"), {true, false}));
    EXPECT_EQ(current(), 7);
    ds.cancelUpdates();
    EXPECT_TRUE(ds.locate("PROD_SA", S("ABC-10")));
    EXPECT_EQ(current(), 2);
    EXPECT_FALSE(ds.locate("PROD_SA", S("NEW")));
}

TEST_F(Locate, ReportsUnknownFieldsWrongCountsAndUnconvertibleValues) {
    try {
        ds.locate("DOCTO_SA;SERIE_SA", {S("1"), S("2")});
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("'SERIE_SA'"), std::string::npos) << e.what();
    }
    EXPECT_THROW(ds.locate("DOCTO_SA;PROD_SA", {S("1")}), Error);
    try {
        ds.locate("QTDE_SA", S("sete"));
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("QTDE_SA"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("sete"), std::string::npos) << e.what();
    }
}

} // namespace
