#include "MemoryProvider.h"

#include "platform/core/DateTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace fat;
using namespace fat::data;
using namespace fat::data::test;

namespace {

struct Filter : ::testing::Test {
    ClientDataSet ds{"cdsItens"};
    void SetUp() override {
        ds.addField(FieldDef("ID", DataType::Integer));
        ds.addField(FieldDef("FILIAL_SA", DataType::Integer));
        ds.addField(FieldDef("DOCTO_SA", DataType::String, 6));
        ds.addField(FieldDef("SERIE_SA", DataType::String, 2));
        ds.addField(FieldDef("NOME", DataType::String, 20));
        ds.addField(FieldDef::decimal("VALOR", 15, 2));
        ds.addField(FieldDef("PRECO", DataType::Float));
        ds.addField(FieldDef("DATA", DataType::DateTime));
        ds.createDataSet();
        add(1, 100, "000123", "1", S("D'AVILA"), D("10.00"), F(1.5), EncodeDate(2024, 1, 1));
        add(2, 100, "000123", "2", S("SILVA"), D("-0.01"), F(2.0), EncodeDate(2024, 1, 2));
        add(3, 200, "000124", "1", Value(), D("1234.56"), Value(), 0);
        add(4, 100, "000124", "1", S("silva"), Value(), F(0.5), EncodeDate(2024, 1, 3));
    }
    void add(int id, int filial, const char* docto, const char* serie, Value nome, Value valor, Value preco,
             TDateTime data) {
        AppendRow(ds, {{"ID", I(id)}, {"FILIAL_SA", I(filial)}, {"DOCTO_SA", S(docto)}, {"SERIE_SA", S(serie)},
                       {"NOME", nome}, {"VALOR", valor}, {"PRECO", preco},
                       {"DATA", data > 0 ? Value::fromDateTime(data) : Value()}});
    }
    std::string ids() {
        std::string r;
        for (const auto& id : Walk(ds, "ID")) r += (r.empty() ? "" : ",") + id;
        return r;
    }
};

TEST_F(Filter, SelectsTheRowsTheExpressionHoldsFor) {
    struct Case { const char* filter; const char* ids; };
    const Case cases[] = {
        {"DOCTO_SA = '000123'", "1,2"},
        {"FILIAL_SA = 100 AND DOCTO_SA = '000123' AND SERIE_SA = '1'", "1"},
        {"NOME = 'D''AVILA'", "1"},
        {"NOME = 'silva'", "4"}, // texts compare exactly
        {"NOME <> 'SILVA'", "1,4"}, // a null is neither equal nor different
        {"VALOR < 0", "2"},
        {"VALOR = -0.01", "2"},
        {"VALOR <= 10", "1,2"},
        {"VALOR > 10.001", "3"}, // the constant is not rounded to the field's decimals
        {"VALOR >= 1234.56", "3"},
        {"PRECO = 1.5", "1"},
        {"PRECO > .6", "1,2"},
        {"DATA >= '02/01/2024'", "2,4"},
        {"FILIAL_SA > 100 OR NOME = 'SILVA'", "2,3"},
        {"NOT (FILIAL_SA = 100)", "3"},
        {"NOT NOME = 'SILVA'", "1,4"},
        {"NOME IS NULL", "3"},
        {"NOME IS NOT NULL AND VALOR IS NULL", "4"},
        {"(FILIAL_SA = 100 OR FILIAL_SA = 200) AND SERIE_SA = '1'", "1,3,4"},
        {"ID = 1 OR ID = 3 AND FILIAL_SA = 100", "1"}, // AND binds tighter than OR
        {"100 = FILIAL_SA and 2 > PRECO", "1,4"},
        {"filial_sa = '200'", "3"},
        {"DOCTO_SA = 124", ""},
        {"[NOME] = 'SILVA'", "2"},
        {"FILIAL_SA = 100 AND FILIAL_SA = 200", ""},
        {"   ", "1,2,3,4"},
    };
    ds.setFiltered(true);
    for (const auto& c : cases) {
        ds.setFilter(c.filter);
        EXPECT_EQ(ids(), c.ids) << c.filter;
        EXPECT_EQ(ds.recordCount(), static_cast<int>(std::count(c.ids, c.ids + std::strlen(c.ids), ',') +
                                                     (std::strlen(c.ids) ? 1 : 0)))
            << c.filter;
    }
    ds.setFiltered(false);
    EXPECT_EQ(ids(), "1,2,3,4");
}

TEST_F(Filter, TextsThatCannotBeUsedSayWhy) {
    struct Case { const char* filter; std::vector<const char*> says; };
    const Case cases[] = {
        {"DOCTO_SA = ", {"position 12"}},
        {"DOCTO_SA == '1'", {"'='", "position 11"}},
        {"NOME = 'abc", {"not closed", "position 8"}},
        {"(ID = 1", {"')' expected"}},
        {"ID = 1 AND", {"position 11"}},
        {"ID = 1 XOR ID = 2", {"'XOR'", "position 8"}},
        {"ID # 1", {"'#'", "position 4"}},
        {"ID = 12abc", {"12abc"}},
        {"SERIE = '1'", {"unknown field 'SERIE'"}},
        {"ID = 1 OR SERIE IS NULL", {"unknown field 'SERIE'"}},
        {"FILIAL_SA = 'abc'", {"FILIAL_SA", "abc"}},
    };
    ds.setFilter("ID = 2");
    ds.setFiltered(true);
    for (const auto& c : cases) {
        try {
            ds.setFilter(c.filter);
            ADD_FAILURE() << "accepted: " << c.filter;
        } catch (const Error& e) {
            for (const char* part : c.says) EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
        }
        EXPECT_EQ(ds.filter(), "ID = 2");
        EXPECT_EQ(ids(), "2") << "the filter in force changed";
    }
}

TEST_F(Filter, AnUnknownFieldSetWhileClosedFailsTheOpen) {
    MemoryProvider p;
    p.columns = {FieldDef("ID", DataType::Integer)};
    ClientDataSet other;
    other.setProvider(&p);
    other.setFilter("CODIGO = 1"); // cannot be checked yet
    other.setFiltered(true);
    try {
        other.open();
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("'CODIGO'"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(other.active());
}

TEST_F(Filter, RowsEnterAndLeaveAsTheyChange) {
    ds.setFilter("DOCTO_SA = '000124'");
    ds.setFiltered(true);
    ASSERT_EQ(ids(), "3,4");
    ds.first();
    ds.edit();
    ds.fieldByName("DOCTO_SA").setAsString("000999");
    ds.post();
    EXPECT_EQ(ds.fieldByName("ID").asInteger(), 4); // the next visible row becomes current
    EXPECT_EQ(ds.recordCount(), 1);
    AppendRow(ds, {{"ID", I(5)}, {"DOCTO_SA", S("000124")}});
    AppendRow(ds, {{"ID", I(6)}, {"DOCTO_SA", S("000125")}});
    EXPECT_EQ(ids(), "4,5");
    ds.locate("ID", I(4));
    ds.deleteRecord();
    EXPECT_EQ(ids(), "5");
    ds.setFiltered(false);
    EXPECT_EQ(ids(), "1,2,3,5,6");
    ds.setFilter("DOCTO_SA = '000999'");
    ds.setFiltered(true);
    EXPECT_EQ(ids(), "3");
}

TEST_F(Filter, FilteredRowsWalkInIndexOrder) {
    ds.setIndexFieldNames("PRECO");
    ds.setFilter("FILIAL_SA = 100");
    ds.setFiltered(true);
    EXPECT_EQ(ids(), "4,1,2");
    ds.locate("ID", I(4));
    ds.edit();
    ds.fieldByName("PRECO").setAsFloat(9);
    ds.post();
    EXPECT_EQ(ids(), "1,2,4");
}

} // namespace
