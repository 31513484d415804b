#pragma once
#include <string>

namespace fat {

// One item of a loaded sales order with its computed values.
struct TItemPedido {
    double Preco = 0;            // PRECO_BRUTO_IT with gross prices, else PRECO_IT
    double TotalPares = 0;       // sum of the size-grid quantities; 0 without grid rows
    double VrDescto = 0;         // VRDESCTO_IT: item discount, money per unit
    double VrDesctoComis = 0;    // VR_DESCTO_COMIS_IT: commission discount per unit
    double VrDesctoPromocao = 0; // VR_DESCTO_PROMOCAO_IT: promotion discount per unit
    double PDescto = 0;          // PDESCTO_IT: item discount, percent of the unit price
    double ValorLiquido = 0;     // net value of the line, after every discount
    double ValorBruto = 0;       // gross value of the line (abated with gross prices)
    double RateioVrDescto = 0;   // the item's share of the order's money discount
    std::string Item;            // ITEM_IT: key of ObterItem
    std::string NF;              // NF_IT: invoice the item was billed on
};

} // namespace fat
