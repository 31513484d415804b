#include "MemoryProvider.h"

#include "platform/core/DateTime.h"
#include "platform/data/FilterNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>

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

namespace {

TEST_F(Filter, TwoFieldsCompareAlikeWhicheverSideEachIsOn) {
    // ID is an Integer, VALOR a Decimal(15,2), PRECO a Float, NOME and DOCTO_SA texts, DATA a
    // date. The rows are changed so that values that round to each other meet.
    struct Change { int id; const char* field; Value value; };
    const Change changes[] = {
        {1, "VALOR", D("1.50")}, {1, "PRECO", F(1.4)}, {1, "NOME", S("01")},
        {2, "VALOR", D("1.50")}, {2, "NOME", S("2")},  // row 2 keeps PRECO 2.0
        {3, "VALOR", D("3.00")}, {3, "PRECO", F(3)},   {3, "NOME", S("abc")},
        {4, "DOCTO_SA", S("4")},
    };
    for (const auto& c : changes) {
        ASSERT_TRUE(ds.locate("ID", I(c.id)));
        ds.edit();
        ds.fieldByName(c.field).setValue(c.value);
        ds.post();
    }
    struct Case { const char* left; const char* op; const char* right; const char* ids; };
    const Case cases[] = {
        {"ID", "=", "VALOR", "3"},     // 2 and 1.50 differ: neither is rounded to the other
        {"ID", ">", "VALOR", "2"},
        {"ID", "<", "VALOR", "1"},
        {"ID", "=", "PRECO", "2,3"},   // 1 and 1.4 differ
        {"VALOR", ">", "PRECO", "1"},
        {"ID", "=", "NOME", "1,2"},    // the text as a number: '01' is 1; 'abc' and 'silva' are none
        {"ID", "=", "DOCTO_SA", "4"},
        {"DATA", ">", "ID", "1,2,4"},  // dates as day counts
    };
    ds.setFiltered(true);
    const auto mirrored = [](const std::string& op) {
        return op == "<" ? std::string(">") : op == ">" ? std::string("<") : op;
    };
    for (const auto& c : cases) {
        const std::string forward = std::string(c.left) + " " + c.op + " " + c.right;
        const std::string backward = std::string(c.right) + " " + mirrored(c.op) + " " + c.left;
        ds.setFilter(forward);
        EXPECT_EQ(ids(), c.ids) << forward;
        ds.setFilter(backward);
        EXPECT_EQ(ids(), c.ids) << backward;
    }
}

TEST(FilterExactNumbers, ValuesNearTheEndsOfTheirRangeCompareWithConstantsOfAnyScale) {
    const std::int64_t big = std::numeric_limits<std::int64_t>::max();
    ClientDataSet ds;
    ds.addField(FieldDef("ID", DataType::Integer));
    ds.addField(FieldDef("N", DataType::LargeInt));
    ds.addField(FieldDef::decimal("W", 18, 4));
    ds.createDataSet();
    AppendRow(ds, {{"ID", I(1)}, {"N", I(big)}, {"W", D("99999999999999.9999")}});
    AppendRow(ds, {{"ID", I(2)}, {"N", I(-big)}, {"W", D("-99999999999999.9999")}});
    AppendRow(ds, {{"ID", I(3)}, {"N", I(0)}, {"W", D("-0.0001")}});
    struct Case { const char* filter; const char* ids; };
    const Case cases[] = {
        {"N > 0.5", "1"},
        {"N < -0.000000000000000001", "2"},
        {"N = 9223372036854775807", "1"},
        {"N <> 0.0", "1,2"},
        {"N > W", "1,3"},   // the integer against 4 decimals, past what 64 bits hold at that scale
        {"W < N", "1,3"},
        {"W >= 99999999999999.999", "1"},
        {"W > -0.00009999", "1"},
        {"W < -0.00009999", "2,3"},
    };
    ds.setFiltered(true);
    for (const auto& c : cases) {
        ds.setFilter(c.filter);
        std::string ids;
        for (const auto& id : Walk(ds, "ID")) ids += (ids.empty() ? "" : ",") + id;
        EXPECT_EQ(ids, c.ids) << c.filter;
    }
    // A row that arrives under such a filter is tested like the others.
    ds.setFilter("N > 0.5");
    AppendRow(ds, {{"ID", I(4)}, {"N", I(big - 1)}});
    EXPECT_EQ(ds.recordCount(), 2);
}

TEST(FilterNesting, LongChainsWorkAndDeepNestingIsRefusedWithAnError) {
    ClientDataSet ds;
    ds.addField(FieldDef("ID", DataType::Integer));
    ds.createDataSet();
    for (int id = 1; id <= 3; ++id) AppendRow(ds, {{"ID", I(id)}});
    ds.setFiltered(true);

    // Chains far longer than any the product builds, which once made the evaluation and the
    // freeing of the tree recurse once per term.
    std::string ands, ors;
    for (int i = 0; i < 200000; ++i) {
        ands += (i ? " AND " : "") + std::string(i == 199999 ? "ID > 1" : "ID < 3");
        ors += (i ? " OR " : "") + std::string(i == 199999 ? "ID = 3" : "ID = 99");
    }
    ds.setFilter(ands);
    EXPECT_EQ(Walk(ds, "ID"), (std::vector<std::string>{"2"}));
    ds.setFilter(ors);
    EXPECT_EQ(Walk(ds, "ID"), (std::vector<std::string>{"3"}));

    const auto nested = [](int levels, bool nots) {
        return nots ? [&] { std::string t; for (int i = 0; i < levels; ++i) t += "NOT "; return t + "ID = 2"; }()
                    : std::string(static_cast<std::size_t>(levels), '(') + "ID = 2" +
                          std::string(static_cast<std::size_t>(levels), ')');
    };
    ds.setFilter(nested(MaxFilterNesting, false));
    EXPECT_EQ(Walk(ds, "ID"), (std::vector<std::string>{"2"}));
    ds.setFilter(nested(MaxFilterNesting, true)); // an even count of NOTs
    EXPECT_EQ(Walk(ds, "ID"), (std::vector<std::string>{"2"}));
    for (const bool nots : {false, true}) {
        for (const int levels : {MaxFilterNesting + 1, 100000}) {
            try {
                ds.setFilter(nested(levels, nots));
                ADD_FAILURE() << levels << (nots ? " NOTs" : " parentheses") << " accepted";
            } catch (const Error& e) {
                EXPECT_NE(std::string(e.what()).find("nested more than 200 levels deep"), std::string::npos);
                const std::string at = nots ? "position 801" : "position 201"; // the 201st level
                EXPECT_NE(std::string(e.what()).find(at), std::string::npos) << e.what();
            }
            EXPECT_EQ(Walk(ds, "ID"), (std::vector<std::string>{"2"})) << "the filter in force changed";
        }
    }
}

} // namespace
