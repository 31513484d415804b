#include "db/DemoPricing.h"

#include "db/DemoInvoice.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fat::db {
namespace {

// The value as its 15 significant digits read back: what formatting sees of a float.
double Significant15(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return std::strtod(buffer, nullptr);
}

// The order percentage d and the price-table percentage t as one percentage.
double ComposedDiscount(double d, double t) {
    const double k = std::round(Significant15((100 - d) * t));
    return d + k / 100;
}

} // namespace

double RoundCents(double value) {
    const double v = Significant15(value * 100);
    double r = std::trunc(v);
    const double f = v - r;
    if (f >= 0.5) r += 1;
    else if (f <= -0.5) r -= 1;
    return r / 100;
}

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
                const double c = ComposedDiscount(d, t);
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
