#pragma once
#include "platform/core/Decimal.h"

#include <compare>
#include <cstdint>
#include <string>

namespace fat {

// Money as the rules compute it: a signed 64-bit count of ten-thousandths ("amount(4)").
// This is the one place where floats become amounts and back.
class Amount {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Amount() = default;
    static constexpr Amount fromRaw(std::int64_t tenThousandths) { return Amount(tenThousandths); }
    // value × 10000 rounded to the nearest whole number, ties to even; from 2^53 ten-thousandths
    // on (where that product is not exact), the shortest decimal that the double stands for,
    // rounded to four decimals. Raises ConversionError for NaN, infinities and values beyond 64 bits.
    static Amount fromDouble(double value);
    // A float count of ten-thousandths rounded to the nearest whole number, ties to even.
    static Amount fromRawDouble(double tenThousandths);
    // Exact for scales up to 4; a finer decimal is rounded halves away from zero.
    static Amount fromDecimal(const Decimal& value);

    constexpr std::int64_t raw() const { return raw_; }
    // raw / 10000 as a float.
    double toDouble() const { return static_cast<double>(raw_) / static_cast<double>(Scale); }
    Decimal toDecimal(int scale = 4) const { return Decimal(raw_, 4).rescaled(scale); }
    std::string toString() const { return Decimal(raw_, 4).toString(); }

    // Sums and differences raise ConversionError on overflow instead of wrapping.
    Amount operator+(Amount other) const;
    Amount operator-(Amount other) const;
    Amount operator-() const;
    Amount& operator+=(Amount other) { return *this = *this + other; }
    Amount& operator-=(Amount other) { return *this = *this - other; }

    constexpr auto operator<=>(const Amount&) const = default;
    constexpr bool isZero() const { return raw_ == 0; }

private:
    constexpr explicit Amount(std::int64_t raw) : raw_(raw) {}
    std::int64_t raw_ = 0;
};

} // namespace fat
