// The payment term from the ERP's code tables: table "98" (order terms) by the order's code,
// or, without one, the invoice's own term found in table "18" and read under the same code in
// table "98".
#include "datamodule/TDM.h"

#include "platform/core/Format.h"

#include <optional>

namespace fat {
namespace {

// The pattern is compared with DESC_TA, which holds at most this many characters.
constexpr std::size_t TamanhoPadrao = 75;

// Gives the query its text the first time only, so its prepared statement is reused.
void DefinirTexto(sql::Query& query, const std::vector<std::string>& linhas) {
    if (query.lines() != linhas) query.setLines(linhas);
}

// DESC_TA of code `codigo` in table "98", when there is such a row.
std::optional<std::string> DescricaoPrazoPedido(sql::Query& sqlPrazoPed, const std::string& codigo) {
    DefinirTexto(sqlPrazoPed, {"select DESC_TA from TABELA", "where NUM_TA='98'", "and COD_TA=:COD"});
    sqlPrazoPed.paramByName("COD").setAsString(codigo);
    sqlPrazoPed.open();
    std::optional<std::string> descricao;
    if (!sqlPrazoPed.eof()) descricao = sqlPrazoPed.fieldByName("DESC_TA").asString();
    sqlPrazoPed.close();
    return descricao;
}

// COD_TA of the first row of table "18" whose description is like `padrao`; empty when none.
std::string CodigoPrazoNota(sql::Query& sqlPrazoNota, const std::string& padrao) {
    DefinirTexto(sqlPrazoNota, {"select COD_TA ", "from TABELA", "where NUM_TA='18'", "and DESC_TA like :DESC"});
    sqlPrazoNota.paramByName("DESC").setAsString(padrao);
    sqlPrazoNota.open();
    std::string codigo;
    if (!sqlPrazoNota.eof()) codigo = sqlPrazoNota.fieldByName("COD_TA").asString();
    sqlPrazoNota.close();
    return codigo;
}

} // namespace

void TDM::BuscarPrazoTabela(const Value& tabPrazoPedido) {
    data::Field& prazoPed = cdsGera.fieldByName("PRAZOPED");

    if (!tabPrazoPedido.isNull() && !tabPrazoPedido.asString().empty()) {
        const std::string codigo = tabPrazoPedido.asString();
        if (auto descricao = DescricaoPrazoPedido(sqlPrazoPed, codigo)) prazoPed.setAsString(*descricao);
        cdsGera.fieldByName("TABPRAZO").setAsString(codigo); // the field keeps two characters
        return;
    }

    // "02 30/60 DDL%": the invoice's instalment count and term text, as table "18" writes them.
    const double parcelas = static_cast<double>(cdsGera.fieldByName("NUMPARC_NS").asInteger());
    std::string padrao = FormatFloat("00", parcelas) + " " + cdsGera.fieldByName("PRAZO_NS").asString() + "%";
    padrao = padrao.substr(0, TamanhoPadrao);

    const std::string codigo = CodigoPrazoNota(sqlPrazoNota, padrao);
    if (codigo.empty()) return;
    if (auto descricao = DescricaoPrazoPedido(sqlPrazoPed, codigo)) prazoPed.setAsString(*descricao);
}

} // namespace fat
