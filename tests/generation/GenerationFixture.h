#pragma once
#include "../datamodule/DataModuleFixture.h"

#include "platform/core/DateTime.h"
#include "platform/core/Errors.h"
#include "platform/core/Win1252.h"
#include "platform/core/Format.h"
#include "salesorder/TPedVenda.h"

#include <string>
#include <utility>
#include <vector>

namespace fat::test {

// A data module on a fresh ERP database, ready to save pending invoices that the test writes
// itself: each invoice goes into NOTASAI, and cdsGera is read from there (every stored column,
// as the load reads it) with the computed values the test gives; cdsPed, cdsItens and cdsPrazos
// get the invoice's orders, item copies and plan rows. "Today" is 20/03/2026.
struct GenerationFixture : DataModuleFixture {
    static TDateTime Hoje() { return EncodeDate(2026, 3, 20); }

    GenerationFixture() {
        SetTodayFunction(&Hoje);
        connect();
        dm.PedVendaBruto = std::make_unique<TPedVenda>(dm.sqlCon);
        dm.PedVendaLiquido = std::make_unique<TPedVenda>(dm.sqlCon);
        dm.TPFATUR = "T";
        dm.NOME_EMPRESA = "CALCADOS MODELO";
        dm.GERARCOPIADUP = "N";
    }
    ~GenerationFixture() override { SetTodayFunction({}); }

    struct Item {
        double prreal = 100;
        std::string prod = "P1";
    };

    // A pending invoice (issued 10/03/2026, customer 1, representative 7, sub-agent 8, manager 9)
    // and what the load computed for it.
    struct Nota {
        int filial = 1;
        std::string docto = "000001";
        std::string serie = "1";
        std::string emissao = "2026-03-10";
        std::string saida = "2026-03-12";
        std::string valor = "100.00";
        std::string cfop = "5101";
        std::string prazoNs = "30/60/90 DDL";
        std::string frete = "0", despesa = "0", seguro = "0", ipi = "0";
        // computed
        std::string gerado = "N";
        double valorPed = 100;
        std::string tpnota = "I";
        std::string prazoPed = "03 030/060/090";
        std::string sitdup = "01";
        std::string tabprazo;
        TDateTime dtBase = EncodeDate(2026, 3, 1);
        double comissRec = 2.5, comisRecP = 1.5, comisRecG = 0.5, descDp = 3;
        std::string vincVencto = "S";
        double comisItemRec = 0, comisItemFat = 0;
        bool baixada = false; // written off (DTGERACONT_NS = 01/01/1901 in memory)
        std::vector<std::string> pedidos = {"PED1"};
        std::vector<Item> itens = {Item{}};
        std::vector<std::pair<int, std::string>> plano; // cdsPrazos rows: days, situation
    };

    std::vector<Nota> notas;

    // A number as SQL writes it ("69.99").
    static std::string Ponto(double v) {
        std::string s = FloatToStr(v);
        for (char& c : s)
            if (c == ',') c = '.';
        return s;
    }

    void nota(const Nota& n) {
        notas.push_back(n);
        db.exec("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, EMISSAO_NS, DTSAIDA_NS, VALOR_NS, VRMERC_NS, CFOP_NS,"
                " PRAZO_NS, NUMPARC_NS, TPNOTA_NS, CODIGO_NS, REPRES_NS, PREPOSTO_NS, GERENTECOMISS_NS, CODCONT_NS,"
                " NOME_NS, VRFRETE_NS, VRDESPESA_NS, VRSEGURO_NS, VRIPI_NS, UPLOAD_NS, BASECOMIS_NS) values (" +
                std::to_string(n.filial) + ", " + QuotedStr(n.docto) + ", " + QuotedStr(n.serie) + ", '" + n.emissao +
                "', '" + n.saida + "', " + n.valor + ", " + n.valor + ", " + QuotedStr(n.cfop) + ", " +
                QuotedStr(n.prazoNs) + ", 3, 'S', 1, 7, 8, 9, 'CC-1', 'CLIENTE UM', " + n.frete + ", " + n.despesa +
                ", " + n.seguro + ", " + n.ipi + ", '2026-03-11', 55)");
    }

