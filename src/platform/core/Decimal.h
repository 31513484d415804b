#pragma once
#include <cstdint>
#include <string>

namespace fat {

// An exact decimal as NUMERIC/DECIMAL columns hold it: an unscaled 64-bit integer and the
// count of digits after the point. It stays exact until a rule asks for a float.
class Decimal {
public:
    constexpr Decimal() = default;
    constexpr Decimal(std::int64_t unscaled, int scale) : unscaled_(unscaled), scale_(scale) {}

    // Parses "-1234.56", "0.01", "12" exactly; raises ConversionError on anything else.
    static Decimal parse(const std::string& text);
    // Nearest decimal with the given scale (halves away from zero).
    static Decimal fromDouble(double value, int scale);

    std::int64_t unscaled() const { return unscaled_; }
    int scale() const { return scale_; }

    double toDouble() const;
    // Exact text with '.' as separator and exactly scale() decimals: "-0.99".
    std::string toString() const;
    // The same value with another scale; going down rounds halves away from zero.
    // Raises ConversionError when the result does not fit in 64 bits.
    Decimal rescaled(int newScale) const;

    // Reinterprets the unscaled integer with another scale (no arithmetic).
    Decimal withScale(int scale) const { return Decimal(unscaled_, scale); }

    friend bool operator==(const Decimal& a, const Decimal& b);
    friend bool operator<(const Decimal& a, const Decimal& b);

private:
    std::int64_t unscaled_ = 0;
    int scale_ = 0;
};

std::int64_t pow10i(int exponent);

} // namespace fat
