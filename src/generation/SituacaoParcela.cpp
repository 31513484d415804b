// The situation code of one instalment: the plan row of the invoice (its branch, number and
// series) with that day count, else the invoice's SITDUP.
#include "datamodule/TDM.h"

namespace fat {

std::string TDM::SituacaoParcela(int dias) {
    std::string situacao = cdsGera.fieldByName("SITDUP").asString();
    if (cdsPrazos.active() && !cdsPrazos.isEmpty() &&
        cdsPrazos.locate("FILIALNF;NUMNF;SERIENF;DIAS",
                         {cdsGera.fieldByName("FILIAL_NS").value(), cdsGera.fieldByName("DOCTO_NS").value(),
                          cdsGera.fieldByName("SERIE_NS").value(), Value::fromInteger(dias)}))
        situacao = cdsPrazos.fieldByName("SIT").asString();
    return situacao;
}

} // namespace fat
