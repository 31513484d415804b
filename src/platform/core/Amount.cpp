#include "platform/core/Amount.h"

#include "platform/core/Errors.h"

#include <cmath>

namespace fat {

Amount Amount::fromDouble(double value) { return fromRawDouble(value * static_cast<double>(Scale)); }

Amount Amount::fromRawDouble(double tenThousandths) {
    const double scaled = std::nearbyint(tenThousandths); // ties to even
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2e18)
        throw ConversionError("value out of range for an amount: " + std::to_string(tenThousandths / Scale));
    return Amount(static_cast<std::int64_t>(scaled));
}

Amount Amount::fromDecimal(const Decimal& value) {
    return Amount(value.rescaled(4).unscaled());
}

Amount Amount::operator+(Amount other) const {
    std::int64_t r;
    if (__builtin_add_overflow(raw_, other.raw_, &r)) throw ConversionError("amount overflow");
    return Amount(r);
}

Amount Amount::operator-(Amount other) const {
    std::int64_t r;
    if (__builtin_sub_overflow(raw_, other.raw_, &r)) throw ConversionError("amount overflow");
    return Amount(r);
}

Amount Amount::operator-() const { return Amount() - *this; }

} // namespace fat
