#include "LoadFixture.h"

using namespace fat;
using PendingSelection = test::LoadFixture;

TEST_F(PendingSelection, OnlyPendingInvoicesOfTheErpsBranchesInNumberOrder) {
    struct Row { int filial; const char* docto; const char* tpnota; bool stamped; };
    const Row rows[] = {
        {1, "000005", "S", false}, {2, "000003", "S", false}, {90, "000004", "S", false},
        {91, "000001", "S", false}, {100, "000002", "S", false}, // beyond the ERP's branches
        {1, "000006", "C", false}, {1, "000007", "E", false},   {1, "000008", "N", false},
        {1, "000009", "S", true},
    };
    for (const auto& r : rows) {
        Invoice n;
        n.filial = r.filial;
        n.docto = r.docto;
        n.tpnota = r.tpnota;
        invoice(n);
        if (r.stamped) set("NOTASAI", "DTGERACONT_NS = '2026-03-11'", "DOCTO_NS = " + Q(r.docto));
    }
    dm.AbrirNotasPendentes("", 0, 0);
    EXPECT_EQ(listed(), (std::vector<std::string>{"000003/1", "000004/1", "000005/1"}));
}

TEST_F(PendingSelection, DatesAndTheDocumentNumberNarrowTheList) {
    const std::pair<const char*, const char*> invoices[] = {
        {"000001", "'2026-03-01'"}, {"000002", "'2026-03-10 00:00:00'"}, {"000003", "'2026-03-10 17:45:00'"},
        {"000004", "'2026-03-11'"}, {"D'1", "'2026-03-10'"},
    };
    for (const auto& [docto, emissao] : invoices) {
        Invoice n;
        n.docto = docto;
        n.emissao = emissao;
        invoice(n);
    }
    struct Case { const char* documento; TDateTime ini, fim; std::vector<std::string> expected; };
    const Case cases[] = {
        {"", EncodeDate(2026, 3, 10), EncodeDate(2026, 3, 10), {"000002/1", "000003/1", "D'1/1"}},
        {"", EncodeDate(2026, 3, 10), 0, {"000002/1", "000003/1", "000004/1", "D'1/1"}},
        {"", 0, EncodeDate(2026, 3, 1), {"000001/1"}},
        {"000003", 0, 0, {"000003/1"}},
        {"   ", 0, 0, {"000001/1", "000002/1", "000003/1", "000004/1", "D'1/1"}}, // blank: no number
        {"D'1", 0, 0, {"D'1/1"}},                                                  // a quote stays a quote
        {"000003 ", 0, 0, {"000003/1"}}, // sent untrimmed; the database ignores trailing blanks
    };
    for (const auto& c : cases) {
        dm.AbrirNotasPendentes(c.documento, c.ini, c.fim);
        EXPECT_EQ(listed(), c.expected) << "'" << c.documento << "' " << c.ini << " " << c.fim;
    }
    const std::string text = dm.sqlNF1.sqlText();
    EXPECT_NE(text.find("and DOCTO_NS = '000003 '"), std::string::npos) << text;
}

TEST_F(PendingSelection, ExcludedCfopsLeaveTheItemsOutOfTheInvoiceValue) {
    Invoice a;
    a.docto = "000001";
    invoice(a);
    Invoice b;
    b.docto = "000002";
    invoice(b);
    const std::tuple<const char*, int, const char*, const char*> items[] = {
        {"000001", 1, "5101", "60.00"}, {"000001", 2, "5949", "30.00"}, {"000001", 3, "6949", "10.00"},
        {"000002", 1, "5949", "100.00"},
    };
    for (const auto& [docto, item, cfop, value] : items)
        exec(std::string("insert into ITENSNS (FILIAL_SA, DOCTO_SA, SERIE_SA, ITEM_SA, CFOP_SA, PRREAL_SA) values (1, '") +
             docto + "', '1', " + std::to_string(item) + ", '" + cfop + "', " + value + ")");
    exec("insert into PARAM values ('GERADUP', 'NF_EXCETO_CFOP', '5949,6949')");
    dm.AbrirNotasPendentes("", 0, 0);
    ASSERT_TRUE(locate("000001"));
    EXPECT_EQ(dm.cdsGera.fieldByName("VALOR_NS").asDecimal().toString(), "60.00");
    ASSERT_TRUE(locate("000002"));
    EXPECT_EQ(dm.cdsGera.fieldByName("VALOR_NS").asDecimal().toString(), "0.00"); // every item excluded
    EXPECT_NE(dm.sqlNF1.sqlText().find("not in ('5949','6949')"), std::string::npos);
}

TEST_F(PendingSelection, AnEmptyResultIsNoError) {
    struct Progress : TProgresso {
        std::vector<int> started;
        int steps = 0;
        void IniciarProgresso(int total) override { started.push_back(total); }
        void AvancarProgresso() override { ++steps; }
    } progress;
    dm.Progresso = &progress;
    dm.AbrirNotasPendentes("", 0, 0);
    EXPECT_TRUE(dm.cdsGera.active());
    EXPECT_EQ(dm.cdsGera.recordCount(), 0);
    EXPECT_EQ(progress.started, std::vector<int>{0});
    Invoice n;
    invoice(n);
    n.docto = "000002";
    invoice(n);
    dm.AbrirNotasPendentes("", 0, 0);
    EXPECT_EQ(progress.started, (std::vector<int>{0, 2}));
    EXPECT_EQ(progress.steps, 2);
    EXPECT_FALSE(dm.cdsGera.controlsDisabled());
}
