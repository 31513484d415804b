#include "db/DemoPricing.h"

#include "db/DemoInvoice.h"
#include "salesorder/ArredondarCasas.h"
#include "salesorder/ComporDesconto.h"

#include <cmath>

namespace fat::db {
double RoundCents(double value) { return ArredondarCasas(value, 2); }

void PriceOrderAtInvoicePrices(DemoOrder& order, const std::string& companyName) {
    const bool mirca = companyName == "MIRCA";
    const double d = order.discountPercent.value_or(0);
    const double t = order.tableDiscount.value_or(0);
    const double valueDiscount = order.valueDiscount.value_or(0);
    const bool orderDiscounts = order.discountApproved.value_or("") != "N";
    const bool promotion = order.applyPromotion.value_or("") != "N";

    double total = 0, totalAll = 0;
    for (const auto& item : order.items) {
        const double line = item.price.toDouble() * item.quantity();
        totalAll += line;
        if (!item.cancelled()) total += line;
    }
    if (total == 0) total = totalAll;

    double rest = valueDiscount;
    for (auto& item : order.items) {
        const double q = item.quantity();
        const double p = item.price.toDouble();
        const double b = q * p;
        double n = b - q * item.discountPerUnit - q * item.commissionDiscount;
        if (promotion) n -= RoundCents(q * item.promotionDiscount);
        if (item.discountPercent > 0) {
            const double u = p - p * item.discountPercent / 100;
            n -= b - u * q;
        }
        double share = 0;
        if (orderDiscounts && mirca) {
            double base = n - valueDiscount;
            if (d > 0) {
                const double cut = RoundCents(base * d / 100);
                n -= cut;
                base -= cut;
            }
            if (t > 0) n -= RoundCents(base * t / 100);
        } else if (orderDiscounts) {
            const double u2 = RoundCents((p - item.discountPerUnit) - item.discountPercent * p / 100);
            if (d > 0 || t > 0) {
                const double c = ComporDesconto(d, t);
                n -= u2 * q - (u2 - u2 * c / 100) * q;
            }
            if (valueDiscount > 0 && total > 0) {
                share = RoundCents(b * valueDiscount / total);
                n -= share;
            }
        }
        item.netValue = n;
        rest -= share;
    }
    if (rest != 0 && !order.items.empty()) order.items.front().netValue -= rest;
}

} // namespace fat::db
