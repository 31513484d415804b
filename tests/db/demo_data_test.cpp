#include "db/DemoData.h"
#include "db/DemoInvoice.h"
#include "db/DemoPricing.h"
#include "platform/core/Errors.h"
#include "platform/sql/Query.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>

using fat::db::DemoDataOptions;
using fat::db::DemoDataSummary;
using fat::db::GenerateDemoData;
using fat::test::TestDatabase;

namespace {

DemoDataOptions SmallSet() {
    DemoDataOptions o;
    o.pendingInvoices = 60;
    o.firstIssueDate = fat::EncodeDate(2024, 3, 1);
    o.spanDays = 60;
    o.seed = 7;
    return o;
}

std::int64_t Count(fat::sql::Connection& c, const std::string& sqlText) {
    fat::sql::Query q(c);
    q.setSql(sqlText);
    q.open();
    return q.field(0).asInteger();
}

// Every row of the demo tables in key order, one line per row.
std::string Dump(fat::sql::Connection& c) {
    static const char* const tables[][2] = {
        {"CONFIG", "1"}, {"REPRESENTANTE", "1"}, {"PRODUTO", "1"}, {"PADRONIZ_PRODUTO", "1, 2"},
        {"TABELA", "1, 2"}, {"CONDPAGTO", "1, 2, 3"}, {"PRAZOPAGTO_PARC", "1, 2, 3, 4, 5, 6"},
        {"NOTASAI", "FILIAL_NS, DOCTO_NS, SERIE_NS"}, {"ITENSNS", "1, 2, 3, 4"}, {"NOTASAI_PEDVEND", "1, 2, 3, 4"},
        {"PEDVENDA", "NUM_PV"}, {"ITENSPV", "1, 2"}, {"ITENSPVGRADE", "1, 2, 3"}, {"ITENSPV_EMBALAGEM", "1, 2"},
        {"PEDVENDA_PARCELAS", "1, 2, 3, 4, 5"}, {"DUPLICATAS", "FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP"}};
    std::string out;
    for (const auto& t : tables) {
        fat::sql::Query q(c);
        q.setSql(std::string("select * from ") + t[0] + " order by " + t[1]);
        for (q.open(); !q.eof(); q.next()) {
            out += t[0];
            for (const auto& v : q.row()) out += "|" + (v.isNull() ? std::string("<null>") : v.asString());
            out += "\n";
        }
    }
    return out;
}

// The pending invoices as the billing selects them.
const char* const PendingWhere = "FILIAL_NS <= 90 and DTGERACONT_NS is null and TPNOTA_NS not in ('C', 'E', 'N')";

class DemoDataTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        db_ = std::make_unique<TestDatabase>();
        auto& c = db_->connection();
        const auto prepared = c.statementsPrepared();
        const auto executed = c.statementsExecuted();
        summary_ = GenerateDemoData(c, SmallSet());
        prepared_ = c.statementsPrepared() - prepared;
        executed_ = c.statementsExecuted() - executed;
    }
    static void TearDownTestSuite() { db_.reset(); }

    static std::int64_t count(const std::string& sqlText) { return Count(db_->connection(), sqlText); }

    static std::unique_ptr<TestDatabase> db_;
    static DemoDataSummary summary_;
    static std::uint64_t prepared_, executed_;
};
std::unique_ptr<TestDatabase> DemoDataTest::db_;
DemoDataSummary DemoDataTest::summary_;
std::uint64_t DemoDataTest::prepared_ = 0, DemoDataTest::executed_ = 0;

TEST_F(DemoDataTest, ThePendingListHoldsTheAskedInvoicesInSeveralBranchesWithinTheSpan) {
    const std::string pending = std::string("from NOTASAI where ") + PendingWhere;
    EXPECT_EQ(count("select count(*) " + pending), 60);
    EXPECT_EQ(summary_.pendingInvoices, 60u);
    EXPECT_GE(count("select count(distinct FILIAL_NS) " + pending), 2);
    EXPECT_EQ(count("select count(*) " + pending +
                    " and (EMISSAO_NS < '2024-03-01' or EMISSAO_NS >= '2024-04-30')"), 0);
    // A null kind would drop an invoice from every list without a word.
    EXPECT_EQ(count("select count(*) from NOTASAI where TPNOTA_NS is null"), 0);
}

