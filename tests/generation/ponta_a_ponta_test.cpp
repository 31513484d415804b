// From the database through the load and the save back to the database: invoices, orders,
// items and plans written with SQL, loaded, saved, and the written rows read with SQL.
#include "GenerationFixture.h"

namespace fat::test {
namespace {

struct PontaAPonta : GenerationFixture {
    PontaAPonta() { dm.CriarPedidos(); }

    std::vector<std::string> listados() {
        std::vector<std::string> r;
        for (dm.cdsGera.first(); !dm.cdsGera.eof(); dm.cdsGera.next()) r.push_back(dm.cdsGera.fieldByName("DOCTO_NS").asString());
        return r;
    }

    // An invoice issued on 10/03/2026 and one order with one item billed on it, whose plan has
    // instalments of 50 % at 30 and 60 days with their own situations.
    void notaComPedido(const std::string& serie, const std::string& pedido, double preco,
                       const std::vector<std::pair<int, std::string>>& plano) {
        Nota n;
        n.serie = serie;
        n.valor = Ponto(preco);
        nota(n);
        db.exec("insert into PEDVENDA (NUM_PV, CODCLI_PV, SITDUP_PV, COMISSREC_PV, COMISRECP_PV, COMISSRECGER_PV,"
                " DESCTO_PV, DESCDP_PV, DESCTOVINCVENCTO_PV, TABELA_PRECOS_PV, PRAZOPAGTO_PV) values (" +
                QuotedStr(pedido) + ", 1, '01', 2.5, 1.5, 0.5, 0, 3, 'N', 1, 5)");
        db.exec("insert into NOTASAI_PEDVEND values (1, '000001', " + QuotedStr(serie) + ", " + QuotedStr(pedido) + ")");
        db.exec("insert into ITENSPV (PEDIDO_IT, ITEM_IT, PROD_IT, PRECO_IT, PRECO_BRUTO_IT, NF_IT, SERIE_IT, FILIAL_IT,"
                " DTFATUR_IT, TP_COMIS_IT, PERC_COMIS_IT) values (" +
                QuotedStr(pedido) + ", '1', 'PROD-" + pedido + "', " + Ponto(preco) + ", " + Ponto(preco) +
                ", '000001', " + QuotedStr(serie) + ", 1, '2026-03-10', 'R', 0)");
        db.exec("insert into ITENSPVGRADE values (" + QuotedStr(pedido) + ", '1', '38', 1)");
        for (const auto& [dias, sit] : plano)
            db.exec("insert into PEDVENDA_PARCELAS values (" + QuotedStr(pedido) + ", " + std::to_string(dias) + ", " +
                    QuotedStr(sit) + ", 50, 'S')");
    }
};

TEST_F(PontaAPonta, LoadedInvoicesAreSavedWithTheirCopiesReceivablesItemsAndLinksAndLeaveThePendingList) {
    // The same number in two series, each with its own order, item and plan.
    notaComPedido("1", "PED1", 100, {{30, "01"}, {60, "14"}});
    notaComPedido("2", "PED2", 80, {{30, "22"}, {45, "23"}});
    // Last in the load, with its copy already written: the copy lookup ends on that copy.
    Nota gerada;
    gerada.docto = "000009";
    nota(gerada);
    db.exec("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, TPNOTA_NS) values (100, '000009', '1', 'S')");
    dm.AbrirNotasPendentes("", 0, 0);
    ASSERT_EQ(dm.cdsGera.recordCount(), 3);
    dm.GravarNotasPendentes();
    // The copy buffer held only this save's copies.
    EXPECT_EQ(dm.cdsNF100.recordCount(), 2);

    EXPECT_EQ(linhas("select SERIE_NS, cast(VALOR_NS as varchar(20)), NUMPARC_NS, PRAZO_NS, cast(DTGERACONT_NS as date)"
                     " from NOTASAI where FILIAL_NS = 100 and DOCTO_NS = '000001' order by SERIE_NS"),
              (std::vector<std::string>{"1|100.00|2|030/060|20/03/2026", "2|80.00|2|030/045|20/03/2026"}));
    EXPECT_EQ(linhas("select SERIENOTA_NP, NUMPED_NP from NOTASAI_PEDVEND where FILIAL_NP = 100 order by 1"),
              (std::vector<std::string>{"1|PED1", "2|PED2"}));
    EXPECT_EQ(linhas("select SERIE_SA, ITEM_SA, PROD_SA, PRREAL_SA from ITENSNS where FILIAL_SA = 100 order by 1"),
              (std::vector<std::string>{"1|1|PROD-PED1|100", "2|1|PROD-PED2|80"}));
    EXPECT_EQ(linhas("select SERIE_NOTA_DP, ORD_DP, cast(VALOR_DP as varchar(20)), cast(VENCTO_DP as date), SIT_DP,"
                     " COMISSAO_DP from DUPLICATAS where FILIAL_DP = 100 order by 1, 2"),
              (std::vector<std::string>{"1|A|50.00|09/04/2026|01|2,5", "1|B|50.00|09/05/2026|14|2,5",
                                        "2|A|40.00|09/04/2026|22|2,5", "2|B|40.00|24/04/2026|23|2,5"}));
    EXPECT_EQ(carimbo("000001", "1"), "20/03/2026");
    EXPECT_EQ(carimbo("000001", "2"), "20/03/2026");

    dm.AbrirNotasPendentes("", 0, 0);
    EXPECT_EQ(listados(), std::vector<std::string>{"000009"});
}

TEST_F(PontaAPonta, AWriteOffInTheGridIsOnlyStamped) {
    notaComPedido("1", "PED1", 100, {{30, "01"}});
    dm.AbrirNotasPendentes("", 0, 0);
    ASSERT_EQ(dm.cdsGera.recordCount(), 1);
    dm.cdsGera.edit();
    dm.cdsGera.fieldByName("DTGERACONT_NS").setAsDateTime(TDM::DataNula());
    dm.cdsGera.post();
    dm.GravarNotasPendentes();
    EXPECT_EQ(escrito(), (std::vector<std::string>{"0", "0", "0", "0", "1"}));
    EXPECT_EQ(carimbo("000001"), "01/01/1901");
}

} // namespace
} // namespace fat::test
