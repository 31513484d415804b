// The item copies of the current copy of cdsNFVrDif built again from the sales orders of its
// source invoice: one copy row per product and unit price, numbered across all the orders, with
// the items' gross values and the orders' invoice discounts summed for the new value.
#include "datamodule/TDM.h"

#include "billing/CopiarItensRegras.h"
#include "platform/data/DataSetGuards.h"
#include "salesorder/TPedVenda.h"

namespace fat {
namespace {

const std::vector<std::string>& LinhasItensPedido() {
    static const std::vector<std::string> linhas = {
        "select PEDIDO_IT, ITEM_IT, PROD_IT, PRODCLI_IT, PADRON_IT, PRECO_IT, ROYALTY_IT, PRECO_BRUTO_IT, NF_IT, "
        "VRDESCTO_IT, PDESCTO_IT, TP_COMIS_IT, PERC_COMIS_IT, PERC_COMIS_FAT_IT, p.vrdescto_pv, PR.UN_PR",
        "from ITENSPV i",
        "left join pedvenda p on p.num_pv = i.pedido_it",
        "left join PRODUTO PR on PR.COD_PR = I.PROD_IT",
        "where PEDIDO_IT = :PED and DTFATUR_IT = :DTFAT and FILIAL_IT = :FIL and NF_IT = :NF and SERIE_IT = :SERIE",
    };
    return linhas;
}

// The branch of the source invoice: the copy's branch divided by 100, truncated.
std::int64_t FilialOrigem(const data::ClientDataSet& lista) { return lista.fieldByName("FILIAL_NS").asInteger() / 100; }

} // namespace

void TDM::RecriarItensNota() {
    ContadorItem = 0;
    TotalBruto = Amount();
    TotalDesconto = Amount();
    DefinirTextoNotaPed();
    sqlNotaPed.close();
    sqlNotaPed.paramByName("DOC").setAsString(cdsNFVrDif.fieldByName("DOCTO_NS").asString());
    sqlNotaPed.paramByName("SERIE").setAsString(cdsNFVrDif.fieldByName("SERIE_NS").asString());
    sqlNotaPed.paramByName("FIL").setAsInteger(FilialOrigem(cdsNFVrDif));
    billing::ConsultaAberta pedidos(sqlNotaPed);
    for (sqlNotaPed.open(); !sqlNotaPed.eof(); sqlNotaPed.next())
        RecriarItensPedido(sqlNotaPed.fieldByName("NUMPED_NP").asString());
}

void TDM::RecriarItensPedido(const std::string& pedido) {
    const data::ClientDataSet& copia = cdsNFVrDif;
    const std::string docto = copia.fieldByName("DOCTO_NS").asString();
    const std::string serie = copia.fieldByName("SERIE_NS").asString();
    const TDateTime emissao = copia.fieldByName("EMISSAO_NS").asDateTime();
    const std::string prazo = copia.fieldByName("PRAZO_NF_CONTAB").asString();

    billing::CarregarModelos(*this, pedido);
    sqlItensPv.close();
    if (sqlItensPv.lines() != LinhasItensPedido()) sqlItensPv.setLines(LinhasItensPedido());
    sqlItensPv.paramByName("PED").setAsString(pedido);
    sqlItensPv.paramByName("FIL").setAsInteger(FilialOrigem(copia));
    sqlItensPv.paramByName("NF").setAsString(docto);
    sqlItensPv.paramByName("SERIE").setAsString(serie);
    sqlItensPv.paramByName("DTFAT").setAsDateTime(emissao);

    billing::ConsultaAberta itens(sqlItensPv);
    data::ClientDataSet& c = cdsItensNS;
    for (sqlItensPv.open(); !sqlItensPv.eof(); sqlItensPv.next()) {
        const auto coluna = [this](const char* nome) -> const Value& { return sqlItensPv.fieldByName(nome); };
        const std::string item = coluna("ITEM_IT").asString();
        const TItemPedido G = PedVendaBruto->ObterItem(item);
        const TItemPedido L = PedVendaLiquido->ObterItem(item);
        // A zero quantity would make the unit prices infinite: nothing of this copy is written.
        billing::ExigirQuantidade(G.TotalPares, pedido, item);
        const Amount NL = Amount::fromDouble(L.ValorLiquido);
        const Amount VB = Amount::fromDouble(G.ValorBruto);
        const Amount NB = Amount::fromDouble(G.ValorLiquido);
        const double Q = G.TotalPares;
        const Amount UB = billing::Dividir(VB, Q);
        const Amount UD = billing::Dividir(NB - NL, Q);
        TotalBruto += VB;
        const bool parcial = GeraParcialReprocessa(UD, UB, prazo);
        const Amount P = NOME_EMPRESA != "MIRCA" && parcial ? UD : UB;

        // Merged by the order's product code: a copy under the customer's code is never found.
        const std::string produto = coluna("PROD_IT").asString();
        data::PendingEditCancel pendente(c);
        if (c.locate("DOCTO_SA;PROD_SA;PRECO_SA",
                     {Value::fromString(docto), Value::fromString(produto), Value::fromFloat(P.toDouble())},
                     data::LocateOptions{.caseInsensitive = true})) {
            c.edit();
            data::Field& qtde = c.fieldByName("QTDE_SA");
            qtde.setAsFloat(qtde.asFloat() + Q);
        } else {
            ++ContadorItem;
            c.append();
            c.fieldByName("FILIAL_SA").setAsInteger(copia.fieldByName("FILIAL_NS").asInteger());
            c.fieldByName("DOCTO_SA").setAsString(docto);
            c.fieldByName("SERIE_SA").setAsString(serie);
            c.fieldByName("DATA_SA").setAsDateTime(emissao);
            c.fieldByName("ITEM_SA").setAsInteger(ContadorItem);
            const std::string produtoCliente = coluna("PRODCLI_IT").asString();
            const std::string codigo = produtoCliente.empty() ? produto : produtoCliente;
            c.fieldByName("PROD_SA").setAsString(codigo);
            c.fieldByName("COD_PROD_SA").setAsString(codigo);
            c.fieldByName("COD_PADRON_SA").setAsString(coluna("PADRON_IT").asString());
            c.fieldByName("UN_SA").setAsString(coluna("UN_PR").asString());
            c.fieldByName("QTDE_SA").setAsFloat(Q);
            c.fieldByName("PRECO_SA").setAsFloat(P.toDouble());
            c.fieldByName("PRECO_BRUTO_SA").setAsFloat(UB.toDouble());
            billing::DefinirComissoes(c, sqlItensPv);
        }
        // Under partial billing the copy carries the part the invoice did not bill.
        data::Field& real = c.fieldByName("PRREAL_SA");
        real.setAsFloat((real.asAmount() + (parcial ? NB - NL : NB)).toDouble());
        c.fieldByName("VRDESCTO_SA").setAsFloat(0);
        if (Parametros.PreencherRoyalty) c.fieldByName("ROYALTY_SA").setValue(coluna("ROYALTY_IT"));
        c.post();
    }
    TotalDesconto += Amount::fromDouble(PedVendaBruto->ValorDescontoNota(docto));
}

} // namespace fat
