// The item copies of one sales order on the current pending invoice, by the way the parameter
// GERAR_ITENS_FORMA_AGRUP_NF chooses.
#include "datamodule/TDM.h"

namespace fat {

Amount TDM::CopiarItensPedido(const std::string& pedido, const std::string& nota, const std::string& serie,
                              int filial, TDateTime emissao) {
    if (Parametros.GerarItensFormaAgrupNF) return CopiarItensPVGrade(pedido, nota, serie, filial, emissao);
    return CopiarItensPV(pedido, nota, serie, filial, emissao);
}

} // namespace fat
