#pragma once
#include <string>

namespace fat {

// The configuration parameters of group "GERADUP" as last loaded (texts after the INI
// defaults) and the values derived from them. Named by their PARAM key.
struct TParametros {
    std::string FIL_CODIGO;
    std::string DUP_CAPRES_GERARPARCIAL;
    std::string DUP_AVISTA_GERARPARCIAL;
    std::string DUP_AVISTA_GERAR_PARCIAL_NOVO;
    std::string SUF_DESCTO_SUFRAMA;
    std::string VAL_DESCTO_PEDIDO;
    std::string VAL_DESCTO_PEDIDO_COMPOSTO;
    std::string VAL_DESCTO_ITEM_PEDIDO;
    std::string DUP_ORDDUP;
    std::string PRBRUTO_FATOR;
    std::string DUP_DATA_INICIO_PARCELAS;
    std::string DUP_GERAR_NF_AVISTA;
    std::string DUP_VENCIMENTO_DIAS_UTEIS;
    std::string NF_EXCETO_CFOP;
    std::string PED_FILTRAR_ITEM_COM_ROMANEIO;
    std::string GERAR_ITENS_FORMA_AGRUP_NF;
    std::string SIT_DUPLICATA_PADRAO;
    std::string PREENCHER_ROYALTY;

    // Flags: true exactly when the text is "S".
    bool VencimentoDiasUteis = false;
    bool FiltrarItemComRomaneio = false;
    bool GerarItensFormaAgrupNF = false;
    bool PreencherRoyalty = false;
};

} // namespace fat
