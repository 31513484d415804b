#include "salesorder/ArredondarCasas.h"

#include <charconv>
#include <cmath>

namespace fat {

namespace {

// x written with 15 significant digits (general format) and read back. to_chars/from_chars
// ignore the C locale, which a Qt application sets from the environment.
double Digits15(double x) {
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
    double v = x;
    std::from_chars(buf, written.ptr, v);
    return v;
}

} // namespace

double ArredondarCasas(double x, int n) {
    const double P = std::pow(10.0, n);
    const double y = x * P;
    const double v = Digits15(y);
    double r = std::trunc(v);
    const double f = v - r;
    if (f >= 0.5)
        r = r + 1;
    else if (f <= -0.5)
        r = r - 1;
    return r / P;
}

} // namespace fat