    // cdsGera from the invoices in NOTASAI, with their computed values; the orders, items and
    // plan rows of each.
    void carregar() {
        dm.CarregarParametros();
        dm.DefinirCamposGera();
        dm.sqlNF1.setLines({"select N.*, N.VALOR_NS AS VALOR_ITENS", "from NOTASAI N where FILIAL_NS <= 90",
                            "order by DOCTO_NS, SERIE_NS, FILIAL_NS"});
        dm.cdsGera.setProvider(&dm.dspNF1);
        dm.cdsGera.open();
        dm.PrepararPrazos();
        dm.PrepararItens();
        dm.CriarPedidos();
        for (const Nota& n : notas) {
            ASSERT_TRUE(dm.cdsGera.locate("FILIAL_NS;DOCTO_NS;SERIE_NS", {Value::fromInteger(n.filial),
                                                                          Value::fromString(n.docto),
                                                                          Value::fromString(n.serie)}));
            auto& g = dm.cdsGera;
            g.edit();
            g.fieldByName("GERADO").setAsString(n.gerado);
            g.fieldByName("VALORPED").setAsFloat(n.valorPed);
            g.fieldByName("TPNOTA").setAsString(n.tpnota);
            g.fieldByName("PRAZOPED").setAsString(n.prazoPed);
            g.fieldByName("SITDUP").setAsString(n.sitdup);
            g.fieldByName("TABPRAZO").setAsString(n.tabprazo);
            g.fieldByName("DTBASE_CREC").setAsDateTime(n.dtBase);
            g.fieldByName("COMISSREC").setAsFloat(n.comissRec);
            g.fieldByName("COMISRECP").setAsFloat(n.comisRecP);
            g.fieldByName("COMISRECG").setAsFloat(n.comisRecG);
            g.fieldByName("DESCDP").setAsFloat(n.descDp);
            g.fieldByName("DESCTOVINCVENCTO").setAsString(n.vincVencto);
            g.fieldByName("VRCOMIS_ITEM_REC").setAsFloat(n.comisItemRec);
            g.fieldByName("VRCOMIS_ITEM_FAT").setAsFloat(n.comisItemFat);
            if (n.baixada) g.fieldByName("DTGERACONT_NS").setAsDateTime(TDM::DataNula());
            g.post();

            const int filGera = dm.FilGeraPorNota ? TDM::FilialDerivada(n.filial) : dm.FilGera;
            for (const auto& pedido : n.pedidos) {
                dm.cdsPed.append();
                dm.cdsPed.fieldByName("Num").setAsString(pedido);
                dm.cdsPed.fieldByName("NUMNOTA").setAsString(n.docto);
                dm.cdsPed.fieldByName("SERIENOTA").setAsString(n.serie);
                dm.cdsPed.fieldByName("FILIALNOTA").setAsInteger(n.filial);
                dm.cdsPed.post();
            }
            int k = 0;
            for (const Item& item : n.itens) {
                auto& i = dm.cdsItens;
                i.append();
                i.fieldByName("FILIAL_SA").setAsInteger(filGera);
                i.fieldByName("DOCTO_SA").setAsString(n.docto);
                i.fieldByName("SERIE_SA").setAsString(n.serie);
                i.fieldByName("ITEM_SA").setAsInteger(++k);
                i.fieldByName("PROD_SA").setAsString(item.prod);
                i.fieldByName("QTDE_SA").setAsFloat(1);
                i.fieldByName("PRREAL_SA").setAsFloat(item.prreal);
                i.fieldByName("CFOP_SA").setAsString(n.cfop);
                i.fieldByName("FILIAL_NF").setAsInteger(n.filial);
                i.post();
            }
            for (const auto& [dias, sit] : n.plano) dm.AdicionarPrazo(dias, sit, n.filial, n.docto, n.serie);
        }
    }

    // The rows of a select, each as its columns joined by "|" (null as "null").
    std::vector<std::string> linhas(const std::string& sqlText, sql::Connection* conexao = nullptr) {
        sql::Query q(conexao ? *conexao : db.connection());
        q.setSql(sqlText);
        std::vector<std::string> r;
        for (q.open(); !q.eof(); q.next()) {
            std::string linha;
            for (int i = 0; i < q.fieldCount(); ++i)
                linha += (i ? "|" : "") + (q.field(i).isNull() ? std::string("null") : q.field(i).asString());
            r.push_back(linha);
        }
        return r;
    }
    std::string contar(const std::string& tabelaEFiltro, sql::Connection* conexao = nullptr) {
        return linhas("select count(*) from " + tabelaEFiltro, conexao).at(0);
    }
    // What the save wrote: copies, links, receivables, item copies, stamped invoices.
    std::vector<std::string> escrito(sql::Connection* conexao = nullptr) {
        return {contar("NOTASAI where FILIAL_NS >= 100", conexao), contar("NOTASAI_PEDVEND where FILIAL_NP >= 100", conexao),
                contar("DUPLICATAS where FILIAL_DP >= 100", conexao), contar("ITENSNS where FILIAL_SA >= 100", conexao),
                contar("NOTASAI where FILIAL_NS <= 90 and DTGERACONT_NS is not null", conexao)};
    }
    // The receivables written, in key order: number, series, mark, value, commission value.
    std::vector<std::string> duplicatas() {
        return linhas("select NUM_DP, SERIE_NOTA_DP, ORD_DP, cast(VALOR_DP as varchar(20)),"
                      " cast(VRCOMIS_ITEM_DP as varchar(20)) from DUPLICATAS where FILIAL_DP >= 100"
                      " order by FILIAL_DP, NUM_DP, SERIE_NOTA_DP, ORD_DP");
    }
    // The stamp of an invoice as yyyy-mm-dd, "null" when it has none.
    std::string carimbo(const std::string& docto, const std::string& serie = "1", int filial = 1) {
        return linhas("select cast(DTGERACONT_NS as date) from NOTASAI where FILIAL_NS = " + std::to_string(filial) +
                      " and DOCTO_NS = " + QuotedStr(docto) + " and SERIE_NS = " + QuotedStr(serie))
            .at(0);
    }
};

// A fresh database and data module of its own for each case of a table.
struct GenerationCase : GenerationFixture {
    void TestBody() override {}
};

} // namespace fat::test
