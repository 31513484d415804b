#pragma once
#include "../datamodule/DataModuleFixture.h"

#include "platform/core/Format.h"

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace fat::test {

// A data module on a fresh ERP database with an empty cdsGera and cdsPrazos, and short ways to
// write the rows the payment-term rules read.
struct TermsFixture : DataModuleFixture {
    TermsFixture() {
        connect();
        dm.DefinirCamposGera();
        dm.cdsGera.createDataSet();
        dm.PrepararPrazos();
    }

    using Opt = std::optional<std::string>;
    static std::string Q(const Opt& s) { return s ? QuotedStr(*s) : std::string("NULL"); }

    void parcelaPedido(const std::string& pedido, int dias, const Opt& sit, const Opt& tipo) {
        db.exec("insert into PEDVENDA_PARCELAS (PEDVENDA_PP, DIAS_PP, SITDUP_PP, PERC_PP, TPPARC_PP) values (" +
                Q(pedido) + ", " + std::to_string(dias) + ", " + Q(sit) + ", 0, " + Q(tipo) + ")");
    }
    void parcelaPrazo(int id, int dias, const Opt& sit, const Opt& aVista, const Opt& semCob) {
        db.exec("insert into PRAZOPAGTO_PARC (ID_PRAZOPAGTO_PA, DIAS_PA, SIT_PA, PERC_PA, AVISTA_PA, SEMCOB_PA) values (" +
                std::to_string(id) + ", " + std::to_string(dias) + ", " + Q(sit) + ", 0, " + Q(aVista) + ", " +
                Q(semCob) + ")");
    }
    void tabela(const std::string& num, const std::string& cod, const std::string& desc) {
        db.exec("insert into TABELA (NUM_TA, COD_TA, DESC_TA) values (" + Q(num) + ", " + Q(cod) + ", " + Q(desc) + ")");
    }

    // Appends a pending invoice to cdsGera and leaves it current, in edit state.
    void nota(int filial, const std::string& docto, const std::string& serie, std::optional<int> numParc = {},
              const Opt& prazo = {}) {
        auto& g = dm.cdsGera;
        if (g.state() != data::DataSetState::Browse) g.post();
        g.append();
        g.fieldByName("FILIAL_NS").setAsInteger(filial);
        g.fieldByName("DOCTO_NS").setAsString(docto);
        g.fieldByName("SERIE_NS").setAsString(serie);
        if (numParc) g.fieldByName("NUMPARC_NS").setAsInteger(*numParc);
        if (prazo) g.fieldByName("PRAZO_NS").setAsString(*prazo);
    }
    const data::Field& gera(const char* name) const { return dm.cdsGera.fieldByName(name); }

    // The rows of cdsPrazos in their order: branch, number, series, days, situation.
    using Parcela = std::tuple<std::int64_t, std::string, std::string, std::int64_t, std::string>;
    std::vector<Parcela> prazos() {
        std::vector<Parcela> r;
        auto& p = dm.cdsPrazos;
        for (p.first(); !p.eof(); p.next())
            r.emplace_back(p.fieldByName("FILIALNF").asInteger(), p.fieldByName("NUMNF").asString(),
                           p.fieldByName("SERIENF").asString(), p.fieldByName("DIAS").asInteger(),
                           p.fieldByName("SIT").asString());
        return r;
    }
};

} // namespace fat::test
