// The instalment plan of an order: its own instalments (PEDVENDA_PARCELAS) or, when it has
// none, those of its payment term (PRAZOPAGTO_PARC). Gives PRAZOPED in the plan form
// ("03 028/056/084"), SITDUP, and one cdsPrazos row per instalment under the invoice.
#include "datamodule/TDM.h"

#include "platform/core/Format.h"

namespace fat {
namespace {

// Reads a plan anew into cdsPrazoPagto: the fields are those of the new text. The order number
// or term id is bound, not written into the text, so that each of the three texts is prepared
// once for a whole load instead of once per order.
void RecarregarPrazoPagto(TDM& dm, const std::vector<std::string>& linhas, const char* parametro, const Value& valor) {
    dm.cdsPrazoPagto.close();
    dm.sqlPrazoPagto.close();
    if (dm.sqlPrazoPagto.lines() != linhas) dm.sqlPrazoPagto.setLines(linhas);
    dm.sqlPrazoPagto.paramByName(parametro).setValue(valor);
    dm.cdsPrazoPagto.setProvider(&dm.dspPrazoPagto);
    dm.cdsPrazoPagto.open();
}

// Whether the current plan row is a cash instalment (only a payment term's rows can be: the
// order's rows are read with TPPARC_PP 'S').
bool ParcelaAVista(const data::ClientDataSet& plano) {
    const data::Field* tipo = plano.findField("TPPARC_PP");
    if (tipo && tipo->asString() == "A") return true;
    const data::Field* aVista = plano.findField("AVISTA_PA");
    return aVista && aVista->asString() == "S";
}

} // namespace

void TDM::CarregarParcelas(std::int64_t prazoPagto, const std::string& pedido, int filial, const std::string& nota,
                           const std::string& serie) {
    std::string prazo;
    std::string situacao;

    const Value numeroPedido = Value::fromString(pedido);
    RecarregarPrazoPagto(*this,
                         {"select DIAS_PP as DIAS, SITDUP_PP as SITDUP, PERC_PP as PERC, TPPARC_PP",
                          "from PEDVENDA_PARCELAS", "where PEDVENDA_PP=:PEDIDO", "order by DIAS_PP"},
                         "PEDIDO", numeroPedido);
    if (cdsPrazoPagto.isEmpty())
        RecarregarPrazoPagto(*this,
                             {"select DIAS_PA as DIAS, SIT_PA as SITDUP, PERC_PA as PERC, AVISTA_PA",
                              " from PRAZOPAGTO_PARC",
                              " where ID_PRAZOPAGTO_PA = :PRAZO and SEMCOB_PA='S' order by DIAS_PA"},
                             "PRAZO", Value::fromInteger(prazoPagto));
    else
        RecarregarPrazoPagto(*this,
                             {"select DIAS_PP as DIAS, SITDUP_PP as SITDUP, PERC_PP as PERC, TPPARC_PP",
                              "from PEDVENDA_PARCELAS", "where PEDVENDA_PP=:PEDIDO and TPPARC_PP = 'S' ",
                              "order by DIAS_PP"},
                             "PEDIDO", numeroPedido);

    int parcelas = 0;
    for (cdsPrazoPagto.first(); !cdsPrazoPagto.eof(); cdsPrazoPagto.next()) {
        ++parcelas;
        const std::int64_t dias = cdsPrazoPagto.fieldByName("DIAS").asInteger();
        const std::string sitParcela = cdsPrazoPagto.fieldByName("SITDUP").asString();
        if (!prazo.empty()) prazo += "/";
        if (situacao.empty()) situacao = sitParcela;
        if (ParcelaAVista(cdsPrazoPagto))
            prazo += "A VISTA (CX)";
        else
            prazo += FormatFloat("000", static_cast<double>(dias));
        AdicionarPrazo(dias, sitParcela, filial, nota, serie);
    }
    if (!prazo.empty()) prazo = FormatFloat("00", parcelas) + " " + prazo;

    // The plan replaces whatever an earlier order gave, also when it is empty.
    cdsGera.fieldByName("SITDUP").setAsString(situacao);
    cdsGera.fieldByName("PRAZOPED").setAsString(prazo);
}

void TDM::AdicionarPrazo(std::int64_t dias, const std::string& situacao, int filial, const std::string& nota,
                         const std::string& serie) {
    cdsPrazos.append();
    cdsPrazos.fieldByName("DIAS").setAsInteger(dias);
    cdsPrazos.fieldByName("SIT").setAsString(situacao);
    cdsPrazos.fieldByName("NUMNF").setAsString(nota);
    cdsPrazos.fieldByName("FILIALNF").setAsInteger(filial);
    cdsPrazos.fieldByName("SERIENF").setAsString(serie);
    cdsPrazos.post();
}

} // namespace fat
