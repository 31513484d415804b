#pragma once
#include "../billing/ItemsFixture.h"

#include "platform/core/Format.h"

#include <string>
#include <vector>

namespace fat::test {

// A data module on a fresh ERP database holding source invoices, their copies under branch
// 100 or more, the copies' item copies and the sales orders behind them; with short ways to
// list, tick and reprocess the copies and to read the result back.
struct ReprocessFixture : ItemsFixture {
    static constexpr const char* Emissao = "2026-03-10";

    ReprocessFixture() { carregar(); }

    // A parameter of group GERADUP, whether it exists or not.
    void parametro(const std::string& chave, const std::string& valor) {
        db.exec("update or insert into PARAM (GRUPO_PA, PARAM_PA, VALOR_PA) values ('GERADUP', " + QuotedStr(chave) +
                ", " + QuotedStr(valor) + ") matching (GRUPO_PA, PARAM_PA)");
    }

    // An invoice row (source or copy) of customer 1 issued on the day given.
    struct NotaSai {
        int filial = 1;
        std::string docto = "000100";
        std::string serie = "1";
        std::string emissao = Emissao;
        double valor = 100;
        std::optional<double> vrmerc{};
        std::string tpnota = "S";
        std::string prazo = "30/60/90 DDL";
        double suframa = 0, pis = 0, cofins = 0;
        int codigo = 1;
    };
    void notaSai(const NotaSai& n) {
        inserir("NOTASAI", {{"FILIAL_NS", I(n.filial)},
                            {"DOCTO_NS", T(n.docto)},
                            {"SERIE_NS", T(n.serie)},
                            {"EMISSAO_NS", Value::fromDateTime(StrToDate(Data(n.emissao)))},
                            {"VALOR_NS", F(n.valor)},
                            {"VRMERC_NS", n.vrmerc ? F(*n.vrmerc) : Value()},
                            {"TPNOTA_NS", T(n.tpnota)},
                            {"PRAZO_NS", T(n.prazo)},
                            {"VRDESCTOSUFRAMA_NS", F(n.suframa)},
                            {"VRDESCTOPIS_NS", F(n.pis)},
                            {"VRDESCTOCOFINS_NS", F(n.cofins)},
                            {"CODIGO_NS", I(n.codigo)}});
    }
    // "2026-03-10" as the day-first text the date reader takes.
    static std::string Data(const std::string& iso) {
        return iso.substr(8, 2) + "/" + iso.substr(5, 2) + "/" + iso.substr(0, 4);
    }

    // An order linked to the source invoice, its items billed on that invoice on `dia`.
    void pedidoNota(const std::string& num, const Nota& n, std::vector<Item> itens, const std::string& dia = Emissao) {
        for (Item& i : itens) i.nota = n;
        pedido(num, itens);
        inserir("NOTASAI_PEDVEND", {{"FILIAL_NP", I(n.filial)}, {"NUMNOTA_NP", T(n.docto)}, {"SERIENOTA_NP", T(n.serie)},
                                    {"NUMPED_NP", T(num)}});
        db.exec("update ITENSPV set DTFATUR_IT = '" + dia + "' where PEDIDO_IT = " + QuotedStr(num));
    }

    // An item copy as it stands before the reprocessing.
    void itemCopia(int filial, const std::string& docto, int item, const std::string& prod, double real,
                   const std::string& serie = "1") {
        inserir("ITENSNS", {{"FILIAL_SA", I(filial)}, {"DOCTO_SA", T(docto)}, {"SERIE_SA", T(serie)},
                            {"ITEM_SA", I(item)}, {"PROD_SA", T(prod)}, {"QTDE_SA", F(1)}, {"PRECO_SA", F(real)},
                            {"PRREAL_SA", F(real)}});
    }

