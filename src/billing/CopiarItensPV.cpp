// Item copies from order items: one copy per product and price of the order's items billed on
// the invoice, merged with the copies this load already made for the same invoice.
#include "datamodule/TDM.h"

#include "billing/CopiarItensRegras.h"
#include "platform/data/DataSetGuards.h"
#include "salesorder/TPedVenda.h"

namespace fat {
namespace {

const std::vector<std::string>& TextoItensPV() {
    static const std::vector<std::string> linhas = {
        "select PEDIDO_IT, ITEM_IT, PROD_IT, PRODCLI_IT, PADRON_IT, PRECO_IT, PRECO_BRUTO_IT, NF_IT, VRDESCTO_IT, "
        "PDESCTO_IT, TP_COMIS_IT, VR_COMIS_IT, PERC_COMIS_IT, PERC_COMIS_FAT_IT, p.vrdescto_pv, PR.UN_PR",
        "from ITENSPV i",
        "left join pedvenda p on p.num_pv = i.pedido_it",
        "left join PRODUTO PR on PR.COD_PR = I.PROD_IT",
        "where PEDIDO_IT = :PED and SERIE_IT = :SER and FILIAL_IT = :FIL and NF_IT = :NF",
    };
    return linhas;
}

} // namespace

Amount TDM::CopiarItensPV(const std::string& pedido, const std::string& nota, const std::string& serie, int filial,
                          TDateTime emissao) {
    billing::CarregarModelos(*this, pedido);
    billing::PrepararConsulta(sqlItensPv, TextoItensPV(), pedido, nota, serie, filial);

    int k = 0;
    Amount G;
    billing::ConsultaAberta consulta(sqlItensPv);
    for (sqlItensPv.open(); !sqlItensPv.eof(); sqlItensPv.next()) {
        const auto coluna = [this](const char* nome) -> const Value& { return sqlItensPv.fieldByName(nome); };
        const std::string item = coluna("ITEM_IT").asString();
        const TItemPedido b = PedVendaBruto->ObterItem(item);
        const TItemPedido l = PedVendaLiquido->ObterItem(item);
        billing::ExigirQuantidade(b.TotalPares, pedido, item);
        const billing::ValoresLinha v{b.TotalPares, Amount::fromDouble(b.ValorBruto),
                                      Amount::fromDouble(b.ValorLiquido), Amount::fromDouble(l.ValorLiquido)};
        const billing::PrecosCopia precos = billing::CalcularPrecos(*this, v);

        // R4: merged by the order's product code; a copy that carries the customer's code is
        // thus never found.
        const std::string produto = coluna("PROD_IT").asString();
        data::PendingEditCancel pendente(cdsItens);
        if (billing::LocalizarCopia(*this, "FILIAL_NF;DOCTO_SA;SERIE_SA;PROD_SA;PRECO_SA",
                                    {Value::fromInteger(filial), Value::fromString(nota), Value::fromString(serie),
                                     Value::fromString(produto)},
                                    precos.P)) {
            cdsItens.edit();
            data::Field& qtde = cdsItens.fieldByName("QTDE_SA");
            qtde.setAsFloat(qtde.asFloat() + v.Q); // R7
        } else {
            // R5, R6.
            billing::NovaCopia(*this, ++k, nota, serie, filial, emissao, coluna("UN_PR").asString(), precos);
            const std::string produtoCliente = coluna("PRODCLI_IT").asString();
            const std::string codigo = produtoCliente.empty() ? produto : produtoCliente;
            cdsItens.fieldByName("PROD_SA").setAsString(codigo);
            cdsItens.fieldByName("COD_PROD_SA").setAsString(codigo);
            cdsItens.fieldByName("COD_PADRON_SA").setAsString(coluna("PADRON_IT").asString());
            cdsItens.fieldByName("QTDE_SA").setAsFloat(v.Q);
            billing::DefinirComissoes(cdsItens, sqlItensPv);
        }
        billing::SomarValorReal(*this, v); // R8, R9
        cdsItens.post();
        G += v.VB;
    }
    return billing::FecharPedido(*this, G, nota); // R11, R12
}

} // namespace fat
