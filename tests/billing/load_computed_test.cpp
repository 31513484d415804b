#include "LoadFixture.h"

using namespace fat;
using PendingComputed = test::LoadFixture;

TEST_F(PendingComputed, GeneratedWhenACopyOrAnUncollectedReceivableExists) {
    struct Case { const char* docto; const char* what; const char* gerado; };
    const Case cases[] = {
        {"000001", "copy", "S"},          {"000002", "receivable same day", "S"},
        {"000003", "receivable later", "S"}, {"000004", "receivable earlier", "N"},
        {"000005", "on a collection list", "N"}, {"000006", "nothing", "N"},
        {"000007", "receivable other branch", "N"},
    };
    int ord = 0;
    for (const auto& c : cases) {
        Invoice n;
        n.docto = c.docto;
        invoice(n);
        const std::string what = c.what;
        const auto receivable = [&](const char* emissao, const char* romaneio, int filial) {
            exec("insert into DUPLICATAS (FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP, EMISSAO_DP, DTROMANEIO_DP) values (" +
                 std::to_string(filial) + ", " + Q(c.docto) + ", '1', " + Q(std::to_string(++ord)) + ", " + emissao + ", " +
                 romaneio + ")");
        };
        if (what == "copy")
            exec("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, TPNOTA_NS) values (100, " + Q(c.docto) + ", '1', 'S')");
        if (what == "receivable same day") receivable("'2026-03-10'", "null", 100);
        if (what == "receivable later") receivable("'2026-03-12'", "null", 100);
        if (what == "receivable earlier") receivable("'2026-03-09'", "null", 100);
        if (what == "on a collection list") receivable("'2026-03-10'", "'2026-03-15'", 100);
        if (what == "receivable other branch") receivable("'2026-03-10'", "null", 200);
    }
    dm.AbrirNotasPendentes("", 0, 0);
    for (const auto& c : cases) {
        ASSERT_TRUE(locate(c.docto)) << c.docto;
        EXPECT_EQ(field("GERADO"), c.gerado) << c.what;
    }
}

TEST_F(PendingComputed, TheDerivedBranchFollowsTheParameterOrTheInvoicesBranch) {
    // A copy under the derived branch makes an invoice "generated": it shows which branch was used.
    struct Case { const char* filCodigo; int filial; int copyBranch; const char* gerado; };
    const Case cases[] = {
        {"0", 5, 500, "S"}, {"0", 12, 120, "S"}, {"0", 5, 100, "N"}, {"300", 5, 300, "S"}, {"300", 12, 120, "N"},
    };
    for (const auto& c : cases) {
        exec("delete from NOTASAI");
        exec("delete from PARAM");
        exec(std::string("insert into PARAM values ('GERADUP', 'FIL_CODIGO', '") + c.filCodigo + "')");
        Invoice n;
        n.filial = c.filial;
        invoice(n);
        exec("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, TPNOTA_NS) values (" + std::to_string(c.copyBranch) +
             ", '000001', '1', 'S')");
        dm.AbrirNotasPendentes("", 0, 0);
        ASSERT_TRUE(locate("000001", "1", c.filial));
        EXPECT_EQ(field("GERADO"), c.gerado) << c.filCodigo << " " << c.filial << " " << c.copyBranch;
    }
}

TEST_F(PendingComputed, TpNotaComparesTheOrderValueWithTheInvoiceValue) {
    struct Case { const char* docto; double orderValue; const char* tpnota; };
    const Case cases[] = {{"000001", 100.99, "I"}, {"000002", 101.00, "M"}, {"000003", 90.00, "I"}, {"000004", 100.00, "I"}};
    int k = 0;
    for (const auto& c : cases) {
        Invoice n;
        n.docto = c.docto;
        invoice(n);
        order("P" + std::to_string(++k), n, c.orderValue);
    }
    dm.AbrirNotasPendentes("", 0, 0);
    for (const auto& c : cases) {
        ASSERT_TRUE(locate(c.docto));
        EXPECT_DOUBLE_EQ(dm.cdsGera.fieldByName("VALORPED").asFloat(), c.orderValue) << c.docto;
        EXPECT_EQ(field("TPNOTA"), c.tpnota) << c.docto;
    }
}