    // A source invoice of 100.00 in branch 1, its copy in branch 100 valued `vrmercCopia`, one
    // old item copy of `realAntigo`, and an order of `qtde` pairs at 10.00 behind it.
    void copiaSimples(const std::string& docto, double vrmercCopia = 90, double realAntigo = 80, double qtde = 10,
                      const std::string& pedidoNum = "") {
        notaSai({.filial = 1, .docto = docto, .valor = 100});
        notaSai({.filial = 100, .docto = docto, .valor = vrmercCopia, .vrmerc = vrmercCopia});
        itemCopia(100, docto, 1, "OLD", realAntigo);
        pedidoNota(pedidoNum.empty() ? "P" + docto : pedidoNum, {1, docto, "1"},
                   {{.item = "1", .prod = "1234", .preco = 10, .bruto = 10, .grade = {{"38", qtde}}}});
    }

    void listar(const std::string& docto = "", TDateTime ini = 0, TDateTime fim = 0) {
        dm.AbrirNotasDiferenca(docto, ini, fim);
    }
    // The listed copies as "branch/number/series".
    std::vector<std::string> listadas() {
        std::vector<std::string> r;
        data::ClientDataSet& l = dm.cdsNFVrDif;
        for (l.first(); !l.eof(); l.next())
            r.push_back(l.fieldByName("FILIAL_NS").asString() + "/" + l.fieldByName("DOCTO_NS").asString() + "/" +
                        l.fieldByName("SERIE_NS").asString());
        l.first();
        return r;
    }
    // Ticks the listed copies of these numbers (all when none is named).
    void marcar(const std::vector<std::string>& doctos = {}) {
        data::ClientDataSet& l = dm.cdsNFVrDif;
        for (l.first(); !l.eof(); l.next()) {
            const std::string d = l.fieldByName("DOCTO_NS").asString();
            const bool marca = doctos.empty() || std::find(doctos.begin(), doctos.end(), d) != doctos.end();
            l.edit();
            l.fieldByName("SELEC").setAsBoolean(marca);
            l.post();
        }
        l.first();
    }

    // The item copies in the database of one copy, by item number.
    struct ItemNS {
        int item = 0;
        std::string prod, codProd;
        double qtde = 0, preco = 0, bruto = 0, real = 0;
        Value descto, despesa, comis, comisFat, royalty;
        TDateTime data = 0;
        std::string tpComis;
    };
    std::vector<ItemNS> itensNS(int filial, const std::string& docto, const std::string& serie = "1") {
        sql::Query q(db.connection());
        q.setSql("select ITEM_SA, PROD_SA, COD_PROD_SA, QTDE_SA, PRECO_SA, PRECO_BRUTO_SA, PRREAL_SA, VRDESCTO_SA,"
                 " VRDESPESA_SA, VRCOMIS_ITEM_SA, VRCOMIS_ITEM_FAT_SA, ROYALTY_SA, DATA_SA, TP_COMIS_SA from ITENSNS"
                 " where FILIAL_SA = " + std::to_string(filial) + " and DOCTO_SA = " + QuotedStr(docto) +
                 " and SERIE_SA = " + QuotedStr(serie) + " order by ITEM_SA");
        std::vector<ItemNS> r;
        for (q.open(); !q.eof(); q.next())
            r.push_back({static_cast<int>(q.field(0).asInteger()), q.field(1).asString(), q.field(2).asString(),
                         q.field(3).asFloat(), q.field(4).asFloat(), q.field(5).asFloat(), q.field(6).asFloat(),
                         q.field(7), q.field(8), q.field(9), q.field(10), q.field(11), q.field(12).asDateTime(),
                         q.field(13).asString()});
        return r;
    }
    // VALOR_NS and VRMERC_NS of an invoice row as "valor|vrmerc".
    std::string valores(int filial, const std::string& docto) {
        return db.scalar("select VALOR_NS || '|' || VRMERC_NS from NOTASAI where FILIAL_NS = " + std::to_string(filial) +
                         " and DOCTO_NS = " + QuotedStr(docto) + " and SERIE_NS = '1'");
    }
};

} // namespace fat::test
