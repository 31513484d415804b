// The small rules of the save: which CFOPs generate receivables, cash invoices that still
// generate, the processed stamp, and the emptying of the pending list.
#include "datamodule/TDM.h"

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
                               "and SERIE_NS=:SER"});
    sqlAtuDtGera.paramByName("DATA").setAsDateTime(data);
    sqlAtuDtGera.paramByName("FIL").setAsInteger(filial);
    sqlAtuDtGera.paramByName("DOC").setAsString(numero);
    sqlAtuDtGera.paramByName("SER").setAsString(serie);
    sqlAtuDtGera.execSql();
}

void TDM::LimparNotasPendentes() {
    ApagarRegistros(cdsGera);
    ApagarRegistros(cdsItens);
}

} // namespace fat
