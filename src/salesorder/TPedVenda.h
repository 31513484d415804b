#pragma once
#include "platform/sql/Query.h"
#include "salesorder/TItemPedido.h"
#include "salesorder/TPedido.h"

#include <string>
#include <vector>

namespace fat {

// The sales order model: loads one order with its items and size-grid quantities and works
// out every item's gross value and its net value after the item and order discounts.
// The data module keeps two of them, one loaded with gross and one with net prices.
class TPedVenda {
public:
    // The connection is not owned. Opens the company query (its name decides the company
    // rule for the life of the object); loads nothing.
    explicit TPedVenda(sql::Connection& connection);
    TPedVenda(const TPedVenda&) = delete;
    TPedVenda& operator=(const TPedVenda&) = delete;

    // Loads the order and computes its items. A number that no order has leaves no items
    // and a TPedido of zeros. On failure the previous load stays as it was.
    void CarregarPedido(const std::string& pedido, bool usarPrecoBruto);

    // A copy of the first item whose number equals `item` exactly. Raises Error naming
    // the item and the order when the loaded order has no such item.
    TItemPedido ObterItem(const std::string& item) const;

    // Discount of the items billed on invoice `nf`: the gross sum minus the net sum, each
    // rounded to 2 decimals; 0 when no item carries that invoice.
    double ValorDescontoNota(const std::string& nf) const;

    bool UsarPrecoBruto() const { return UsarPrecoBruto_; }
    const TPedido& Pedido() const { return Pedido_; }
    const std::vector<TItemPedido>& Itens() const { return Itens_; }
    // NOME_EMPRESA as CONFIG held it when the object was made.
    std::string NomeEmpresa() const;

private:
    sql::Connection& Connection_;
    sql::Query sqlEmpresa;
    sql::Query sqlPedido;
    sql::Query sqlItens;

    std::string NumPedido_;
    bool UsarPrecoBruto_ = false;
    TPedido Pedido_;
    std::vector<TItemPedido> Itens_;

    void LerPedido();
    void AdicionarItem(const TItemPedido& item);
    void CalcularItens();
    TItemPedido CalcularItem(TItemPedido item) const;

    // Order discounts apply unless they are not approved in the net-price instance.
    bool AplicarDescontosPedido() const;
    bool EmpresaMirca() const;
    // The two company rules for the order discounts of one item (net value N, gross value B).
    double DescontosPedidoMirca(double N) const;
    double DescontosPedidoPadrao(TItemPedido& item, double B, double N) const;
};

} // namespace fat
