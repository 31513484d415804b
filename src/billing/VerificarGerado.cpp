// Whether something was already generated for an invoice under the derived branch: a copy of
// it, or a receivable issued on or after it that is not on a collection list yet.
#include "datamodule/TDM.h"

namespace fat {

std::string TDM::VerificarGerado(const std::string& numero, const std::string& serie, TDateTime emissao) {
    if (sqlNF100.lines().empty()) sqlNF100.setLines({"select * from NOTASAI", "where FILIAL_NS=:FILGERA", "and DOCTO_NS=:DOC", "and SERIE_NS=:SER"});
    sqlNF100.paramByName("FILGERA").setAsInteger(FilGera);
    sqlNF100.paramByName("DOC").setAsString(numero);
    sqlNF100.paramByName("SER").setAsString(serie);
    sqlNF100.open();
    const bool copia = !sqlNF100.eof();
    sqlNF100.close();
    if (copia) return "S";

    std::string resultado = "N";
    if (sqlDup.lines().empty()) sqlDup.setLines({"select * from DUPLICATAS", "where NUM_DP=:NUM", "and FILIAL_DP=:FILGERA"});
    sqlDup.paramByName("NUM").setAsString(numero);
    sqlDup.paramByName("FILGERA").setAsInteger(FilGera);
    for (sqlDup.open(); !sqlDup.eof(); sqlDup.next()) {
        if (sqlDup.fieldByName("EMISSAO_DP").asDateTime() >= emissao && sqlDup.fieldByName("DTROMANEIO_DP").isNull()) {
            resultado = "S";
            break;
        }
    }
    sqlDup.close();
    return resultado;
}

} // namespace fat
