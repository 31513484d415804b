#pragma once
#include <string>

namespace fat::db {

struct DemoOrder;

// Rounds half away from zero to cents after removing the noise of the float (the value times
// 100 is read back from its 15 significant digits first): 2.675 gives 2.68.
double RoundCents(double value);

// Sets netValue of every item of the order the way the order model values them at invoice
// prices (PRECO_IT): item discounts, promotion, item percentage, then the order's percentage
// and price-table discounts composed, and the order's value discount shared by the items'
// gross values with the rounding rest on the first item. Cancelled items are valued too (the
// model does), but left out of the order total that shares the value discount.
void PriceOrderAtInvoicePrices(DemoOrder& order, const std::string& companyName);

} // namespace fat::db
