// The order-derived computations of the current pending invoice: for each of its sales orders
// the item copies and the order value, TPNOTA, the representatives' names, the order's
// commission rates, discounts and dates, the payment terms and the cdsPed row.
#include "datamodule/TDM.h"

#include "platform/core/Amount.h"

namespace fat {
namespace {

// Sets a calculated field from an order column only while the field is unset; a null number
// of the order is stored as 0 and a null date as day zero, which then count as set.
void SeVazio(data::Field& campo, const Value& valor) {
    if (!campo.isNull()) return;
    if (valor.isNull()) campo.setAsFloat(0);
    else campo.setValue(valor);
}

// A text set while the field is empty (SITDUP, DESCTOVINCVENCTO) or while it is null.
void SeTextoVazio(data::Field& campo, const Value& valor) {
    if (campo.asString().empty()) campo.setAsString(valor.asString());
}

void SeTextoNulo(data::Field& campo, const Value& valor) {
    if (campo.isNull()) campo.setValue(valor);
}

} // namespace

void TDM::DefinirTextoNotaPed() {
    if (sqlNotaPed.lines().empty()) {
        // The invoice row is joined on its series too, so that an invoice number used in two
        // series does not bring each order twice.
        sqlNotaPed.setLines({
            "select NP.NUMNOTA_NP, NP.SERIENOTA_NP, NP.NUMPED_NP, NP.FILIAL_NP, PV.TABPRAZO_PV,",
            "       PV.SITDUP_PV, PV.COMISSREC_PV, PV.OBS_PV, PV.DESCTO_PV, PV.TABELA_PV, PV.COMISSRECGER_PV,",
            "       PV.MOEDA_PV, PV.EMISSAO_PV, PV.FILIAL_PV , PV.DESCTOVINCVENCTO_PV, PV.DESCDP_PV,",
            "       PV.COMISRECP_PV, PV.PRAZOPAGTO_PV, NS.EMISSAO_NS, NS.VRDESCTO_NS, PV.VRDESCTO_PV, PV.DTBASE_CREC_PV, NS.DTBASE_PARC_NS,",
            "       PV.DESCTO_APROVADO_PV, PV.PDESCTO_TAB_PV, PV.PABAT_TAB_PV, PV.VRABAT_TAB_PV, TABELA_PRECOS_PV, PV.codcli_pv",
            "from NOTASAI_PEDVEND NP",
            "left join PEDVENDA PV on NP.NUMPED_NP=PV.NUM_PV",
            "left join NOTASAI NS on NP.FILIAL_NP = NS.FILIAL_NS and NP.NUMNOTA_NP = NS.DOCTO_NS "
            "AND NP.SERIENOTA_NP = NS.SERIE_NS AND PV.codcli_pv = NS.codigo_ns",
            "where NUMNOTA_NP=:DOC",
            "and FILIAL_NP>0",
            "and FILIAL_NP=:FIL",
            "and SERIENOTA_NP=:SERIE",
            "and PV.codcli_pv IS NOT NULL",
        });
    }
}

void TDM::CarregarPedidosNota(int filial, const std::string& numero, const std::string& serie) {
    DefinirTextoNotaPed();
    sqlNotaPed.close();
    sqlNotaPed.paramByName("DOC").setAsString(numero);
    sqlNotaPed.paramByName("FIL").setAsInteger(filial);
    sqlNotaPed.paramByName("SERIE").setAsString(serie);

    data::Field& valorPed = cdsGera.fieldByName("VALORPED");
    for (sqlNotaPed.open(); !sqlNotaPed.eof(); sqlNotaPed.next()) {
        const auto coluna = [this](const char* nome) -> const Value& { return sqlNotaPed.fieldByName(nome); };
        const std::string pedido = coluna("NUMPED_NP").asString();
        const std::string nota = coluna("NUMNOTA_NP").asString();
        const std::string serieNota = coluna("SERIENOTA_NP").asString();
        const int filialNota = static_cast<int>(coluna("FILIAL_NP").asInteger());

        // 1. Item copies and the order's share of the order value.
        const Amount valor = CopiarItensPedido(pedido, nota, serieNota, filialNota, coluna("EMISSAO_NS").asDateTime());
        if (valor.isZero()) continue;

        // 2. "M" when the order value exceeds the invoice value by 1.00 or more.
        const double valorNota = Arredondar(cdsGera.fieldByName("VALOR_NS").asAmount(), 2);
        const double valorPedido = Arredondar(Amount::fromDouble(valorPed.asFloat()), 2);
        const bool maior = valorNota != valorPedido &&
                           Amount::fromDouble(valorPedido) - Amount::fromDouble(valorNota) >= Amount::fromRaw(10000);
        cdsGera.fieldByName("TPNOTA").setAsString(maior ? "M" : "I");

        // 3. Representative and sub-agent names.
        if (cdsGera.fieldByName("NOME_REP").asString().empty())
            cdsGera.fieldByName("NOME_REP").setAsString(NomeRepresentante(cdsGera.fieldByName("REPRES_NS").asInteger()));
        if (cdsGera.fieldByName("NOME_PREP").asString().empty())
            cdsGera.fieldByName("NOME_PREP").setAsString(NomeRepresentante(cdsGera.fieldByName("PREPOSTO_NS").asInteger()));

        // 4. Order fields: the first order that supplies a value wins.
        SeTextoVazio(cdsGera.fieldByName("SITDUP"), coluna("SITDUP_PV"));
        SeVazio(cdsGera.fieldByName("COMISSREC"), coluna("COMISSREC_PV"));
        SeVazio(cdsGera.fieldByName("COMISRECP"), coluna("COMISRECP_PV"));
        SeVazio(cdsGera.fieldByName("COMISRECG"), coluna("COMISSRECGER_PV"));
        SeVazio(cdsGera.fieldByName("DESCTO"), coluna("DESCTO_PV"));
        SeVazio(cdsGera.fieldByName("VALORDESCTOPED"), coluna("VRDESCTO_PV"));
        SeVazio(cdsGera.fieldByName("DESCDP"), coluna("DESCDP_PV"));
        SeTextoVazio(cdsGera.fieldByName("DESCTOVINCVENCTO"), coluna("DESCTOVINCVENCTO_PV"));
        {
            const Value& baseNota = coluna("DTBASE_PARC_NS");
            const Value& base = !baseNota.isNull() && baseNota.asDateTime() > 0 ? baseNota : coluna("DTBASE_CREC_PV");
            data::Field& campo = cdsGera.fieldByName("DTBASE_CREC");
            if (campo.isNull()) campo.setAsDateTime(base.asDateTime());
        }
        SeTextoNulo(cdsGera.fieldByName("DESCTO_APROVADO"), coluna("DESCTO_APROVADO_PV"));
        SeVazio(cdsGera.fieldByName("PDESCTO_TAB"), coluna("PDESCTO_TAB_PV"));
        SeVazio(cdsGera.fieldByName("PABAT_TAB"), coluna("PABAT_TAB_PV"));
        SeVazio(cdsGera.fieldByName("VRABAT_TAB"), coluna("VRABAT_TAB_PV"));

        // 5. Payment terms.
        const std::int64_t tabelaPrecos = coluna("TABELA_PRECOS_PV").asInteger();
        const std::int64_t prazoPagto = coluna("PRAZOPAGTO_PV").asInteger();
        if (tabelaPrecos > 0 && prazoPagto > 0) {
            CarregarParcelas(prazoPagto, pedido, filialNota, nota, serieNota);
        } else {
            LerPrazoObservacao(coluna("OBS_PV").asString());
            if (cdsGera.fieldByName("PRAZOPED").asString().empty()) BuscarPrazoTabela(coluna("TABPRAZO_PV"));
        }

        // 6. The order in cdsPed.
        cdsPed.append();
        cdsPed.fieldByName("Num").setAsString(pedido);
        cdsPed.fieldByName("NUMNOTA").setAsString(nota);
        cdsPed.fieldByName("SERIENOTA").setAsString(serieNota);
        cdsPed.fieldByName("FILIALNOTA").setAsInteger(filialNota);
        cdsPed.fieldByName("TabPrazo").setValue(coluna("TABPRAZO_PV"));
        cdsPed.post();
    }
    sqlNotaPed.close();
    TotalizarItensNota();
}

} // namespace fat
