#pragma once
#include "../datamodule/DataModuleFixture.h"

#include "platform/core/DateTime.h"
#include "salesorder/TPedVenda.h"

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace fat::test {

// A data module on a fresh ERP database ready to copy the items of sales orders onto pending
// invoices, with short ways to write products, variants, orders, items and size grids, and to
// read the copies back.
struct ItemsFixture : DataModuleFixture {
    ItemsFixture() { connect(); }

    // A row of any table, its values bound as parameters (a null Value writes NULL).
    void inserir(const std::string& tabela, const std::vector<std::pair<std::string, Value>>& colunas) {
        std::string nomes, marcas;
        for (const auto& [nome, valor] : colunas) {
            nomes += (nomes.empty() ? "" : ", ") + nome;
            marcas += (marcas.empty() ? ":" : ", :") + nome;
        }
        sql::Query q(db.connection());
        q.setSql("insert into " + tabela + " (" + nomes + ") values (" + marcas + ")");
        for (const auto& [nome, valor] : colunas) q.paramByName(nome).setValue(valor);
        q.execSql();
    }
    static Value T(const std::string& s) { return Value::fromString(s); }
    static Value F(double v) { return Value::fromFloat(v); }
    static Value I(std::int64_t v) { return Value::fromInteger(v); }

    // Company settings, parameters and the two order models, as the module's creation leaves them;
    // cdsGera and cdsItens empty. Parameters of the test are written with setParam before.
    void carregar(const std::string& empresa = "CALCADOS MODELO", const std::string& tpfatur = "T") {
        db.exec("delete from CONFIG");
        inserir("CONFIG", {{"NOME_EMPRESA", T(empresa)}, {"TPFATUR", T(tpfatur)}});
        dm.CarregarParametros();
        dm.NOME_EMPRESA = empresa;
        dm.TPFATUR = tpfatur;
        dm.PedVendaBruto = std::make_unique<TPedVenda>(dm.sqlCon);
        dm.PedVendaLiquido = std::make_unique<TPedVenda>(dm.sqlCon);
        dm.DefinirCamposGera();
        dm.cdsGera.createDataSet();
        dm.PrepararItens();
    }

    void produto(const std::string& cod, const std::string& desc, const std::string& descNf = "",
                 const std::string& un = "PR") {
        inserir("PRODUTO", {{"COD_PR", T(cod)}, {"UN_PR", T(un)}, {"DESC_PR", T(desc)}, {"DESCNF_PR", T(descNf)}});
    }
    void variante(const std::string& prod, const std::string& padron, const std::string& desc) {
        inserir("PADRONIZ_PRODUTO", {{"PROD_PP", T(prod)}, {"PADRONIZ_PP", T(padron)}, {"DESC_PP", T(desc)}});
    }

    // The invoice an item is billed on.
    struct Nota {
        int filial = 1;
        std::string docto = "000100";
        std::string serie = "1";
        friend std::ostream& operator<<(std::ostream& os, const Nota& n) {
            return os << n.filial << "/" << n.docto << "/" << n.serie;
        }
    };

    // An order item billed on an invoice, with its size grid (size, quantity).
    struct Item {
        std::string item = "1";
        std::string prod = "1234";
        std::string prodCli = "";
        std::string padron = "";
        double preco = 10;      // PRECO_IT, the invoice's price
        double bruto = 10;      // PRECO_BRUTO_IT
        std::vector<std::pair<std::string, double>> grade = {{"38", 1}};
        Nota nota{};
        std::string tpComis = "R";
        double percComis = 0;
        double percComisFat = 0;
        std::optional<double> pDescto{};
        std::optional<double> royalty{};
    };

    void pedido(const std::string& num, const std::vector<Item>& itens) {
        inserir("PEDVENDA", {{"NUM_PV", T(num)}, {"CODCLI_PV", I(1)}});
        for (const Item& i : itens) {
            inserir("ITENSPV", {{"PEDIDO_IT", T(num)},
                                {"ITEM_IT", T(i.item)},
                                {"PROD_IT", T(i.prod)},
                                {"PRODCLI_IT", i.prodCli.empty() ? Value() : T(i.prodCli)},
                                {"PADRON_IT", i.padron.empty() ? Value() : T(i.padron)},
                                {"PRECO_IT", F(i.preco)},
                                {"PRECO_BRUTO_IT", F(i.bruto)},
                                {"PDESCTO_IT", i.pDescto ? F(*i.pDescto) : Value()},
                                {"SIT_IT", T("A")},
                                {"NF_IT", T(i.nota.docto)},
                                {"SERIE_IT", T(i.nota.serie)},
                                {"FILIAL_IT", I(i.nota.filial)},
                                {"TP_COMIS_IT", T(i.tpComis)},
                                {"PERC_COMIS_IT", F(i.percComis)},
                                {"PERC_COMIS_FAT_IT", F(i.percComisFat)},
                                {"ROYALTY_IT", i.royalty ? F(*i.royalty) : Value()}});
            for (const auto& [tam, qtde] : i.grade)
                inserir("ITENSPVGRADE", {{"PEDIDO_IT", T(num)}, {"ITEM_IT", T(i.item)}, {"TAM_IT", T(tam)},
                                         {"QTPED_IT", F(qtde)}});
        }
    }

    // A pending invoice as the current cdsGera row (in insert state; a previous row is posted).
    struct Pendente {
        Nota nota{};
        double valor = 0;           // VALOR_NS
        std::string prazo = "30/60/90 DDL";
        std::string forma = "";     // FORMA_AGRUP_ITENS_NS
        double suframa = 0, pis = 0, cofins = 0;
    };
    void pendente(const Pendente& p) {
        data::ClientDataSet& g = dm.cdsGera;
        g.append();
        g.fieldByName("FILIAL_NS").setAsInteger(p.nota.filial);
        g.fieldByName("DOCTO_NS").setAsString(p.nota.docto);
        g.fieldByName("SERIE_NS").setAsString(p.nota.serie);
        g.fieldByName("VALOR_NS").setAsFloat(p.valor);
        g.fieldByName("PRAZO_NS").setAsString(p.prazo);
        g.fieldByName("FORMA_AGRUP_ITENS_NS").setAsString(p.forma);
        g.fieldByName("VRDESCTOSUFRAMA_NS").setAsFloat(p.suframa);
        g.fieldByName("VRDESCTOPIS_NS").setAsFloat(p.pis);
        g.fieldByName("VRDESCTOCOFINS_NS").setAsFloat(p.cofins);
    }
    // The copies of one order on the current invoice, as the load makes them.
    Amount copiar(const std::string& pedido, const Nota& n, TDateTime emissao = EncodeDate(2026, 3, 10)) {
        return dm.CopiarItensPedido(pedido, n.docto, n.serie, n.filial, emissao);
    }
    double gera(const char* campo) const { return dm.cdsGera.fieldByName(campo).asFloat(); }

    // The item copies, every one of the load, in the dataset's order.
    struct Copia {
        int filialNf = 0, filial = 0, item = 0;
        std::string docto, serie, prod, codProd, padron, tam, desc, un, tpComis;
        TDateTime data = 0;
        double qtde = 0, preco = 0, bruto = 0, real = 0, percComis = 0, percComisFat = 0;
        Value vrDescto, vrDespesa, comis, comisFat, royalty;
    };
    std::vector<Copia> copias() {
        data::ClientDataSet& c = dm.cdsItens;
        EXPECT_FALSE(c.filtered()) << "the copies' filter was left on";
        std::vector<Copia> r;
        for (c.first(); !c.eof(); c.next()) {
            const auto f = [&c](const char* nome) -> data::Field& { return c.fieldByName(nome); };
            r.push_back({static_cast<int>(f("FILIAL_NF").asInteger()), static_cast<int>(f("FILIAL_SA").asInteger()),
                         static_cast<int>(f("ITEM_SA").asInteger()), f("DOCTO_SA").asString(),
                         f("SERIE_SA").asString(), f("PROD_SA").asString(), f("COD_PROD_SA").asString(),
                         f("COD_PADRON_SA").asString(), f("TAMANHO_SA").asString(), f("DESC_SA").asString(),
                         f("UN_SA").asString(), f("TP_COMIS_SA").asString(), f("DATA_SA").asDateTime(),
                         f("QTDE_SA").asFloat(), f("PRECO_SA").asFloat(), f("PRECO_BRUTO_SA").asFloat(),
                         f("PRREAL_SA").asFloat(), f("PERC_COMIS_SA").asFloat(), f("PERC_COMIS_FAT_SA").asFloat(),
                         f("VRDESCTO_SA").value(), f("VRDESPESA_SA").value(), f("VRCOMIS_ITEM_SA").value(),
                         f("VRCOMIS_ITEM_FAT_SA").value(), f("ROYALTY_SA").value()});
        }
        return r;
    }
};

} // namespace fat::test
