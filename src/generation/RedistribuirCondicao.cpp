// The re-split of the current copy's receivables by the percentages of the order's payment
// condition (CONDPAGTO, table '98', code TABPRAZO): each receivable whose day count from the
// base date is a day count of the condition takes its percentage of the copy's value, and the
// rounding remainder goes to the first.
#include "datamodule/TDM.h"

#include "platform/data/DataSetGuards.h"
#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/core/Win1252.h"

#include <cmath>

namespace fat {
namespace {

// The share of a percentage of the value, to the cent: the nearest whole number of hundredths
// (halves away from zero), which must fit a 32-bit integer.
Amount Parte(double percentual, double valor, const std::string& numero, const std::string& condicao) {
    const std::string centavos = FormatFloat("0", percentual * valor);
    std::int32_t inteiro = 0;
    try {
        inteiro = StrToInt(centavos);
    } catch (const ConversionError&) {
        throw Error(Win1252("A parcela de ") + FormatFloat("#,##0.00", percentual * valor / 100) + " da NF " +
                    numero + Win1252(" não cabe no rateio da condição de pagamento ") + condicao +
                    Win1252(" (no máximo 21.474.836,47 por parcela). Nada foi gravado."));
    }
    return Amount::fromRaw(static_cast<std::int64_t>(inteiro) * 100);
}

} // namespace

void TDM::RedistribuirCondicao(TDateTime base) {
    const std::string condicao = cdsGera.fieldByName("TABPRAZO").asString();
    cdsCondPagto.close();
    sqlCondPagto.close();
    if (sqlCondPagto.lines().empty())
        sqlCondPagto.setLines({"select * from CONDPAGTO", "where NUM_CP='98'", "and COD_CP=:COD"});
    sqlCondPagto.paramByName("COD").setAsString(condicao);
    cdsCondPagto.setProvider(&dspCondPagto);
    cdsCondPagto.open();

    // Only this copy's receivables (its branch, number and series), by order mark.
    const std::string numero = cdsNF100.fieldByName("DOCTO_NS").asString();
    const std::string serie = cdsNF100.fieldByName("SERIE_NS").asString();
    const Amount valor = cdsNF100.fieldByName("VALOR_NS").asAmount();
    data::TemporaryFilter daCopia(cdsDup, "FILIAL_DP = " + std::to_string(FilGera) + " AND NUM_DP = " +
                                                     QuotedStr(numero) + " AND SERIE_NOTA_DP = " + QuotedStr(serie));
    data::Field& vencimento = cdsDup.fieldByName("VENCTO_DP");
    data::Field& valorDup = cdsDup.fieldByName("VALOR_DP");
    const auto naCondicao = [&]() {
        const double dias = std::trunc(vencimento.asDateTime() - base);
        return cdsCondPagto.locate("DIAS_CP", Value::fromString(FormatFloat("000", dias)));
    };

    // The percentages are summed as exact amounts; a receivable whose day count the condition
    // does not have leaves the split as it is (it would keep its value and the receivables would
    // no longer add up to the copy's value).
    Amount soma;
    bool todas = true;
    for (cdsDup.first(); !cdsDup.eof(); cdsDup.next()) {
        if (naCondicao()) soma += Amount::fromDouble(cdsCondPagto.fieldByName("PERC_CP").asFloat());
        else todas = false;
    }
    if (cdsDup.isEmpty() || !todas || soma != Amount::fromRaw(100 * Amount::Scale)) return;

    Amount T = valor;
    for (cdsDup.first(); !cdsDup.eof(); cdsDup.next()) {
        if (!naCondicao()) continue;
        const Amount S = Parte(cdsCondPagto.fieldByName("PERC_CP").asFloat(), valor.toDouble(), numero, condicao);
        T -= S;
        cdsDup.edit();
        valorDup.setAsFloat(S.toDouble());
        cdsDup.fieldByName("BASECOMISS_DP").setValue(valorDup.value());
        cdsDup.post();
    }
    if (!T.isZero()) {
        cdsDup.first();
        if (!cdsDup.eof()) {
            cdsDup.edit();
            valorDup.setAsFloat((valorDup.asAmount() + T).toDouble());
            cdsDup.post();
        }
    }
}

} // namespace fat
