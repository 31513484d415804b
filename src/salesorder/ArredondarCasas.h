#pragma once

namespace fat {

// Rounds x to n decimals, halves away from zero, after reading x × 10^n back from its
// 15-significant-digit text so that float noise does not decide the half
// (2.675 -> 2.68, -2.675 -> -2.68).
double ArredondarCasas(double x, int n);

} // namespace fat