TEST_F(DemoDataTest, InvoicesThatMustStayOffTheListExist) {
    const char* const cases[][2] = {
        {"kind C", "TPNOTA_NS = 'C' and DTGERACONT_NS is null"},
        {"kind E", "TPNOTA_NS = 'E' and DTGERACONT_NS is null"},
        {"kind N", "TPNOTA_NS = 'N' and DTGERACONT_NS is null"},
        {"stamped by a save", "DTGERACONT_NS > '1901-01-02'"},
        {"written off", "DTGERACONT_NS = '1901-01-01'"},
        {"branch above 90", "FILIAL_NS between 91 and 99 and DTGERACONT_NS is null"},
    };
    for (const auto& c : cases)
        EXPECT_GE(count(std::string("select count(*) from NOTASAI where FILIAL_NS < 100 and ") + c[1]), 1) << c[0];
}

TEST_F(DemoDataTest, EveryLinkPointsToAnExistingOrderOfTheInvoicesCustomer) {
    EXPECT_EQ(count("select count(*) from NOTASAI_PEDVEND np "
                    "left join NOTASAI ns on ns.FILIAL_NS = np.FILIAL_NP and ns.DOCTO_NS = np.NUMNOTA_NP "
                    "and ns.SERIE_NS = np.SERIENOTA_NP "
                    "left join PEDVENDA pv on pv.NUM_PV = np.NUMPED_NP "
                    "where ns.DOCTO_NS is null or pv.NUM_PV is null or pv.CODCLI_PV is distinct from ns.CODIGO_NS"),
              0);
    EXPECT_EQ(count("select count(*) from NOTASAI ns where FILIAL_NS < 100 and (select count(*) from NOTASAI_PEDVEND np "
                    "where np.FILIAL_NP = ns.FILIAL_NS and np.NUMNOTA_NP = ns.DOCTO_NS and np.SERIENOTA_NP = ns.SERIE_NS) "
                    "not between 1 and 3"),
              0);
    EXPECT_EQ(count("select count(*) from PEDVENDA pv where (select count(*) from NOTASAI_PEDVEND np "
                    "where np.NUMPED_NP = pv.NUM_PV and np.FILIAL_NP < 100) <> 1"),
              0);
}

TEST_F(DemoDataTest, EveryOrderHasItemsBilledOnItsInvoiceAndNoItemIsBilledElsewhere) {
    EXPECT_EQ(count("select count(*) from NOTASAI_PEDVEND np join NOTASAI ns on ns.FILIAL_NS = np.FILIAL_NP "
                    "and ns.DOCTO_NS = np.NUMNOTA_NP and ns.SERIE_NS = np.SERIENOTA_NP "
                    "where np.FILIAL_NP < 100 and not exists (select 1 from ITENSPV i where i.PEDIDO_IT = np.NUMPED_NP "
                    "and i.NF_IT = np.NUMNOTA_NP and i.SERIE_IT = np.SERIENOTA_NP and i.FILIAL_IT = np.FILIAL_NP "
                    "and cast(i.DTFATUR_IT as date) = cast(ns.EMISSAO_NS as date))"),
              0);
    EXPECT_EQ(count("select count(*) from ITENSPV i where i.NF_IT is not null and not exists (select 1 from "
                    "NOTASAI_PEDVEND np where np.NUMPED_NP = i.PEDIDO_IT and np.NUMNOTA_NP = i.NF_IT "
                    "and np.SERIENOTA_NP = i.SERIE_IT and np.FILIAL_NP = i.FILIAL_IT)"),
              0);
    // Cancelled and not yet delivered items are there too, and are billed on nothing.
    EXPECT_GE(count("select count(*) from ITENSPV where SIT_IT = 'C' or STATUS_IT = 'C'"), 1);
    EXPECT_EQ(count("select count(*) from ITENSPV where (SIT_IT = 'C' or STATUS_IT = 'C') and NF_IT is not null"), 0);
}

