#pragma once
#include <string>

namespace fat {

// Order-level values of a loaded sales order (PEDVENDA and its SQL totals). A null column
// reads as 0, a null text as empty.
struct TPedido {
    double TotalPedido = 0;            // TOTAL_PEDIDO: total at net prices
    double TotalPedidoBruto = 0;       // TOTAL_PEDIDO_BRUTO: total at gross prices
    double DesctoPv = 0;               // DESCTO_PV: order discount, percent
    double VrDesctoPv = 0;             // VRDESCTO_PV: order discount, money, whole order
    std::string DesctoAprovado;        // DESCTO_APROVADO_PV: "N" = order discounts not approved
    double PDesctoTab = 0;             // PDESCTO_TAB_PV: price-table discount, percent
    double PAbatTab = 0;               // PABAT_TAB_PV: price-table abatement, percent
    double VrAbatTab = 0;              // VRABAT_TAB_PV: price-table abatement, money, whole order
    std::string AplicarVrDesctoPromocao; // APLICAR_VR_DESCTO_PROMOCAO_PV: "N" = no promotion discount
};

} // namespace fat
