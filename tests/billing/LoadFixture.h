#pragma once
#include "../datamodule/DataModuleFixture.h"

#include "platform/core/Format.h"
#include "salesorder/TPedVenda.h"

#include <algorithm>
#include <string>
#include <vector>

namespace fat::test {

// A data module on a fresh ERP database, and short ways to write the rows a pending load reads.
struct LoadFixture : DataModuleFixture {
    LoadFixture() {
        connect();
        dm.PedVendaBruto = std::make_unique<TPedVenda>(dm.sqlCon);
        dm.PedVendaLiquido = std::make_unique<TPedVenda>(dm.sqlCon);
        dm.CriarPedidos();
    }

    static std::string Q(const std::string& s) { return QuotedStr(s); }
    static std::string Date(int y, int m, int d) {
        return "'" + std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d) + "'";
    }

    // An invoice of customer 1 issued on 10/03/2026 unless said otherwise.
    struct Invoice {
        int filial = 1;
        std::string docto = "000001";
        std::string serie = "1";
        std::string emissao = "'2026-03-10'";
        std::string valor = "100.00";
        std::string cfop = "5101";
        std::string tpnota = "S";
    };
    void invoice(const Invoice& n) {
        exec("insert into NOTASAI (FILIAL_NS, DOCTO_NS, SERIE_NS, EMISSAO_NS, VALOR_NS, CFOP_NS, TPNOTA_NS, CODIGO_NS,"
             " REPRES_NS, PREPOSTO_NS, PRAZO_NS, NUMPARC_NS) values (" +
             std::to_string(n.filial) + ", " + Q(n.docto) + ", " + Q(n.serie) + ", " + n.emissao + ", " + n.valor + ", " +
             Q(n.cfop) + ", " + Q(n.tpnota) + ", 1, 7, 8, '30/60 DDL', 2)");
    }
    void set(const std::string& table, const std::string& assignments, const std::string& where) {
        exec("update " + table + " set " + assignments + " where " + where);
    }
    // An order of customer 1 linked to the invoice, with one item of `qty` pairs at the price,
    // billed on that invoice.
    void order(const std::string& num, const Invoice& n, double price, double qty = 1, const std::string& sitdup = "01") {
        exec("insert into PEDVENDA (NUM_PV, CODCLI_PV, SITDUP_PV, COMISSREC_PV, DESCTO_PV, OBS_PV) values (" + Q(num) +
             ", 1, " + Q(sitdup) + ", 2.5, 0, 'PRAZO 30/60')");
        exec("insert into NOTASAI_PEDVEND values (" + std::to_string(n.filial) + ", " + Q(n.docto) + ", " + Q(n.serie) +
             ", " + Q(num) + ")");
        item(num, "1", price, qty, n);
    }
    void item(const std::string& order, const std::string& item, double price, double qty, const Invoice& n) {
        exec("insert into ITENSPV (PEDIDO_IT, ITEM_IT, PROD_IT, PRECO_IT, PRECO_BRUTO_IT, NF_IT, SERIE_IT, FILIAL_IT,"
             " DTFATUR_IT, TP_COMIS_IT, PERC_COMIS_IT) values (" +
             Q(order) + ", " + Q(item) + ", 'P" + item + "', " + FloatText(price) + ", " + FloatText(price) + ", " +
             Q(n.docto) + ", " + Q(n.serie) + ", " + std::to_string(n.filial) + ", " + n.emissao + ", 'R', 0)");
        exec("insert into ITENSPVGRADE values (" + Q(order) + ", " + Q(item) + ", '38', " + FloatText(qty) + ")");
    }
    static std::string FloatText(double v) {
        std::string s = FloatToStr(v);
        for (char& c : s)
            if (c == ',') c = '.';
        return s;
    }
    void exec(const std::string& s) { db.exec(s); }

    // The rows of cdsGera as (number, series) in walk order.
    std::vector<std::string> listed() {
        std::vector<std::string> r;
        for (dm.cdsGera.first(); !dm.cdsGera.eof(); dm.cdsGera.next())
            r.push_back(dm.cdsGera.fieldByName("DOCTO_NS").asString() + "/" + dm.cdsGera.fieldByName("SERIE_NS").asString());
        dm.cdsGera.first();
        return r;
    }
    bool locate(const std::string& docto, const std::string& serie = "1", int filial = 1) {
        return dm.cdsGera.locate("FILIAL_NS;DOCTO_NS;SERIE_NS",
                                 {Value::fromInteger(filial), Value::fromString(docto), Value::fromString(serie)});
    }
    std::string field(const char* name) { return dm.cdsGera.fieldByName(name).asString(); }
};

} // namespace fat::test
