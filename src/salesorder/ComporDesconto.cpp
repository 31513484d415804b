#include "salesorder/ComporDesconto.h"

#include "platform/core/Format.h"

#include <cstdint>

namespace fat {

double ComporDesconto(double d, double t) {
    // Fixed-point formatting with no decimals rounds halves away from zero.
    const std::int64_t K = StrToInt64(FormatFloat("0", (100 - d) * t));
    return d + static_cast<double>(K) / 100;
}

} // namespace fat
