// The small rules of the save: which CFOPs generate receivables, cash invoices that still
// generate, the processed stamp, and the emptying of the pending list.
#include "datamodule/TDM.h"

#include "platform/core/Errors.h"
#include "platform/core/Win1252.h"

namespace fat {

bool TDM::CfopGeraDuplicata() {
    const std::string cfop = cdsGera.fieldByName("CFOP_NS").asString();
    if (cfop.size() >= 2 && cfop[1] == '1') return true;
    const std::string operacao = cfop.size() >= 2 ? cfop.substr(1, 3) : std::string();
    return operacao == "501" || operacao == "922";
}

bool TDM::GeraNotaAVista() {
    return Parametros.DUP_GERAR_NF_AVISTA == "S" &&
           cdsGera.fieldByName("PRAZO_NS").asString().find("A VISTA") != std::string::npos;
}

void TDM::AtualizarDataGeracao(int filial, const std::string& numero, const std::string& serie, TDateTime data) {
    if (sqlAtuDtGera.lines().empty())
        sqlAtuDtGera.setLines({"update NOTASAI", "set DTGERACONT_NS=:DATA", "where FILIAL_NS=:FIL", "and DOCTO_NS=:DOC",
                               "and SERIE_NS=:SER", "and DTGERACONT_NS is null"});
    sqlAtuDtGera.paramByName("DATA").setAsDateTime(data);
    sqlAtuDtGera.paramByName("FIL").setAsInteger(filial);
    sqlAtuDtGera.paramByName("DOC").setAsString(numero);
    sqlAtuDtGera.paramByName("SER").setAsString(serie);
    // Only a row still pending is stamped: one that another workstation stamped or wrote off
    // after this load must not be generated again nor lose that user's stamp, so the whole save
    // stops and rolls back.
    if (sqlAtuDtGera.execSql() != 1)
        throw Error(Win1252("A nota fiscal ") + numero + Win1252(" série ") + serie + Win1252(" da filial ") +
                    std::to_string(filial) +
                    Win1252(" já foi processada em outra estação depois de carregada. Nada foi gravado: abra as "
                            "notas pendentes novamente."));
}

void TDM::LimparNotasPendentes() {
    ApagarRegistros(cdsGera);
    ApagarRegistros(cdsItens);
}

} // namespace fat