TEST_F(DemoDataTest, GridQuantitiesAddUpToTheInvoiceItemsAndTheItemsToTheInvoiceValue) {
    // An item without quantity would stop the load with a division by zero.
    EXPECT_EQ(count("select count(*) from ITENSPV i where coalesce((select sum(g.QTPED_IT) from ITENSPVGRADE g "
                    "where g.PEDIDO_IT = i.PEDIDO_IT and g.ITEM_IT = i.ITEM_IT), 0) <= 0"),
              0);
    EXPECT_EQ(count("select count(*) from ITENSPVGRADE where QTPED_IT <= 0"), 0);
    const std::string own = "from ITENSNS s where s.FILIAL_SA = ns.FILIAL_NS and s.DOCTO_SA = ns.DOCTO_NS "
                            "and s.SERIE_SA = ns.SERIE_NS";
    EXPECT_EQ(count("select count(*) from NOTASAI ns where ns.FILIAL_NS < 100 and "
                    "(select sum(s.QTDE_SA) " + own + ") is distinct from "
                    "(select sum(g.QTPED_IT) from ITENSPV i join ITENSPVGRADE g on g.PEDIDO_IT = i.PEDIDO_IT "
                    "and g.ITEM_IT = i.ITEM_IT where i.NF_IT = ns.DOCTO_NS and i.SERIE_IT = ns.SERIE_NS "
                    "and i.FILIAL_IT = ns.FILIAL_NS)"),
              0);
    EXPECT_EQ(count("select count(*) from NOTASAI ns where ns.FILIAL_NS < 100 and "
                    "abs(ns.VALOR_NS - (select sum(s.PRREAL_SA) " + own + ")) > 0.001"),
              0);
    EXPECT_EQ(count("select count(*) from NOTASAI where FILIAL_NS < 100 and VALOR_NS <= 0"), 0);
}

TEST_F(DemoDataTest, EachSourceOfPaymentTermsIsUsed) {
    // The orders of pending invoices, classified the way the billing looks for their terms.
    fat::sql::Query q(db_->connection());
    q.setSql(std::string("select pv.TABELA_PRECOS_PV, pv.PRAZOPAGTO_PV, pv.TABPRAZO_PV, pv.OBS_PV, ns.NUMPARC_NS, ns.PRAZO_NS, "
             "(select count(*) from PEDVENDA_PARCELAS pp where pp.PEDVENDA_PP = pv.NUM_PV) as ALL_ROWS, "
             "(select count(*) from PEDVENDA_PARCELAS pp where pp.PEDVENDA_PP = pv.NUM_PV and pp.TPPARC_PP = 'S') as S_ROWS, "
             "(select count(*) from PRAZOPAGTO_PARC pa where pa.ID_PRAZOPAGTO_PA = pv.PRAZOPAGTO_PV "
             "and pa.SEMCOB_PA = 'S') as TERM_ROWS, "
             "(select count(*) from TABELA t where t.NUM_TA = '98' and t.COD_TA = pv.TABPRAZO_PV) as CODE_ROWS "
             "from NOTASAI ns join NOTASAI_PEDVEND np on np.FILIAL_NP = ns.FILIAL_NS and np.NUMNOTA_NP = ns.DOCTO_NS "
             "and np.SERIENOTA_NP = ns.SERIE_NS join PEDVENDA pv on pv.NUM_PV = np.NUMPED_NP where ") + PendingWhere);
    std::map<std::string, int> sources;
    for (q.open(); !q.eof(); q.next()) {
        const bool plan = q.fieldByName("TABELA_PRECOS_PV").asInteger() > 0 && q.fieldByName("PRAZOPAGTO_PV").asInteger() > 0;
        const std::string notes = q.fieldByName("OBS_PV").asString();
        const std::string firstLine = notes.substr(0, notes.find_first_of("\r\n"));
        const std::string code = q.fieldByName("TABPRAZO_PV").asString();
        if (plan && q.fieldByName("ALL_ROWS").asInteger() > 0) {
            if (q.fieldByName("S_ROWS").asInteger() > 0) ++sources["order's own instalments"];
        } else if (plan) {
            if (q.fieldByName("TERM_ROWS").asInteger() > 0) ++sources["payment term's instalments"];
        } else if (firstLine.find("PRAZO") != std::string::npos) {
            ++sources["notes"];
        } else if (!code.empty()) {
            if (q.fieldByName("CODE_ROWS").asInteger() > 0) ++sources["code of table 98"];
        } else {
            char count[8];
            std::snprintf(count, sizeof count, "%02d ", static_cast<int>(q.fieldByName("NUMPARC_NS").asInteger()));
            fat::sql::Query t(db_->connection());
            t.setSql("select count(*) from TABELA a join TABELA b on b.NUM_TA = '98' and b.COD_TA = a.COD_TA "
                     "where a.NUM_TA = '18' and a.DESC_TA like :DESC");
            t.paramByName("DESC").setAsString(count + q.fieldByName("PRAZO_NS").asString() + "%");
            t.open();
            if (t.field(0).asInteger() > 0) ++sources["invoice's term through table 18"];
        }
    }
    for (const char* s : {"order's own instalments", "payment term's instalments", "notes", "code of table 98",
                          "invoice's term through table 18"})
        EXPECT_GE(sources[s], 1) << s;
}

