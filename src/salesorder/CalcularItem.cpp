// The computation of a loaded order's items: gross value, abatement, item discounts and the
// order discounts by the company rule.
#include "salesorder/TPedVenda.h"

#include "salesorder/ArredondarCasas.h"
#include "salesorder/ComporDesconto.h"

namespace fat {

namespace {

const char* const EmpresaMIRCA = "MIRCA";

double R2(double v) { return ArredondarCasas(v, 2); }

} // namespace

bool TPedVenda::EmpresaMirca() const { return NomeEmpresa() == EmpresaMIRCA; }

bool TPedVenda::AplicarDescontosPedido() const {
    return Pedido_.DesctoAprovado != "N" || UsarPrecoBruto_;
}

void TPedVenda::CalcularItens() {
    double rest = Pedido_.VrDesctoPv;
    for (auto& item : Itens_) {
        item = CalcularItem(item);
        rest = rest - item.RateioVrDescto;
    }
    // The rounding residual of the money discount goes to the first item. An order whose
    // discounts are not applied (not approved, net prices) has no money discount to place.
    if (rest != 0 && !Itens_.empty() && AplicarDescontosPedido())
        Itens_.front().ValorLiquido = Itens_.front().ValorLiquido - rest;
}

TItemPedido TPedVenda::CalcularItem(TItemPedido item) const {
    const double q = item.TotalPares;
    const double p = item.Preco;

    // Gross value.
    double B = q * p;

    // Abatement of the price table, gross prices only.
    if (UsarPrecoBruto_) {
        double L = B;
        if (Pedido_.PAbatTab > 0) L = L - R2(B * Pedido_.PAbatTab / 100);
        if (Pedido_.VrAbatTab > 0 && Pedido_.TotalPedidoBruto > 0)
            L = L - R2(B * Pedido_.VrAbatTab / Pedido_.TotalPedidoBruto);
        B = L;
    }

    // Item discounts per unit.
    double N = B - q * item.VrDescto - q * item.VrDesctoComis;

    // Promotion discount, unless switched off ("N"; empty applies it).
    if (Pedido_.AplicarVrDesctoPromocao != "N") N = N - R2(q * item.VrDesctoPromocao);

    // Item percentage.
    if (item.PDescto > 0) {
        const double u = p - p * item.PDescto / 100;
        N = N - (B - u * q);
    }

    // Order discounts by the company rule.
    if (AplicarDescontosPedido())
        N = EmpresaMirca() ? DescontosPedidoMirca(N) : DescontosPedidoPadrao(item, B, N);

    item.ValorLiquido = N;
    item.ValorBruto = B;
    return item;
}

// MIRCA: the percentages are taken on the net value less the whole money discount; the
// money discount itself is not shared out (the residual step takes it from the first item).
double TPedVenda::DescontosPedidoMirca(double N) const {
    double base = N - Pedido_.VrDesctoPv;
    if (Pedido_.DesctoPv > 0) {
        const double d = R2(base * Pedido_.DesctoPv / 100);
        N = N - d;
        base = base - d;
    }
    if (Pedido_.PDesctoTab > 0) N = N - R2(base * Pedido_.PDesctoTab / 100);
    return N;
}

// Every other company: the composed percentage on the unit price after item discounts,
// then the item's share of the money discount by its part of the net-price total.
double TPedVenda::DescontosPedidoPadrao(TItemPedido& item, double B, double N) const {
    const double q = item.TotalPares;
    const double p = item.Preco;
    const double u2 = R2((p - item.VrDescto) - item.PDescto * p / 100);
    const double A0 = u2 * q;
    if (Pedido_.DesctoPv > 0 || Pedido_.PDesctoTab > 0) {
        const double c = ComporDesconto(Pedido_.DesctoPv, Pedido_.PDesctoTab);
        const double A1 = (u2 - u2 * c / 100) * q;
        N = N - (A0 - A1);
    }
    if (Pedido_.VrDesctoPv > 0 && Pedido_.TotalPedido > 0) {
        const double s = R2(B * Pedido_.VrDesctoPv / Pedido_.TotalPedido);
        item.RateioVrDescto = s;
        N = N - s;
    }
    return N;
}

} // namespace fat