TEST_F(PendingComputed, TwoOrdersAddUpAndTheFirstSuppliesTheOrderFields) {
    exec("insert into REPRESENTANTE values (7, 'JOS\xC9 DA CONCEI\xC7\xC3O REPRESENTA\xC7\xD5" "ES LTDA')");
    exec("insert into REPRESENTANTE values (8, 'PREPOSTO')");
    Invoice n;
    invoice(n);
    order("PA", n, 60);
    order("PB", n, 40, 1, "14");
    set("PEDVENDA", "COMISSREC_PV = 4, DESCDP_PV = 3", "NUM_PV = 'PB'"); // no order discount: values add up
    set("PEDVENDA", "COMISSREC_PV = null", "NUM_PV = 'PA'");
    dm.AbrirNotasPendentes("", 0, 0);
    ASSERT_EQ(dm.cdsGera.recordCount(), 1);
    EXPECT_DOUBLE_EQ(dm.cdsGera.fieldByName("VALORPED").asFloat(), 100);
    // The orders come in no set order; whichever came first gave its values, null as 0.
    const std::string sit = field("SITDUP");
    EXPECT_TRUE(sit == "01" || sit == "14") << sit;
    const double comiss = dm.cdsGera.fieldByName("COMISSREC").asFloat();
    EXPECT_TRUE((sit == "01" && comiss == 0) || (sit == "14" && comiss == 4)) << sit << " " << comiss;
    EXPECT_FALSE(dm.cdsGera.fieldByName("COMISSREC").isNull());
    EXPECT_EQ(dm.cdsGera.fieldByName("DESCDP").asFloat(), sit == "14" ? 3 : 0);
    EXPECT_EQ(field("NOME_REP").size(), 30u); // cut to the field's size
    EXPECT_EQ(field("NOME_PREP"), "PREPOSTO");
    std::vector<std::string> orders;
    for (dm.cdsPed.first(); !dm.cdsPed.eof(); dm.cdsPed.next()) orders.push_back(dm.cdsPed.fieldByName("Num").asString());
    std::sort(orders.begin(), orders.end());
    EXPECT_EQ(orders, (std::vector<std::string>{"PA", "PB"}));
}

TEST_F(PendingComputed, AnOrderWithoutItemsOnTheInvoiceIsSkipped) {
    Invoice n;
    invoice(n);
    exec("insert into PEDVENDA (NUM_PV, CODCLI_PV, SITDUP_PV, OBS_PV) values ('PX', 1, '01', 'PRAZO 30')");
    exec("insert into NOTASAI_PEDVEND values (1, '000001', '1', 'PX')");
    exec("insert into PARAM values ('GERADUP', 'SUF_DESCTO_SUFRAMA', 'N')");
    dm.AbrirNotasPendentes("", 0, 0);
    ASSERT_EQ(dm.cdsGera.recordCount(), 1);
    EXPECT_EQ(dm.cdsGera.fieldByName("VALORPED").asFloat(), 0);
    EXPECT_TRUE(dm.cdsGera.fieldByName("TPNOTA").isNull());
    EXPECT_EQ(field("PRAZOPED"), "");
    EXPECT_EQ(dm.cdsPed.recordCount(), 0);
}

TEST_F(PendingComputed, ThePaldiWriteOffBySituation) {
    const std::pair<const char*, bool> cases[] = {{"01", true}, {"1", true}, {"14", true}, {"03", true}, {"10", false}, {"", false}};
    exec("insert into CONFIG values ('PALDI', 'T', 'N')");
    dm.NOME_EMPRESA = "PALDI";
    int k = 0;
    for (const auto& [sit, off] : cases) {
        Invoice n;
        n.docto = "00000" + std::to_string(++k);
        invoice(n);
        order("P" + std::to_string(k), n, 100, 1, sit);
    }
    dm.AbrirNotasPendentes("", 0, 0);
    k = 0;
    for (const auto& [sit, off] : cases) {
        ASSERT_TRUE(locate("00000" + std::to_string(++k)));
        const data::Field& stamp = dm.cdsGera.fieldByName("DTGERACONT_NS");
        if (off) EXPECT_EQ(stamp.asDateTime(), EncodeDate(1901, 1, 1)) << sit;
        else EXPECT_TRUE(stamp.isNull()) << sit;
    }
}

TEST_F(PendingComputed, InvoicesSharingANumberInTwoSeriesStayApart) {
    Invoice a;
    a.serie = "1";
    invoice(a);
    order("PA", a, 70);
    Invoice b;
    b.serie = "2";
    invoice(b);
    order("PB", b, 30);
    dm.AbrirNotasPendentes("", 0, 0);
    ASSERT_TRUE(locate("000001", "1"));
    EXPECT_DOUBLE_EQ(dm.cdsGera.fieldByName("VALORPED").asFloat(), 70);
    ASSERT_EQ(dm.cdsPed.recordCount(), 1);
    EXPECT_EQ(dm.cdsPed.fieldByName("Num").asString(), "PA");
    ASSERT_TRUE(locate("000001", "2"));
    EXPECT_DOUBLE_EQ(dm.cdsGera.fieldByName("VALORPED").asFloat(), 30);
    ASSERT_EQ(dm.cdsPed.recordCount(), 1);
    EXPECT_EQ(dm.cdsPed.fieldByName("Num").asString(), "PB");
}
