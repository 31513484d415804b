#include "salesorder/TPedVenda.h"

#include "salesorder/ArredondarCasas.h"
#include "platform/core/Errors.h"
#include "platform/sql/Connection.h"

namespace fat {

namespace {

const std::vector<std::string> TextoEmpresa = {"SELECT NOME_EMPRESA FROM CONFIG"};

// The two totals leave out cancelled items.
const std::vector<std::string> TextoPedido = {
    "SELECT P.DESCTO_PV, P.VRDESCTO_PV, P.PDESCTO_TAB_PV, P.DESCTO_APROVADO_PV, P.PABAT_TAB_PV, P.VRABAT_TAB_PV, P.APLICAR_VR_DESCTO_PROMOCAO_PV,",
    "(SELECT SUM(I.preco_it * ( SELECT SUM(G.qtped_it) FROM ITENSPVGRADE G WHERE G.pedido_it = I.pedido_it AND G.item_it = I.item_it))",
    "FROM ITENSPV I WHERE I.pedido_it = P.num_pv AND I.SIT_IT <> 'C' AND (I.STATUS_IT <> 'C' OR I.STATUS_IT IS NULL)) AS TOTAL_PEDIDO,",
    "(SELECT SUM(I.preco_bruto_it * ( SELECT SUM(G.qtped_it) FROM ITENSPVGRADE G WHERE G.pedido_it = I.pedido_it AND G.item_it = I.item_it))",
    "FROM ITENSPV I WHERE I.pedido_it = P.num_pv AND I.SIT_IT <> 'C' AND (I.STATUS_IT <> 'C' OR I.STATUS_IT IS NULL)) AS TOTAL_PEDIDO_BRUTO",
    "FROM PEDVENDA P WHERE P.num_pv = :pedido",
};

// Every item, cancelled ones included; no ordering.
const std::vector<std::string> TextoItens = {
    "SELECT I.ITEM_IT, I.VRDESCTO_IT, I.PDESCTO_IT, I.PRECO_IT, I.PRECO_BRUTO_IT, I.SIT_IT, I.STATUS_IT, I.NF_IT, I.MULTGRADE_IT, I.VR_DESCTO_COMIS_IT, I.VR_DESCTO_PROMOCAO_IT,",
    "(SELECT SUM(G.QTPED_IT) FROM ITENSPVGRADE G WHERE G.PEDIDO_IT = I.PEDIDO_IT AND G.ITEM_IT = I.ITEM_IT) AS TOTAL_PARES,",
    "(SELECT COUNT(*) FROM ITENSPV_EMBALAGEM E WHERE E.PEDIDO_IT = I.PEDIDO_IT AND E.ITEM_IT = I.ITEM_IT) AS TOTAL_EMB",
    "FROM ITENSPV I WHERE I.PEDIDO_IT = :PEDIDO",
};

double Numero(const sql::Query& q, const char* campo) { return q.fieldByName(campo).asFloat(); }
std::string Texto(const sql::Query& q, const char* campo) { return q.fieldByName(campo).asString(); }

} // namespace

TPedVenda::TPedVenda(sql::Connection& connection)
    : Connection_(connection), sqlEmpresa(Connection_), sqlPedido(Connection_), sqlItens(Connection_) {
    sqlEmpresa.setLines(TextoEmpresa);
    sqlEmpresa.open();
    sqlPedido.setLines(TextoPedido);
    sqlItens.setLines(TextoItens);
}

std::string TPedVenda::NomeEmpresa() const {
    // The query stays on its one row; without a CONFIG row the field reads as empty.
    return Texto(sqlEmpresa, "NOME_EMPRESA");
}

void TPedVenda::CarregarPedido(const std::string& pedido, bool usarPrecoBruto) {
    // A failure puts the previous load back, flag included, so that the model never holds
    // values computed under another flag than the one it reports.
    const std::string numeroAnterior = NumPedido_;
    const bool flagAnterior = UsarPrecoBruto_;
    const TPedido pedidoAnterior = Pedido_;
    const std::vector<TItemPedido> itensAnteriores = Itens_;
    try {
        UsarPrecoBruto_ = usarPrecoBruto;

        sqlPedido.close();
        sqlPedido.paramByName("pedido").setAsString(pedido);
        sqlPedido.open();
        sqlItens.close();
        sqlItens.paramByName("PEDIDO").setAsString(pedido);
        sqlItens.open();

        NumPedido_ = pedido;
        Itens_.clear();
        Pedido_ = TPedido{};

        LerPedido();
        CalcularItens();
    } catch (...) {
        try {
            sqlPedido.close();
            sqlItens.close();
        } catch (...) {
        }
        NumPedido_ = numeroAnterior;
        UsarPrecoBruto_ = flagAnterior;
        Pedido_ = pedidoAnterior;
        Itens_ = itensAnteriores;
        throw;
    }
}

void TPedVenda::LerPedido() {
    // One row for an existing order, none for a number that no order has.
    for (; !sqlPedido.eof(); sqlPedido.next()) {
        Pedido_.TotalPedido = Numero(sqlPedido, "TOTAL_PEDIDO");
        Pedido_.TotalPedidoBruto = Numero(sqlPedido, "TOTAL_PEDIDO_BRUTO");
        Pedido_.DesctoPv = Numero(sqlPedido, "DESCTO_PV");
        Pedido_.VrDesctoPv = Numero(sqlPedido, "VRDESCTO_PV");
        Pedido_.DesctoAprovado = Texto(sqlPedido, "DESCTO_APROVADO_PV");
        Pedido_.PDesctoTab = Numero(sqlPedido, "PDESCTO_TAB_PV");
        Pedido_.PAbatTab = Numero(sqlPedido, "PABAT_TAB_PV");
        Pedido_.VrAbatTab = Numero(sqlPedido, "VRABAT_TAB_PV");
        Pedido_.AplicarVrDesctoPromocao = Texto(sqlPedido, "APLICAR_VR_DESCTO_PROMOCAO_PV");
    }

    // Sums over every item at both prices, whatever the flag and the item's status.
    double SN = 0;
    double SB = 0;
    for (; !sqlItens.eof(); sqlItens.next()) {
        const double totalPares = Numero(sqlItens, "TOTAL_PARES");
        const double precoLiquido = Numero(sqlItens, "PRECO_IT");
        const double precoBruto = Numero(sqlItens, "PRECO_BRUTO_IT");

        TItemPedido item;
        item.Preco = UsarPrecoBruto_ ? precoBruto : precoLiquido;
        item.TotalPares = totalPares;
        item.VrDescto = Numero(sqlItens, "VRDESCTO_IT");
        item.VrDesctoComis = Numero(sqlItens, "VR_DESCTO_COMIS_IT");
        item.VrDesctoPromocao = Numero(sqlItens, "VR_DESCTO_PROMOCAO_IT");
        item.PDescto = Numero(sqlItens, "PDESCTO_IT");
        item.RateioVrDescto = 0;
        item.Item = Texto(sqlItens, "ITEM_IT");
        item.NF = Texto(sqlItens, "NF_IT");
        AdicionarItem(item);

        SN += totalPares * precoLiquido;
        SB += totalPares * precoBruto;
    }

    // Null SQL totals (every item cancelled, or no grid rows) fall back to the item sums.
    if (Pedido_.TotalPedido == 0) Pedido_.TotalPedido = SN;
    if (Pedido_.TotalPedidoBruto == 0) Pedido_.TotalPedidoBruto = SB;

    sqlPedido.close();
    sqlItens.close();
}

void TPedVenda::AdicionarItem(const TItemPedido& item) {
    for (auto& existente : Itens_) {
        if (existente.Item == item.Item) {
            existente = item;
            return;
        }
    }
    Itens_.push_back(item);
}

TItemPedido TPedVenda::ObterItem(const std::string& item) const {
    for (const auto& i : Itens_)
        if (i.Item == item) return i;
    // Every caller asks for items of the loaded order; a zero item would only turn into a
    // division by zero further on, so the miss is reported where it happens.
    throw Error("Item '" + item + "' is not in sales order '" + NumPedido_ + "'");
}

double TPedVenda::ValorDescontoNota(const std::string& nf) const {
    double SL = 0;
    double SB = 0;
    for (const auto& i : Itens_) {
        if (i.NF != nf) continue;
        SL += i.ValorLiquido;
        SB += i.ValorBruto;
    }
    return ArredondarCasas(SB, 2) - ArredondarCasas(SL, 2);
}

} // namespace fat
