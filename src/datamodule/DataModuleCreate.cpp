// The creation and destruction sequences of the data module.
#include "datamodule/TDM.h"

#include "platform/core/UserMessages.h"
#include "salesorder/TPedVenda.h"
#include "salesorder/TTabPreco.h"
#include "platform/core/Win1252.h"

namespace fat {

// The providers' update-error handlers are fixed: installed once, for the save and the
// reprocessing alike.
TDM::TDM() { LigarErrosAtualizacao(); }

TDM::~TDM() {
    try { DataModuleDestroy(); } catch (...) {}
}

void TDM::DataModuleCreate() {
    Conectar();
    CarregarParametros();
    AbrirTabelaPrazos();
    CriarPedidos();
    TabPreco = std::make_unique<TTabPreco>(sqlCon);

    sqlConfig.setLines({"select NOME_EMPRESA, TPFATUR, GERARCOPIADUP", "from CONFIG"});
    sqlConfig.open();
    NOME_EMPRESA = sqlConfig.fieldByName("NOME_EMPRESA").asString();
    TPFATUR = sqlConfig.fieldByName("TPFATUR").asString();
    GERARCOPIADUP = sqlConfig.fieldByName("GERARCOPIADUP").asString();

    PedVendaBruto = std::make_unique<TPedVenda>(sqlCon);
    PedVendaLiquido = std::make_unique<TPedVenda>(sqlCon);

    DescontosInvalidos = !VerificarConfiguracaoDescontos();
}

bool TDM::VerificarConfiguracaoDescontos() {
    if (Parametros.VAL_DESCTO_PEDIDO == "N" && Parametros.VAL_DESCTO_ITEM_PEDIDO == "S") {
        ShowMessageBox(MessageIcon::Error,
                       Win1252("Erro na configuração dos descontos [VALOR], não permitindo desconto no item "
                               "sem a opção de desconto no pedido.\r\rEntre em contato com o Suporte Técnico."));
        return false;
    }
    return true;
}

void TDM::DataModuleDestroy() {
    TabPreco.reset();
    PedVendaBruto.reset();
    PedVendaLiquido.reset();
    sqlConfig.close();
    sqlCon.close();
}

} // namespace fat
