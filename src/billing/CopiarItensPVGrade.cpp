// Item copies from size-grid rows: one copy per product (and variant, and size, as the invoice's
// grouping form says) and price of the order's items billed on the invoice, each size taking its
// share of its item's values.
#include "datamodule/TDM.h"

#include "billing/CopiarItensRegras.h"
#include "platform/data/DataSetGuards.h"
#include "salesorder/TPedVenda.h"

namespace fat {
namespace {

const std::vector<std::string>& TextoItensPVGrade() {
    static const std::vector<std::string> linhas = {
        "SELECT G.PEDIDO_IT, G.ITEM_IT, PADRON_IT, G.TAM_IT, G.QTPED_IT, PRECO_IT, PRECO_BRUTO_IT, ROYALTY_IT,",
        "VRDESCTO_IT, PDESCTO_IT, TP_COMIS_IT, VR_COMIS_IT, PERC_COMIS_IT, PERC_COMIS_FAT_IT, P.VRDESCTO_PV, PR.UN_PR,",
        "IIF(I.PRODCLI_IT <> '', I.PRODCLI_IT, I.PROD_IT) COD_PROD,",
        "CASE WHEN I.PRODCLI_IT <> '' THEN IIF(PC.DESCNF_PR <> '', PC.DESCNF_PR, PC.DESC_PR) ELSE "
        "IIF(PR.DESCNF_PR <> '', PR.DESCNF_PR, PR.DESC_PR) END DESC_PROD,",
        "(SELECT DESC_PP FROM PADRONIZ_PRODUTO PP WHERE PP.PROD_PP = IIF(I.PRODCLI_IT <> '', I.PRODCLI_IT, I.PROD_IT) "
        "AND PP.PADRONIZ_PP = I.PADRON_IT) DESC_PADRON",
        "FROM ITENSPVGRADE G",
        "INNER JOIN ITENSPV I ON I.PEDIDO_IT = G.PEDIDO_IT AND I.ITEM_IT = G.ITEM_IT INNER JOIN PEDVENDA P ON P.NUM_PV = "
        "I.PEDIDO_IT",
        "LEFT JOIN PRODUTO PR ON PR.COD_PR = I.PROD_IT LEFT JOIN PRODUTO PC ON PC.COD_PR = I.PRODCLI_IT",
        "WHERE G.PEDIDO_IT = :PED AND SERIE_IT = :SER AND FILIAL_IT = :FIL AND NF_IT = :NF",
        "ORDER BY G.PEDIDO_IT, G.ITEM_IT, G.TAM_IT",
    };
    return linhas;
}

// The composed product code and description of a new copy, by grouping mode.
struct ProdutoComposto {
    std::string codigo;
    std::string descricao;
};

ProdutoComposto Compor(int modo, const std::string& produto, const std::string& variante, const std::string& tamanho,
                       const std::string& descProduto, const std::string& descVariante) {
    switch (modo) {
    case 2: return {produto + "." + variante + "." + tamanho, descProduto + " " + descVariante + " " + tamanho};
    case 1: return {produto + variante, descProduto + " " + descVariante};
    default: return {produto, descProduto};
    }
}

} // namespace

int TDM::FormaAgrupamento(const std::string& forma) {
    if (forma.find("TAM") != std::string::npos) return 2; // product, variant and size
    if (forma.find("PAD") != std::string::npos) return 1; // product and variant
    return 0;                                             // product only
}

Amount TDM::CopiarItensPVGrade(const std::string& pedido, const std::string& nota, const std::string& serie,
                               int filial, TDateTime emissao) {
    billing::CarregarModelos(*this, pedido);
    const int M = FormaAgrupamento(cdsGera.fieldByName("FORMA_AGRUP_ITENS_NS").asString());
    billing::PrepararConsulta(sqlItensPv, TextoItensPVGrade(), pedido, nota, serie, filial);

    int k = 0;
    Amount G;
    billing::ConsultaAberta consulta(sqlItensPv);
    for (sqlItensPv.open(); !sqlItensPv.eof(); sqlItensPv.next()) {
        const auto coluna = [this](const char* nome) -> const Value& { return sqlItensPv.fieldByName(nome); };
        const std::string item = coluna("ITEM_IT").asString();
        const std::string C = coluna("COD_PROD").asString();
        const std::string V = M >= 1 ? coluna("PADRON_IT").asString() : std::string();
        const std::string T = M == 2 ? coluna("TAM_IT").asString() : std::string();
        const double Q = coluna("QTPED_IT").asFloat();
        const TItemPedido b = PedVendaBruto->ObterItem(item);
        const TItemPedido l = PedVendaLiquido->ObterItem(item);
        const double o = b.TotalPares; // the item's whole quantity
        billing::ExigirQuantidade(o, pedido, item);
        billing::ExigirQuantidade(Q, pedido, item);
        // The size's share of its item's values: divided by the whole quantity, then times its own.
        const billing::ValoresLinha v{Q, Amount::fromDouble(b.ValorBruto / o * Q),
                                      Amount::fromDouble(b.ValorLiquido / o * Q),
                                      Amount::fromDouble(l.ValorLiquido / o * Q)};
        const billing::PrecosCopia precos = billing::CalcularPrecos(*this, v);

        // R4.
        data::PendingEditCancel pendente(cdsItens);
        if (billing::LocalizarCopia(*this, "FILIAL_NF;DOCTO_SA;SERIE_SA;COD_PROD_SA;COD_PADRON_SA;TAMANHO_SA;PRECO_SA",
                                    {Value::fromInteger(filial), Value::fromString(nota), Value::fromString(serie),
                                     Value::fromString(C), Value::fromString(V), Value::fromString(T)},
                                    precos.P)) {
            cdsItens.edit();
        } else {
            // R5, R6.
            billing::NovaCopia(*this, ++k, nota, serie, filial, emissao, coluna("UN_PR").asString(), precos);
            const ProdutoComposto composto =
                Compor(M, C, V, T, coluna("DESC_PROD").asString(), coluna("DESC_PADRON").asString());
            cdsItens.fieldByName("PROD_SA").setAsString(composto.codigo);
            cdsItens.fieldByName("DESC_SA").setAsString(composto.descricao);
            cdsItens.fieldByName("COD_PROD_SA").setAsString(C);
            cdsItens.fieldByName("COD_PADRON_SA").setAsString(V);
            cdsItens.fieldByName("TAMANHO_SA").setAsString(T);
            billing::DefinirComissoes(cdsItens, sqlItensPv);
        }
        data::Field& qtde = cdsItens.fieldByName("QTDE_SA");
        qtde.setAsFloat(qtde.asFloat() + Q); // R7: a new copy starts from 0
        billing::SomarValorReal(*this, v);   // R8, R9
        if (Parametros.PreencherRoyalty)     // R10
            cdsItens.fieldByName("ROYALTY_SA").setAsFloat(coluna("ROYALTY_IT").asFloat());
        cdsItens.post();
        G += v.VB;
    }
    return billing::FecharPedido(*this, G, nota); // R11, R12
}

} // namespace fat
