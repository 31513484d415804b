#pragma once

namespace fat {

// Composes the order percentage d with the price-table percentage t into one percentage on
// the price after item discounts: d + round((100 − d) × t) / 100, the product rounded to a
// whole number halves away from zero (d = 10, t = 5 -> 14.5).
double ComporDesconto(double d, double t);

} // namespace fat
