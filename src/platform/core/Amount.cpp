#include "platform/core/Amount.h"

#include "platform/core/Errors.h"

#include <charconv>
#include <cmath>

namespace fat {

Amount Amount::fromDouble(double value) {
    // From 2^53 ten-thousandths on, value × 10000 is no longer exact and would carry the binary
    // noise of the double's last digits into the amount (9999999999999.99, the largest value of a
    // NUMERIC(15,2) column, would become 9999999999999.9904). There the value is read as the
    // shortest decimal that the double stands for.
    const double magnitude = std::fabs(value);
    if (magnitude >= 9007199254740992.0 / static_cast<double>(Scale) && magnitude < 9.2e14) {
        char text[64];
        const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
        return fromDecimal(Decimal::parse(std::string(text, end)));
    }
    return fromRawDouble(value * static_cast<double>(Scale));
}

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