TEST_F(DemoDataTest, AccentedNamesAreStoredByteForByte) {
    struct Case {
        const char* column;
        const char* fromWhere;
        std::string bytes;
    };
    const Case cases[] = {
        {"NOME_NS", "from NOTASAI where CODIGO_NS = 1 and FILIAL_NS <= 90 rows 1", "JOS\xC9 DA CONCEI\xC7\xC3O CAL\xC7" "ADOS ME"},
        {"NOME_NS", "from NOTASAI where CODIGO_NS = 2 and FILIAL_NS <= 90 rows 1", "LOJAS ARA\xDAJO & IRM\xC3OS LTDA"},
        {"NOME_RE", "from REPRESENTANTE where COD_RE = 1", "CARLOS ANDR\xC9 REPRESENTA\xC7\xD5" "ES"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(db_->scalar(std::string("select ") + c.column + " " + c.fromWhere), c.bytes) << c.fromWhere;
        // One byte per character in the database too: nothing went in as UTF-8.
        EXPECT_EQ(db_->scalar(std::string("select octet_length(") + c.column + ") " + c.fromWhere),
                  std::to_string(c.bytes.size()))
            << c.fromWhere;
    }
}

TEST_F(DemoDataTest, SomePendingInvoicesAreAlreadyGeneratedUnderTheirDerivedBranch) {
    const std::string derived = "case when ns.FILIAL_NS < 10 then ns.FILIAL_NS * 100 else ns.FILIAL_NS * 10 end";
    const std::string pending = std::string("from NOTASAI ns where ns.") + PendingWhere;
    const std::string copy = "exists (select 1 from NOTASAI c where c.FILIAL_NS = " + derived +
                             " and c.DOCTO_NS = ns.DOCTO_NS and c.SERIE_NS = ns.SERIE_NS)";
    const std::string receivable = "exists (select 1 from DUPLICATAS d where d.NUM_DP = ns.DOCTO_NS and d.FILIAL_DP = " +
                                   derived + " and d.EMISSAO_DP >= ns.EMISSAO_NS and d.DTROMANEIO_DP is null)";
    const std::string other = "exists (select 1 from DUPLICATAS d where d.NUM_DP = ns.DOCTO_NS and d.FILIAL_DP = " +
                              derived + " and (d.EMISSAO_DP < ns.EMISSAO_NS or d.DTROMANEIO_DP is not null))";
    EXPECT_GE(count("select count(*) " + pending + " and " + copy), 1);
    EXPECT_GE(count("select count(*) " + pending + " and " + receivable + " and not " + copy), 1);
    EXPECT_GE(count("select count(*) " + pending + " and " + other + " and not " + receivable), 1);
    EXPECT_LT(count("select count(*) " + pending + " and (" + copy + " or exists (select 1 from DUPLICATAS d "
                    "where d.NUM_DP = ns.DOCTO_NS))"), 30);
    // Copies carry their items; the instalments of an invoice add up to its value.
    EXPECT_EQ(count("select count(*) from NOTASAI c where c.FILIAL_NS >= 100 and not exists (select 1 from ITENSNS s "
                    "where s.FILIAL_SA = c.FILIAL_NS and s.DOCTO_SA = c.DOCTO_NS and s.SERIE_SA = c.SERIE_NS)"),
              0);
    EXPECT_EQ(count("select count(*) from NOTASAI ns where ns.FILIAL_NS <= 90 and exists (select 1 from DUPLICATAS d "
                    "where d.NUM_DP = ns.DOCTO_NS) and ns.VALOR_NS <> (select sum(d.VALOR_DP) from DUPLICATAS d "
                    "where d.NUM_DP = ns.DOCTO_NS and d.SERIE_NOTA_DP = ns.SERIE_NS and d.FILIAL_DP = " + derived + ")"),
              0);
}

TEST_F(DemoDataTest, SomeCopiesDisagreeWithTheirItemsAsTheReprocessingListsThemAndHaveTheirOrderItems) {
    // The reprocessing's listing condition, with a difference of a cent at least.
    const std::string sum = "(select sum(I.PRREAL_SA) from ITENSNS I where I.FILIAL_SA = N.FILIAL_NS "
                            "and I.DOCTO_SA = N.DOCTO_NS and I.SERIE_SA = N.SERIE_NS)";
    const std::string listed =
        "from NOTASAI N where (select count(*) from NOTASAI NF where NF.FILIAL_NS = N.FILIAL_NS / 100 "
        "and NF.DOCTO_NS = N.DOCTO_NS and NF.SERIE_NS = N.SERIE_NS and NF.EMISSAO_NS = N.EMISSAO_NS "
        "and NF.CODIGO_NS = N.CODIGO_NS and NF.TPNOTA_NS not in ('C', 'E', 'N')) > 0 "
        "and N.FILIAL_NS > 99 and N.TPNOTA_NS not in ('C', 'E', 'N') and N.VRMERC_NS <> " + sum +
        " and abs(N.VRMERC_NS - " + sum + ") >= 0.01";
    EXPECT_GE(count("select count(*) " + listed), 2);
    // Each of them can be rebuilt: order items billed on its source invoice at the copy's issue.
    EXPECT_EQ(count("select count(*) " + listed + " and not exists (select 1 from NOTASAI_PEDVEND NP "
                    "join ITENSPV P on P.PEDIDO_IT = NP.NUMPED_NP where NP.FILIAL_NP = N.FILIAL_NS / 100 "
                    "and NP.NUMNOTA_NP = N.DOCTO_NS and NP.SERIENOTA_NP = N.SERIE_NS and P.FILIAL_IT = NP.FILIAL_NP "
                    "and P.NF_IT = N.DOCTO_NS and P.SERIE_IT = N.SERIE_NS and P.DTFATUR_IT = N.EMISSAO_NS)"),
              0);
    // Some are stamped invoices the billing no longer lists.
    EXPECT_GE(count("select count(*) " + listed + " and exists (select 1 from NOTASAI S where S.FILIAL_NS = "
                    "N.FILIAL_NS / 100 and S.DOCTO_NS = N.DOCTO_NS and S.SERIE_NS = N.SERIE_NS "
                    "and S.DTGERACONT_NS > '1901-01-02')"),
              1);
}

TEST_F(DemoDataTest, TheSummaryCountsTheRowsAndStatementsAreReused) {
    const std::pair<const char*, std::uint64_t> cases[] = {
        {"select count(*) from NOTASAI where FILIAL_NS < 100", summary_.invoices},
        {"select count(*) from NOTASAI where FILIAL_NS >= 100", summary_.copies},
        {"select count(*) from PEDVENDA", summary_.orders},
        {"select count(*) from ITENSPV", summary_.orderItems},
        {"select count(*) from ITENSPVGRADE", summary_.gridRows},
        {"select count(*) from ITENSNS where FILIAL_SA < 100", summary_.invoiceItems},
        {"select count(*) from DUPLICATAS", summary_.receivables},
    };
    for (const auto& [sqlText, expected] : cases) EXPECT_EQ(static_cast<std::uint64_t>(count(sqlText)), expected) << sqlText;
    EXPECT_GT(summary_.orderItems, summary_.orders);
    // One prepared insert per table whatever the number of rows.
    EXPECT_LE(prepared_, 20u);
    EXPECT_GE(executed_, summary_.totalRows);
}

TEST(DemoData, TheSameSeedGivesTheSameRowsAndAnotherSeedOthers) {
    auto build = [](std::uint32_t seed) {
        TestDatabase db;
        DemoDataOptions o = SmallSet();
        o.pendingInvoices = 25;
        o.seed = seed;
        GenerateDemoData(db.connection(), o);
        return Dump(db.connection());
    };
    const std::string first = build(11);
    EXPECT_EQ(build(11), first);
    EXPECT_NE(build(12), first);
}

TEST(DemoData, WithoutGeneratedCasesNothingIsWrittenUnderADerivedBranch) {
    TestDatabase db;
    DemoDataOptions o = SmallSet();
    o.addGenerated = false;
    const auto s = GenerateDemoData(db.connection(), o);
    EXPECT_EQ(s.copies + s.receivables, 0u);
    auto& c = db.connection();
    EXPECT_EQ(Count(c, "select count(*) from NOTASAI where FILIAL_NS >= 100"), 0);
    EXPECT_EQ(Count(c, "select count(*) from ITENSNS where FILIAL_SA >= 100"), 0);
    EXPECT_EQ(Count(c, "select count(*) from NOTASAI_PEDVEND where FILIAL_NP >= 100"), 0);
    EXPECT_EQ(Count(c, "select count(*) from DUPLICATAS"), 0);
}

TEST(DemoData, TheCompanySettingsAreThoseAskedFor) {
    TestDatabase db;
    DemoDataOptions o = SmallSet();
    o.pendingInvoices = 3;
    o.companyName = "MIRCA";
    o.billingType = "P";
    o.copyReceivables = "S";
    GenerateDemoData(db.connection(), o);
    EXPECT_EQ(db.scalar("select count(*) from CONFIG"), "1");
    EXPECT_EQ(db.scalar("select NOME_EMPRESA || '/' || TPFATUR || '/' || GERARCOPIADUP from CONFIG"), "MIRCA/P/S");
    EXPECT_EQ(db.scalar("select count(*) from PARAM"), "0");
}

TEST(DemoData, RefusesOptionsOutOfRangeAndWritesNothing) {
    const std::pair<const char*, std::function<void(DemoDataOptions&)>> cases[] = {
        {"negative count", [](DemoDataOptions& o) { o.pendingInvoices = -1; }},
        {"more invoices than six-digit numbers", [](DemoDataOptions& o) { o.pendingInvoices = 900001; }},
        {"no span", [](DemoDataOptions& o) { o.spanDays = 0; }},
        {"no first date", [](DemoDataOptions& o) { o.firstIssueDate = 0; }},
        {"company name too long", [](DemoDataOptions& o) { o.companyName = std::string(61, 'X'); }},
        {"billing type of two letters", [](DemoDataOptions& o) { o.billingType = "TP"; }},
    };
    TestDatabase db;
    for (const auto& [name, change] : cases) {
        DemoDataOptions o = SmallSet();
        change(o);
        EXPECT_THROW(GenerateDemoData(db.connection(), o), fat::Error) << name;
    }
    EXPECT_EQ(db.scalar("select count(*) from CONFIG"), "0");
    EXPECT_EQ(db.scalar("select count(*) from REPRESENTANTE"), "0");
}

TEST(DemoData, RefusesADatabaseThatHoldsDataAndLeavesItAsItWas) {
    TestDatabase db;
    DemoDataOptions o = SmallSet();
    o.pendingInvoices = 5;
    GenerateDemoData(db.connection(), o);
    const std::string before = Dump(db.connection());
    EXPECT_THROW(GenerateDemoData(db.connection(), o), fat::Error);
    EXPECT_EQ(Dump(db.connection()), before);
}

TEST(DemoData, AFailureHalfWayRollsEverythingBack) {
    TestDatabase db;
    // The size grid is written after the settings, tables, invoices and orders of the first invoice.
    db.exec("alter table ITENSPVGRADE drop QTPED_IT");
    EXPECT_THROW(GenerateDemoData(db.connection(), SmallSet()), fat::Error);
    EXPECT_FALSE(db.connection().inTransaction());
    for (const char* table : {"CONFIG", "TABELA", "PRODUTO", "NOTASAI", "PEDVENDA", "ITENSPV"})
        EXPECT_EQ(db.scalar(std::string("select count(*) from ") + table), "0") << table;
}

// The invoice's item values come from the order rules at invoice prices; these are their
// worked examples.
TEST(DemoPricing, ValuesItemsAsTheOrderRulesDo) {
    using fat::db::DemoItem;
    using fat::db::DemoOrder;
    auto item = [](int priceReais, int quantity) {
        DemoItem i;
        i.price = fat::Amount::fromRaw(priceReais * 10000LL);
        i.grid = {{"38", quantity}};
        i.situation = "F";
        return i;
    };
    struct Case {
        const char* name;
        std::function<void(DemoOrder&)> setUp;
        std::vector<double> expected;
        const char* company = "DEMO";
    };
    const Case cases[] = {
        {"value discount shared, rest on the first", [&](DemoOrder& o) {
             o.items = {item(100, 1), item(100, 1), item(100, 1)};
             o.valueDiscount = 100;
         }, {66.66, 66.67, 66.67}},
        {"order and table percentages composed", [&](DemoOrder& o) {
             o.items = {item(100, 1)};
             o.discountPercent = 10;
             o.tableDiscount = 5;
         }, {85.5}},
        {"composed with a fractional table percentage", [&](DemoOrder& o) {
             o.items = {item(100, 2)};
             o.discountPercent = 10;
             o.tableDiscount = 2.5;
         }, {175.5}},
        {"discounts not approved: the whole value discount off the first", [&](DemoOrder& o) {
             o.items = {item(100, 1), item(100, 1)};
             o.discountApproved = "N";
             o.discountPercent = 10;
             o.valueDiscount = 30;
         }, {70, 100}},
        {"item discounts and promotion", [&](DemoOrder& o) {
             o.items = {item(50, 4)};
             o.items[0].discountPerUnit = 2.5;
             o.items[0].discountPercent = 10;
             o.items[0].promotionDiscount = 1;
         }, {200 - 10 - 4 - 20.0}},
        {"promotion not applied", [&](DemoOrder& o) {
             o.items = {item(50, 4)};
             o.items[0].promotionDiscount = 1;
             o.applyPromotion = "N";
         }, {200}},
        {"a cancelled item is out of the total that shares the value discount", [&](DemoOrder& o) {
             o.items = {item(100, 1), item(100, 1)};
             o.items[1].situation = "C";
             o.valueDiscount = 10;
         }, {100 - 10 + 10.0, 90}},
        {"MIRCA: percentages on the value less the whole value discount, which comes off the first", [&](DemoOrder& o) {
             o.items = {item(100, 1), item(100, 1)};
             o.discountPercent = 10;
             o.valueDiscount = 20;
         }, {72, 92}, "MIRCA"},
    };
    for (const auto& c : cases) {
        DemoOrder order;
        c.setUp(order);
        fat::db::PriceOrderAtInvoicePrices(order, c.company);
        ASSERT_EQ(order.items.size(), c.expected.size()) << c.name;
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_NEAR(order.items[i].netValue, c.expected[i], 1e-9) << c.name << ", item " << i + 1;
    }
    EXPECT_EQ(fat::db::RoundCents(2.675), 2.68);
    EXPECT_EQ(fat::db::RoundCents(-2.675), -2.68);
    EXPECT_EQ(fat::db::RoundCents(1.005), 1.01);
}

} // namespace
